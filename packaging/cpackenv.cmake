# Run by cpack before it packs (CPACK_PROJECT_CONFIG_FILE): the DEB generator
# dates the archive members by SOURCE_DATE_EPOCH in its environment, and so
# does dpkg-deb in packaging/repack.cmake. Unless the caller set one, it
# is the last commit's time, read now rather than when CMake configured, so
# that a commit made since counts.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH} AND CPACK_SLIDANE_GIT)
  execute_process(COMMAND ${CPACK_SLIDANE_GIT} log -1 --format=%ct
    WORKING_DIRECTORY ${CPACK_SLIDANE_SOURCE_DIR}
    OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  if(epoch MATCHES "^[0-9]+$")
    set(ENV{SOURCE_DATE_EPOCH} ${epoch})
  else()
    message(STATUS "No commit time (no git history): the packages carry the time they are made")
  endif()
endif()
