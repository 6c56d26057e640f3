# The Windows program, cross-compiled with MinGW-w64: statically linked, so it
# needs no DLL beyond Windows' own.
file(GLOB VANTREL_WIN32_SOURCES CONFIGURE_DEPENDS src/platform/win32/*.cpp)
add_executable(vantrel WIN32 ${VANTREL_WIN32_SOURCES} res/vantrel.rc)
target_link_libraries(vantrel PRIVATE vantrel_core comctl32 comdlg32 shell32 advapi32 gdi32 user32)
target_link_options(vantrel PRIVATE -static -s -mwindows)
set_source_files_properties(res/vantrel.rc PROPERTIES
  OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/res/vantrel.ico;${CMAKE_SOURCE_DIR}/res/vantrel.manifest")

# End-to-end driver and its helpers, run under Wine by tests/e2e/run.sh.
if(EXISTS ${CMAKE_SOURCE_DIR}/tests/e2e/CMakeLists.txt)
  add_subdirectory(tests/e2e)
endif()
if(EXISTS ${CMAKE_SOURCE_DIR}/bench/win32/CMakeLists.txt)
  add_subdirectory(bench/win32)
endif()
