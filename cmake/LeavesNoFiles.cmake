# cmake -DSCRATCH=DIR -DVARIABLES=TMPDIR,XDG_CACHE_HOME -P LeavesNoFiles.cmake -- COMMAND [ARG...]
# Runs the command with each of VARIABLES naming the empty folder SCRATCH, and fails when the command fails
# or leaves anything there: a test's scratch files go with it, and nothing it runs writes into the user's
# temporary folder or caches on every run.
include("${CMAKE_CURRENT_LIST_DIR}/ScriptArguments.cmake")
hxcad_arguments_after_separator(command)
file(REMOVE_RECURSE "${SCRATCH}")
file(MAKE_DIRECTORY "${SCRATCH}")
set(environment)
string(REPLACE "," ";" variables "${VARIABLES}")
foreach(v IN LISTS variables)
  list(APPEND environment "${v}=${SCRATCH}")
endforeach()
execute_process(COMMAND ${CMAKE_COMMAND} -E env ${environment} ${command} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${command} failed (${rc})")
endif()
file(GLOB_RECURSE left LIST_DIRECTORIES true "${SCRATCH}/*")
if(left)
  message(FATAL_ERROR "the command left files behind in ${SCRATCH}: ${left}")
endif()
file(REMOVE_RECURSE "${SCRATCH}")
