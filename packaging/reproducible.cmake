# Builds of one commit give the same packages, byte for byte, wherever and
# whenever they run (https://reproducible-builds.org):
# - no build-machine path in the programs or their debug data: the source
#   and build folders are mapped to "." (the build folder last, so that it
#   wins when it lies inside the source folder). Debug builds keep the real
#   paths for debuggers;
# - one time for everything that records one: SOURCE_DATE_EPOCH, unless set
#   already, is the time of the last commit when CMake configures. rcc reads
#   it for the times of the built-in pictures, CPack's DEB generator for the
#   archive members.
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  add_compile_options("$<$<NOT:$<CONFIG:Debug>>:-ffile-prefix-map=${PROJECT_SOURCE_DIR}=.>"
    "$<$<NOT:$<CONFIG:Debug>>:-ffile-prefix-map=${PROJECT_BINARY_DIR}=.>")
endif()

if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(SLIDANE_SOURCE_DATE_EPOCH "$ENV{SOURCE_DATE_EPOCH}")
else()
  find_package(Git QUIET)
  if(GIT_FOUND)
    execute_process(COMMAND ${GIT_EXECUTABLE} log -1 --format=%ct
      WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
      OUTPUT_VARIABLE SLIDANE_SOURCE_DATE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  endif()
endif()
if(SLIDANE_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
  # Custom commands (rcc among them) run with it in their environment; cpack
  # sets it from CPackConfig.cmake (packaging/cpackenv.cmake).
  set_property(GLOBAL PROPERTY RULE_LAUNCH_CUSTOM
    "${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${SLIDANE_SOURCE_DATE_EPOCH}")
else()
  message(STATUS "No commit time (SOURCE_DATE_EPOCH unset, no git history): packages carry the build's time")
  unset(SLIDANE_SOURCE_DATE_EPOCH)
endif()
