# cmake -DCOMPILER=... -DSOURCE=... -DOUT=... -P CompileQuietly.cmake -- FILE...
# Compiles each file as the Release build does and fails on any diagnostic: the demo's build must not end in
# warnings a newcomer takes for a failed build.
include("${CMAKE_CURRENT_LIST_DIR}/../../cmake/ScriptArguments.cmake")
hxcad_arguments_after_separator(files)
file(MAKE_DIRECTORY "${OUT}")
foreach(f IN LISTS files)
  execute_process(COMMAND "${COMPILER}" -std=c++20 -O3 -DNDEBUG -Wall -Wextra -fno-gnu-unique -I${SOURCE} -c
                          ${SOURCE}/${f} -o ${OUT}/quiet.o
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0 OR out OR err)
    message(FATAL_ERROR "${f} does not compile quietly (${rc}):\n${out}${err}")
  endif()
endforeach()
