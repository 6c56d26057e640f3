# A build folder first configured with the posix-model compilers would keep
# them: CMake reuses its record of the compiler. Dropping that record makes it
# find the toolchain file's compilers again.
file(GLOB _vantrel_compiler_records "${CMAKE_BINARY_DIR}/CMakeFiles/*/CMakeCXXCompiler.cmake")
foreach(_record IN LISTS _vantrel_compiler_records)
  file(STRINGS "${_record}" _posix REGEX "mingw32-g\\+\\+-posix")
  if(_posix)
    file(REMOVE "${_record}")
  endif()
endforeach()
