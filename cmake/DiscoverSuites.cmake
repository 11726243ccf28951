# cmake -DPROGRAM=... -DOUT=... -DTIMEOUT=... [-DAPART=regex] -P DiscoverSuites.cmake
# Writes to OUT the ctest tests of one GoogleTest program: one test per suite, which runs the suite's cases in
# one process, and a parameterised suite's cases (each a row or scenario of its own, the long ones among them)
# in shards of about eight, so that they run side by side. A process costs about a tenth of a second under the
# sanitizers before and after its cases, most cases far less: test_stdparts' parameterised suites took 124 s of
# one core as a process per case (350 of them), 89 s as shards.
include("${CMAKE_CURRENT_LIST_DIR}/GTestListing.cmake")
# The parameterised suites' processes (rows, couplings, scenarios) are the long ones: ctest starts the costlier
# tests first, so that on two cores the run does not end on one of them alone (a fresh tree has no times of
# its own yet; ctest's times of a run take over after it).
set(long 10)
hxcad_read_listing("${PROGRAM}" suites)

set(script "")
foreach(suite IN LISTS suites)
  set(parameterised OFF)
  if(suite MATCHES "/")
    set(parameterised ON)
  endif()
  foreach(case IN LISTS cases_${suite})
    if(case MATCHES "/")
      set(parameterised ON)
    endif()
  endforeach()
  if(parameterised AND APART AND suite MATCHES "${APART}")
    # Cases whose runs slow down those after them in one process: one process each.
    foreach(case IN LISTS cases_${suite})
      set(name "${suite}.${case}")
      string(APPEND script "add_test([=[${name}]=] \"${PROGRAM}\" [=[--gtest_filter=${name}]=])\n"
             "set_tests_properties([=[${name}]=] PROPERTIES TIMEOUT ${TIMEOUT} COST ${long} "
             "SKIP_REGULAR_EXPRESSION [=[\\[  SKIPPED \\]]=])\n")
    endforeach()
  elseif(parameterised)
    # GoogleTest deals the cases out to the shards in turn, so a shard takes every n-th row, not a run of them.
    list(LENGTH cases_${suite} count)
    math(EXPR shards "(${count} + 7) / 8")
    math(EXPR last "${shards} - 1")
    foreach(shard RANGE ${last})
      set(name "${suite}.shard${shard}")
      if(shards EQUAL 1)
        set(name "${suite}")
      endif()
      # A case skipped among passing ones leaves the shard passed: only a failure may mark it.
      string(APPEND script "add_test([=[${name}]=] \"${PROGRAM}\" [=[--gtest_filter=${suite}.*]=])\n"
             "set_tests_properties([=[${name}]=] PROPERTIES TIMEOUT ${TIMEOUT} COST ${long} "
             "ENVIRONMENT [=[GTEST_TOTAL_SHARDS=${shards};GTEST_SHARD_INDEX=${shard}]=])\n")
    endforeach()
  else()
    # A case skipped among passing ones leaves the suite passed: only a failure may mark it.
    string(APPEND script "add_test([=[${suite}]=] \"${PROGRAM}\" [=[--gtest_filter=${suite}.*]=])\n"
           "set_tests_properties([=[${suite}]=] PROPERTIES TIMEOUT ${TIMEOUT})\n")
  endif()
endforeach()
file(WRITE "${OUT}" "${script}")
