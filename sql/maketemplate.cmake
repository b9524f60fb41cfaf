# cmake -DSQLITE3=<sqlite3> -DSQL=<file.sql> -DOUTPUT=<file.db> -P maketemplate.cmake
#   builds OUTPUT from SQL (replacing OUTPUT only once it is complete).
# cmake -DTEMPLATE=<file.db> -DTARGET=<file.db> -P maketemplate.cmake
#   copies TEMPLATE to TARGET when no TARGET exists: TARGET is a user's library.
if(DEFINED SQL)
  set(partial "${OUTPUT}.partial")
  file(REMOVE "${partial}")
  execute_process(COMMAND "${SQLITE3}" -bail "${partial}"
    INPUT_FILE "${SQL}" RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    file(REMOVE "${partial}")
    message(FATAL_ERROR "Cannot build ${OUTPUT} from ${SQL}: ${err}")
  endif()
  file(RENAME "${partial}" "${OUTPUT}")
elseif(DEFINED TARGET)
  if(NOT EXISTS "${TARGET}")
    file(COPY_FILE "${TEMPLATE}" "${TARGET}.partial")
    file(RENAME "${TARGET}.partial" "${TARGET}")
    message(STATUS "Installed the empty library database ${TARGET}")
  endif()
endif()
