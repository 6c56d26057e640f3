# Run at every build: writes the header that gives the program its version and
# the commit its sources are from. configure_file leaves an unchanged header
# untouched, so nothing is rebuilt until the commit changes.
#   cmake -DSOURCE_DIR=... -DOUTPUT=... -DVERSION=x.y.z -P version.cmake
execute_process(COMMAND git -C "${SOURCE_DIR}" rev-parse --short=12 HEAD
  OUTPUT_VARIABLE VANTREL_COMMIT OUTPUT_STRIP_TRAILING_WHITESPACE
  RESULT_VARIABLE no_commit ERROR_QUIET)
if(no_commit OR VANTREL_COMMIT STREQUAL "")
  set(VANTREL_COMMIT "unknown")
else()
  # A build of changed sources does not claim to be that commit.
  execute_process(COMMAND git -C "${SOURCE_DIR}" status --porcelain --untracked-files=no
    OUTPUT_VARIABLE changes RESULT_VARIABLE no_status ERROR_QUIET)
  if(no_status OR NOT changes STREQUAL "")
    string(APPEND VANTREL_COMMIT "-modified")
  endif()
endif()
string(REPLACE "." ";" parts "${VERSION}")
list(GET parts 0 VANTREL_VERSION_MAJOR)
list(GET parts 1 VANTREL_VERSION_MINOR)
list(GET parts 2 VANTREL_VERSION_PATCH)
set(VANTREL_VERSION "${VERSION}")
configure_file("${CMAKE_CURRENT_LIST_DIR}/vantrel_version.h.in" "${OUTPUT}" @ONLY)
