# cmake -P CheckTestNames.cmake PROGRAM...: fails when a GoogleTest program lists a test whose name is not
# stable and readable: a parameterised case named by its index alone (its suite has no name generator), or
# a name with characters that ctest -R would have to escape.
include("${CMAKE_CURRENT_LIST_DIR}/GTestListing.cmake")
set(bad "")
math(EXPR last "${CMAKE_ARGC} - 1")
foreach(i RANGE 3 ${last})
  set(program "${CMAKE_ARGV${i}}")
  hxcad_read_listing("${program}" suites)
  foreach(suite IN LISTS suites)
    foreach(case IN LISTS cases_${suite})
      set(name "${suite}.${case}")
      if(NOT name MATCHES "^[A-Za-z0-9_/]+\\.[A-Za-z0-9_/]+$" OR name MATCHES "\\.[A-Za-z0-9_]+/[0-9]+$")
        string(APPEND bad "  ${name}\n")
      endif()
    endforeach()
  endforeach()
endforeach()
if(bad)
  message(FATAL_ERROR "test names that are not stable and readable (give the suite hxcad::test::CaseNames() "
                      "or a generator of its own):\n${bad}")
endif()
