# txhost check, render and export on the files the solids scenario left in RUN: a sound assembly checks
# with exit 0, its picture and STEP file are written; a drawing, a missing file and a wrong extension fail
# with a message and exit 1 or 2.
file(GLOB assembly "${RUN}/Муфта-*.tas")
list(LENGTH assembly n)
if(NOT n EQUAL 1)
  message(FATAL_ERROR "the scenario left ${n} coupling assemblies in ${RUN}")
endif()

function(run_txhost want_rc want_text)
  execute_process(COMMAND ${TXHOST} ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL want_rc OR NOT "${out}${err}" MATCHES "${want_text}")
    message(FATAL_ERROR "txhost ${ARGN}: exit ${rc} (wanted ${want_rc}), output:\n${out}${err}")
  endif()
endfunction()

run_txhost(0 "faults: 0" check ${assembly})
file(REMOVE ${RUN}/program.png ${RUN}/program.step)
run_txhost(0 "" render ${assembly} ${RUN}/program.png --section)
run_txhost(0 "" export ${assembly} ${RUN}/program.step)
foreach(f program.png program.step)
  if(NOT EXISTS ${RUN}/${f})
    message(FATAL_ERROR "txhost wrote no ${f}")
  endif()
endforeach()
run_txhost(1 "not a part or an assembly" check ${RUN}/sheet.tdr)
run_txhost(1 "no such file" check ${RUN}/no-such-file.tpt)
run_txhost(2 "render writes a .png file" render ${assembly} ${RUN}/program.jpg)
run_txhost(2 "usage" export ${assembly})
