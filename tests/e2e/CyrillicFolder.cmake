# Plays a scenario with the plug-in, and the data it reads beside itself, copied into folders with Cyrillic
# names (as a user's home folder may have), under the "C" locale: the library must convert its paths through
# UTF-8 whatever the locale. The documents go into a Cyrillic folder too. USER names the home folder instead
# (letters of any script: "Café", "数据"), LOCALE the locale to run in.
#   cmake -DTXHOST=... -DPLUGIN=... -DSCENARIO=... -DFOLDER=... [-DUSER=...] [-DLOCALE=...] -P CyrillicFolder.cmake
if(NOT DEFINED USER)
  set(USER "Пользователь")
endif()
if(NOT DEFINED LOCALE)
  set(LOCALE C)
endif()
file(REMOVE_RECURSE "${FOLDER}")
set(lib "${FOLDER}/${USER}/Библиотеки")
set(documents "${FOLDER}/${USER}/Документы")
file(MAKE_DIRECTORY "${lib}" "${documents}")
get_filename_component(from "${PLUGIN}" DIRECTORY)
get_filename_component(name "${PLUGIN}" NAME)
file(COPY "${PLUGIN}" "${from}/VUVudirido.tb" "${from}/PhCoupling.tpt" DESTINATION "${lib}")
execute_process(COMMAND ${CMAKE_COMMAND} -E env LC_ALL=${LOCALE} LANG=${LOCALE}
                        "${TXHOST}" run "${SCENARIO}" --folder "${documents}" --define "plugin=${lib}/${name}"
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "txhost failed (${rc}) with the library in ${lib}:\n${err}\n${out}")
endif()
foreach(made coupling.tas coupling.tdr)
  if(NOT EXISTS "${documents}/${made}")
    message(FATAL_ERROR "${documents}/${made} was not made:\n${out}")
  endif()
endforeach()
string(FIND "${out}" "\nmessages: 0\n" quiet)
if(quiet LESS 0)
  message(FATAL_ERROR "the library said something with its folder in ${lib}:\n${out}")
endif()
string(FIND "${out}" "library: ${lib}/${name}" at)
if(at LESS 0)
  message(FATAL_ERROR "the host does not list the library from ${lib}:\n${out}")
endif()
