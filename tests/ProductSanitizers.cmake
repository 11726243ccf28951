# cmake -DNM=nm -DOBJECT=file.o -P ProductSanitizers.cmake: fails unless the object, a product source compiled into
# a test program, calls into the runtimes of both sanitizers, as the libraries' objects do.
execute_process(COMMAND "${NM}" -u "${OBJECT}" OUTPUT_VARIABLE symbols ERROR_VARIABLE errors RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${NM} -u ${OBJECT} failed (${rc}): ${errors}")
endif()
foreach(runtime __asan_ __ubsan_handle_)
  if(NOT symbols MATCHES "${runtime}")
    message(FATAL_ERROR "${OBJECT} is built without the sanitizer whose runtime is ${runtime}*")
  endif()
endforeach()
