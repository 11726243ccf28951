# cmake -DPROGRAM=... -DOUT=... -DTIMEOUT=... -P DiscoverSuites.cmake
# Writes to OUT the ctest tests of one GoogleTest program: one test per suite, which runs the suite's cases in
# one process, and one per case of a parameterised suite. A process costs about a tenth of a second under the
# sanitizers before and after its cases, most cases far less; the cases of a parameterised suite are each a
# row or scenario of their own, the long ones among them, and stay apart so that they run side by side.
include("${CMAKE_CURRENT_LIST_DIR}/GTestListing.cmake")
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
  if(parameterised)
    foreach(case IN LISTS cases_${suite})
      set(name "${suite}.${case}")
      string(APPEND script "add_test([=[${name}]=] \"${PROGRAM}\" [=[--gtest_filter=${name}]=])\n"
             "set_tests_properties([=[${name}]=] PROPERTIES TIMEOUT ${TIMEOUT} "
             "SKIP_REGULAR_EXPRESSION [=[\\[  SKIPPED \\]]=])\n")
    endforeach()
  else()
    # A case skipped among passing ones leaves the suite passed: only a failure may mark it.
    string(APPEND script "add_test([=[${suite}]=] \"${PROGRAM}\" [=[--gtest_filter=${suite}.*]=])\n"
           "set_tests_properties([=[${suite}]=] PROPERTIES TIMEOUT ${TIMEOUT})\n")
  endif()
endforeach()
file(WRITE "${OUT}" "${script}")
