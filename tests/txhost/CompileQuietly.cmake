# cmake -DCOMPILER=... -DSOURCE=... -DOUT=... [-DPRECOMPILED=header|header...] -P CompileQuietly.cmake -- FILE...
# Compiles each file as the Release build does and fails on any diagnostic: the demo's build must not end in
# warnings a newcomer takes for a failed build. The Release build reads a target's precompiled headers before
# each of its files, and what gcc inlines, and so what it warns of, depends on them: they are read here the same
# way, as the header CMake makes for them.
include("${CMAKE_CURRENT_LIST_DIR}/../../cmake/ScriptArguments.cmake")
hxcad_arguments_after_separator(files)
file(MAKE_DIRECTORY "${OUT}")
set(first "")
set(flags -std=c++20 -O3 -DNDEBUG -fPIC -Wall -Wextra -fno-gnu-unique -I${SOURCE})
if(PRECOMPILED)
  string(REPLACE "|" ";" headers "${PRECOMPILED}")
  set(text "#pragma GCC system_header\n")
  foreach(h IN LISTS headers)
    if(h MATCHES "^<")
      string(APPEND text "#include ${h}\n")
    else()
      string(APPEND text "#include \"${h}\"\n")
    endif()
  endforeach()
  file(WRITE "${OUT}/precompiled.hxx" "${text}")
  # Compiled, not only read: gcc warns differently of a file read after a precompiled header than after the
  # same headers as text.
  file(WRITE "${OUT}/precompiled.hxx.cxx" "")
  execute_process(COMMAND "${COMPILER}" ${flags} -Winvalid-pch -x c++-header -include "${OUT}/precompiled.hxx"
                          -c "${OUT}/precompiled.hxx.cxx" -o "${OUT}/precompiled.hxx.gch"
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0 OR out OR err)
    message(FATAL_ERROR "the precompiled headers do not compile quietly (${rc}):\n${out}${err}")
  endif()
  set(first -Winvalid-pch -include "${OUT}/precompiled.hxx")
endif()
foreach(f IN LISTS files)
  execute_process(COMMAND "${COMPILER}" ${flags} ${first} -c ${SOURCE}/${f} -o ${OUT}/quiet.o
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0 OR out OR err)
    message(FATAL_ERROR "${f} does not compile quietly (${rc}):\n${out}${err}")
  endif()
endforeach()
