# Helpers shared by the folders: one GoogleTest executable per test folder,
# libFuzzer targets whose seed corpora ctest replays, benchmarks.

# gcc's variable tracking of optimised, sanitizer-instrumented code is most of the build's time in the heavy
# translation units (3-4 minutes alone for one geometry unit and each JSON-heavy host unit, against under a
# minute without it) and makes the serial end of scripts/test.sh. Without it the debug information keeps the
# line tables, which is what sanitizer reports and backtraces use; a debugger shows fewer local variables.
if(HXCAD_SANITIZE AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND NOT CMAKE_BUILD_TYPE STREQUAL "Debug")
  add_compile_options(-fno-var-tracking)
endif()

# The sanitizer build checks; it is not shipped. Its optimisation made scripts/test.sh take 20-25 minutes on two
# cores, nine tenths of it compiling: at -Og a unit compiles 1.6-3.4 times faster than at -O2 (-O0 would be
# faster still, but there gcc's object-size check of UBSan finds nothing), and -g1 keeps the line tables that
# sanitizer reports use, about a tenth faster again. Every sanitizer check stays; the code under test runs
# somewhat slower. Not in the fuzzing build, whose measure is the inputs it runs a second.
if(HXCAD_SANITIZE AND NOT HXCAD_FUZZ AND CMAKE_BUILD_TYPE STREQUAL "RelWithDebInfo")
  foreach(language C CXX)
    string(REPLACE "-O2 -g" "-Og -g1" CMAKE_${language}_FLAGS_RELWITHDEBINFO "${CMAKE_${language}_FLAGS_RELWITHDEBINFO}")
  endforeach()
endif()

# hxcad_precompile(TARGET header ...): the headers parsed once for the target instead of once per file. Not under
# a compiler cache: as it is configured here it takes no precompiled header and would compile every such file
# itself, and its hits pay more. Nor in a unity build, where a target is one unit that parses them once anyway.
# The list is kept on the target (HXCAD_PRECOMPILED) in every build, so that a check can compile a file the way a
# build with the precompiled header does.
function(hxcad_precompile target)
  set_property(TARGET ${target} PROPERTY HXCAD_PRECOMPILED ${ARGN})
  if(NOT CMAKE_CXX_COMPILER_LAUNCHER MATCHES "ccache" AND NOT CMAKE_UNITY_BUILD)
    target_precompile_headers(${target} PRIVATE ${ARGN})
  endif()
endfunction()

# hxcad_stand_in_checks(TARGET): a library of the stand-in host, which is the platform's stand-in, not the
# product. In the sanitizer build its readers keep AddressSanitizer and UBSan's checks of arithmetic, shifts,
# bounds, enums and conversions, but not the checks of each member access (the object's dynamic type, a null
# or misaligned this) and of pointer arithmetic: over the JSON library's templates those were two fifths of
# the largest unit's compile time, and of the time of the tests that drive the host, some minute of a cold
# CI run on two cores. A null object still stops a test, as the crash AddressSanitizer reports. Nor are its
# stack variables poisoned between their scopes (a quarter of what was left of that unit's compile time); a
# block read after it was freed is still found.
function(hxcad_stand_in_checks target)
  if(HXCAD_SANITIZE AND NOT HXCAD_FUZZ)
    target_compile_options(${target} PRIVATE -fno-sanitize=vptr,null,alignment,pointer-overflow
                                             -fno-sanitize-address-use-after-scope)
  endif()
endfunction()

