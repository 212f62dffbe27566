# Run by cpack before it packs (CPACK_PROJECT_CONFIG_FILE): the DEB generator
# takes the archive members' times from SOURCE_DATE_EPOCH in its environment.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH} AND CPACK_SLIDANE_SOURCE_DATE_EPOCH)
  set(ENV{SOURCE_DATE_EPOCH} "${CPACK_SLIDANE_SOURCE_DATE_EPOCH}")
endif()
