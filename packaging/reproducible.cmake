# Builds of one commit give the same packages, byte for byte, wherever and
# whenever they run (https://reproducible-builds.org):
# - no build-machine path in the programs or their debug data: the source
#   and build folders are mapped to "." (the build folder last, so that it
#   wins when it lies inside the source folder). Debug builds keep the real
#   paths for debuggers;
# - no time of the build: the built-in pictures are stored without their
#   files' times (window/CMakeLists.txt), and the packages' members carry
#   the last commit's (packaging/cpackenv.cmake).
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  add_compile_options("$<$<NOT:$<CONFIG:Debug>>:-ffile-prefix-map=${PROJECT_SOURCE_DIR}=.>"
    "$<$<NOT:$<CONFIG:Debug>>:-ffile-prefix-map=${PROJECT_BINARY_DIR}=.>")
endif()