# hxcad_add_test(NAME SOURCES a.cpp ... LIBS lib ...)
# The tests are listed when ctest starts, not after each link: listing runs the sanitizer-built program, and
# done at build time it lengthened the serial end of the build. Parameterised cases are
# named by the suite's name generator (tests/TestNames.h), never by their printed values, which hold
# addresses that differ between builds; test_names checks this for every test program.
function(hxcad_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE HXCAD_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data")
  # The sanitizers check the code under test, which every library, host and fuzz target compiles with both; the
  # program is linked with their runtimes, so every allocation, the test code's too, is one the code under
  # test is checked against. Over a test program's own code (GoogleTest's assertions, mostly) UBSan nearly
  # doubled the unit's compile time, and ASan took two fifths of what was left: together some four minutes of a
  # cold CI run on two cores. HXCAD_SANITIZER_RUNTIME tells the test code the runtimes are there.
  if(HXCAD_SANITIZE AND NOT HXCAD_FUZZ)
    target_compile_options(${name} PRIVATE -fno-sanitize=address,undefined)
    target_compile_definitions(${name} PRIVATE HXCAD_SANITIZER_RUNTIME)
  endif()
  # Every test file reads GoogleTest's headers, and those of the host the JSON library's.
  set(precompiled <gtest/gtest.h> <algorithm> <functional> <map> <memory> <string> <vector>)
  if(txhost_lib IN_LIST T_LIBS)
    list(APPEND precompiled <nlohmann/json.hpp>)
  endif()
  hxcad_precompile(${name} ${precompiled})
  # The tests are listed when ctest starts, as GoogleTest's own discovery does before a test (PRE_TEST), but
  # by suite (cmake/DiscoverSuites.cmake); the parameterised suites the program's HXCAD_CASES_APART names
  # (a regular expression) a process per case.
  set(listed "${CMAKE_CURRENT_BINARY_DIR}/${name}_suites.cmake")
  set(program "$<TARGET_FILE:${name}>")
  file(GENERATE OUTPUT "${CMAKE_CURRENT_BINARY_DIR}/${name}_suites_include.cmake" CONTENT
"if(NOT EXISTS \"${program}\")
  add_test(${name}_NOT_BUILT ${name}_NOT_BUILT)
  return()
endif()
if(NOT EXISTS \"${listed}\" OR \"${program}\" IS_NEWER_THAN \"${listed}\")
  execute_process(COMMAND \"${CMAKE_COMMAND}\" \"-DPROGRAM=${program}\" \"-DOUT=${listed}\" -DTIMEOUT=300
                          \"-DAPART=$<TARGET_PROPERTY:${name},HXCAD_CASES_APART>\"
                          -P \"${PROJECT_SOURCE_DIR}/cmake/DiscoverSuites.cmake\" RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    file(REMOVE \"${listed}\")
    add_test(${name}_NOT_LISTED ${name}_NOT_LISTED)
    return()
  endif()
endif()
include(\"${listed}\")
")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${CMAKE_CURRENT_BINARY_DIR}/${name}_suites_include.cmake")
  set_property(GLOBAL APPEND PROPERTY HXCAD_TEST_PROGRAMS ${name})
  get_property(checked GLOBAL PROPERTY HXCAD_TEST_NAMES_CHECK)
  if(NOT checked)
    set_property(GLOBAL PROPERTY HXCAD_TEST_NAMES_CHECK ON)
    cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL hxcad_add_test_names_check)
  endif()
endfunction()

# The test test_names: every test program's cases have stable, readable names (run at the end of the
# top-level configuration, when every test program is known).
function(hxcad_add_test_names_check)
  get_property(programs GLOBAL PROPERTY HXCAD_TEST_PROGRAMS)
  set(files)
  foreach(p ${programs})
    list(APPEND files $<TARGET_FILE:${p}>)
  endforeach()
  add_test(NAME test_names COMMAND ${CMAKE_COMMAND} -P ${PROJECT_SOURCE_DIR}/cmake/CheckTestNames.cmake ${files})
endfunction()

# hxcad_add_fuzz(NAME SOURCES a.cpp ... LIBS lib ...)
# With HXCAD_FUZZ the target is a libFuzzer binary; otherwise every target is compiled into one replay program
# (hxcad_add_fuzz_replay, after the last target), that replays files through the target its first argument
# names, and ctest replays fuzz/corpus/NAME through it.
function(hxcad_add_fuzz name)
  cmake_parse_arguments(F "" "" "SOURCES;LIBS" ${ARGN})
  if(HXCAD_FUZZ)
    set(target fuzz_${name})
    add_executable(${target} ${F_SOURCES})
    target_link_options(${target} PRIVATE -fsanitize=fuzzer)
    target_link_libraries(${target} PRIVATE ${F_LIBS})
    # "fuzz" builds every libFuzzer target and nothing else (scripts/fuzz.sh builds and runs them).
    if(NOT TARGET fuzz)
      add_custom_target(fuzz)
    endif()
    add_dependencies(fuzz ${target})
    set(run ${target})
  else()
    set(sources)
    foreach(source ${F_SOURCES})
      get_filename_component(source ${source} ABSOLUTE)
      list(APPEND sources ${source})
    endforeach()
    set_property(GLOBAL APPEND PROPERTY HXCAD_FUZZ_NAMES ${name})
    set_property(GLOBAL PROPERTY HXCAD_FUZZ_SOURCES_${name} ${sources})
    set_property(GLOBAL APPEND PROPERTY HXCAD_FUZZ_LIBS ${F_LIBS})
    set(run $<TARGET_FILE:fuzz_replay> ${name})
  endif()
  set(corpus ${PROJECT_SOURCE_DIR}/fuzz/corpus/${name})
  if(EXISTS ${corpus})
    if(HXCAD_FUZZ)
      # Each seed within the time a fuzzing run allows one input (scripts/fuzz.sh).
      add_test(NAME fuzz_replay_${name} COMMAND ${run} -runs=0 -timeout=25 ${corpus})
    else()
      # A harness's scratch files go with it: each replay checks that its temporary folder stays empty.
      add_test(NAME fuzz_replay_${name}
               COMMAND ${CMAKE_COMMAND} -DSCRATCH=${CMAKE_CURRENT_BINARY_DIR}/scratch/${name} -DVARIABLES=TMPDIR
                       -P ${PROJECT_SOURCE_DIR}/cmake/LeavesNoFiles.cmake -- ${run} ${corpus})
    endif()
    set_tests_properties(fuzz_replay_${name} PROPERTIES TIMEOUT 600)
  endif()
  # Inputs larger than a seed corpus takes (64 KiB: a fuzzer mutating larger ones ran a few inputs a second, and
  # it cuts its seeds to 1 MB; a large file does not belong in the repository), packed in fuzz/large/NAME/*.tar.gz:
  # unpacked into the build and replayed whole, each within the time a fuzzing run allows one input.
  file(GLOB packed CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/fuzz/large/${name}/*.tar.gz)
  if(packed)
    set(unpacked ${CMAKE_CURRENT_BINARY_DIR}/large/${name})
    foreach(archive ${packed})
      get_filename_component(stamp ${archive} NAME)
      set(stamp ${CMAKE_CURRENT_BINARY_DIR}/large/${stamp}.unpacked)
      if(${archive} IS_NEWER_THAN ${stamp})
        file(ARCHIVE_EXTRACT INPUT ${archive} DESTINATION ${unpacked})
        file(TOUCH ${stamp})
      endif()
    endforeach()
    if(HXCAD_FUZZ)
      file(GLOB inputs ${unpacked}/*)
      add_test(NAME fuzz_replay_large_${name} COMMAND ${run} -timeout=25 ${inputs})
    else()
      add_test(NAME fuzz_replay_large_${name}
               COMMAND ${CMAKE_COMMAND} -DSCRATCH=${CMAKE_CURRENT_BINARY_DIR}/scratch/large_${name} -DVARIABLES=TMPDIR
                       -P ${PROJECT_SOURCE_DIR}/cmake/LeavesNoFiles.cmake -- ${run} ${unpacked})
    endif()
    # Seconds of one core under the sanitizers: started among the first, not left to end the run alone.
    set_tests_properties(fuzz_replay_large_${name} PROPERTIES TIMEOUT 600 COST 10)
  endif()
endfunction()

# hxcad_add_fuzz_replay(): the replay program of every target hxcad_add_fuzz named (without HXCAD_FUZZ). The
# targets are compiled as one unit, each in a namespace of its own with its entry points renamed, after every
# header any of them includes (so that a target's own includes, inside its namespace, find them read): 29
# programs of a few lines each compiled their headers 29 times, a minute of a cold CI run on two cores.
function(hxcad_add_fuzz_replay)
  if(HXCAD_FUZZ)
    return()
  endif()
  get_property(names GLOBAL PROPERTY HXCAD_FUZZ_NAMES)
  get_property(libs GLOBAL PROPERTY HXCAD_FUZZ_LIBS)
  list(REMOVE_DUPLICATES libs)
  set(includes)
  set(bodies)
  set(table)
  foreach(name ${names})
    get_property(sources GLOBAL PROPERTY HXCAD_FUZZ_SOURCES_${name})
    string(APPEND bodies "namespace hxcad_fuzz_${name} {\n"
                         "#define LLVMFuzzerTestOneInput hxcad_fuzz_${name}_one\n"
                         "#define LLVMFuzzerInitialize hxcad_fuzz_${name}_initialize\n")
    foreach(source ${sources})
      file(STRINGS ${source} lines REGEX "^#include ")
      get_filename_component(dir ${source} DIRECTORY)
      foreach(line ${lines})
        # Quoted includes as the target reads them: from its own folder first, else from the project's root.
        if(line MATCHES "^#include \"([^\"]+)\"")
          if(EXISTS ${dir}/${CMAKE_MATCH_1})
            get_filename_component(header ${dir}/${CMAKE_MATCH_1} ABSOLUTE)
          else()
            set(header ${PROJECT_SOURCE_DIR}/${CMAKE_MATCH_1})
          endif()
          set(line "#include \"${header}\"")
        endif()
        list(APPEND includes "${line}")
      endforeach()
      string(APPEND bodies "#include \"${source}\"\n")
    endforeach()
    string(APPEND bodies "#undef LLVMFuzzerTestOneInput\n#undef LLVMFuzzerInitialize\n}\n")
    string(APPEND table "    {\"${name}\", hxcad_fuzz_${name}::hxcad_fuzz_${name}_one},\n")
  endforeach()
  list(REMOVE_DUPLICATES includes)
  list(JOIN includes "\n" includes)
  set(generated ${CMAKE_CURRENT_BINARY_DIR}/fuzz_replay_targets.cpp)
  file(CONFIGURE OUTPUT ${generated} CONTENT "// Generated by hxcad_add_fuzz_replay (cmake/hxcad.cmake).
${includes}

${bodies}
#include \"fuzz/ReplayTargets.h\"

const hxcad::fuzz::TReplayTarget hxcad::fuzz::ReplayTargets[] = {
${table}    {nullptr, nullptr}};
" @ONLY)
  add_executable(fuzz_replay ${generated} ${PROJECT_SOURCE_DIR}/fuzz/replay_main.cpp)
  # The replay driver is no harness: it need not share the harnesses' unit.
  set_source_files_properties(${PROJECT_SOURCE_DIR}/fuzz/replay_main.cpp PROPERTIES SKIP_UNITY_BUILD_INCLUSION ON)
  target_include_directories(fuzz_replay PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(fuzz_replay PRIVATE ${libs})
endfunction()

# hxcad_add_bench(NAME SOURCES a.cpp ... LIBS lib ...)
function(hxcad_add_bench name)
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  find_package(benchmark REQUIRED)
  add_executable(bench_${name} ${B_SOURCES})
  target_link_libraries(bench_${name} PRIVATE ${B_LIBS} benchmark::benchmark)
endfunction()

# hxcad_add_subsystem(NAME DEPS lib ...): a static library of every .cpp in the
# calling folder (an INTERFACE library while the folder has headers only).
function(hxcad_add_subsystem name)
  cmake_parse_arguments(S "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${S_DEPS})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${S_DEPS})
  endif()
endfunction()

# hxcad_add_test_folder(NAME LIBS lib ...): one test executable of every .cpp in
# the calling folder.
function(hxcad_add_test_folder name)
  cmake_parse_arguments(T "" "" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(sources)
    hxcad_add_test(${name} SOURCES ${sources} LIBS ${T_LIBS})
  endif()
endfunction()
