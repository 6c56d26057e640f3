# The Windows program, cross-compiled with MinGW-w64: statically linked, so it
# needs no DLL beyond Windows' own.
# Nothing asks a type at run time (no typeid, no dynamic_cast; exceptions are
# still caught by type), so the program and its benchmarks carry no RTTI. They
# start no thread, so their function-local statics need no lock.
target_compile_options(vantrel_core PUBLIC -fno-rtti -fno-threadsafe-statics)
# GCC's IPA-SRA gives each source file clones of its own of the string
# library's internals, so that one job per file cost the exe some 28 KB of
# copies; without it the exe is smaller, and the number of files is free.
target_compile_options(vantrel_core PUBLIC -fno-ipa-sra)
# Byte-for-byte rebuilds: no folder of the build in what it compiles, and no
# link time in the exe's header.
target_compile_options(vantrel_core PUBLIC
  -ffile-prefix-map=${CMAKE_SOURCE_DIR}=. -ffile-prefix-map=${CMAKE_BINARY_DIR}=build)

file(GLOB VANTREL_WIN32_SOURCES CONFIGURE_DEPENDS src/platform/win32/*.cpp)
# The Windows platform as a library, so benchmarks can use it too.
add_library(vantrel_win32 STATIC ${VANTREL_WIN32_SOURCES})
target_link_libraries(vantrel_win32 PUBLIC vantrel_core shell32 advapi32 gdi32 user32 ole32)

add_executable(vantrel WIN32 src/main.cpp res/vantrel.rc)
target_link_libraries(vantrel PRIVATE vantrel_win32)
target_link_options(vantrel PRIVATE -static -s -mwindows -Wl,--no-insert-timestamp)
add_dependencies(vantrel vantrel_version)
set_source_files_properties(res/vantrel.rc PROPERTIES
  OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/res/vantrel.ico;${CMAKE_SOURCE_DIR}/res/vantrel.manifest;${VANTREL_GENERATED}/vantrel_version.h")

# End-to-end driver and its helpers, run under Wine by tests/e2e/run.sh.
if(EXISTS ${CMAKE_SOURCE_DIR}/tests/e2e/CMakeLists.txt)
  add_subdirectory(tests/e2e)
endif()
# The kill test, run under Wine by tests/kill/run.sh.
add_subdirectory(tests/kill)
# Benchmarks under Wine: every bench/win32/*.cpp is one program.
file(GLOB VANTREL_WIN32_BENCH CONFIGURE_DEPENDS bench/win32/*.cpp)
foreach(src ${VANTREL_WIN32_BENCH})
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} ${src})
  target_link_libraries(${name} PRIVATE vantrel_win32)
  target_link_options(${name} PRIVATE -static -s)
endforeach()
# The minimal tray program is measured against vantrel.exe: built the same way.
if(TARGET bench_tray_minimal)
  set_target_properties(bench_tray_minimal PROPERTIES WIN32_EXECUTABLE ON)
  target_link_options(bench_tray_minimal PRIVATE -mwindows)
endif()
