# Run by cpack once the packages are made (CPACK_POST_BUILD_SCRIPTS): each
# package is packed again by dpkg-deb, as Debian's own tools make one.
# - CPack's archives give their members the modes that the umask left;
#   dpkg-deb's have fixed ones.
# - CPack gives a -dbgsym package's folders and debug files the modes that
#   the umask left: they become 755 and 644, as dh_fixperms makes them.
# - Every CMake from 3.13, which brought -dbgsym packages, to 3.28 at least
#   (Debian 12 has 3.25) writes their md5sums with the absolute path of the
#   staging folder: it strips the main package's folder from the paths, not
#   the -dbgsym one's, so the package names the build folder and dpkg cannot
#   check its files. Such paths are made relative to the root; a CMake that
#   writes them relative leaves nothing to change.
# dpkg-deb dates the members by SOURCE_DATE_EPOCH, which
# packaging/cpackenv.cmake has set.
find_program(SLIDANE_DPKG_DEB dpkg-deb REQUIRED)
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  set(unpacked "${package}.unpacked")
  file(REMOVE_RECURSE "${unpacked}")
  execute_process(COMMAND ${SLIDANE_DPKG_DEB} --raw-extract "${package}" "${unpacked}" COMMAND_ERROR_IS_FATAL ANY)
  if(package MATCHES "\\.ddeb$")
    file(CHMOD_RECURSE "${unpacked}" FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ
      DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
    file(READ "${unpacked}/DEBIAN/md5sums" sums)
    string(REGEX REPLACE "  /[^\n]*-dbgsym/" "  " sums "${sums}")
    file(WRITE "${unpacked}/DEBIAN/md5sums" "${sums}")
  endif()
  execute_process(COMMAND ${SLIDANE_DPKG_DEB} --root-owner-group --build "${unpacked}" "${package}"
    OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE_RECURSE "${unpacked}")
endforeach()
