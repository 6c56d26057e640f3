# The win32 thread model: the program starts no threads, and the posix model
# links winpthread into the exe for nothing. (GoogleTest does not build with
# it; nothing cross-compiled here uses GoogleTest.)
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-win32)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-win32)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR wine)

# A build folder first configured with the posix-model compilers would keep
# them: CMake reuses its record of the compiler. Dropping that record makes it
# find the compilers above again.
file(GLOB _vantrel_compiler_records "${CMAKE_BINARY_DIR}/CMakeFiles/*/CMakeCXXCompiler.cmake")
foreach(_record IN LISTS _vantrel_compiler_records)
  file(STRINGS "${_record}" _posix REGEX "mingw32-g\\+\\+-posix")
  if(_posix)
    file(REMOVE "${_record}")
  endif()
endforeach()
