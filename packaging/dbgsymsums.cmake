# Run by cpack once the packages are made (CPACK_POST_BUILD_SCRIPTS). CMake
# 3.25 writes the md5sums of a -dbgsym package with the absolute path of its
# staging folder, so the package names the build folder and dpkg cannot check
# its files. Each .ddeb is unpacked and packed again by dpkg-deb with the
# paths made relative to the root; dpkg-deb dates its members by
# SOURCE_DATE_EPOCH, which packaging/cpackenv.cmake has set.
find_program(SLIDANE_DPKG_DEB dpkg-deb REQUIRED)
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  if(NOT package MATCHES "\\.ddeb$")
    continue()
  endif()
  set(unpacked "${package}.unpacked")
  file(REMOVE_RECURSE "${unpacked}")
  execute_process(COMMAND ${SLIDANE_DPKG_DEB} --raw-extract "${package}" "${unpacked}" COMMAND_ERROR_IS_FATAL ANY)
  file(READ "${unpacked}/DEBIAN/md5sums" sums)
  string(REGEX REPLACE "  /[^\n]*-dbgsym/" "  " sums "${sums}")
  file(WRITE "${unpacked}/DEBIAN/md5sums" "${sums}")
  execute_process(COMMAND ${SLIDANE_DPKG_DEB} --root-owner-group --build "${unpacked}" "${package}"
    OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE_RECURSE "${unpacked}")
endforeach()
