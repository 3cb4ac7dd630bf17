# CPack runs this on the staged package before it writes the zip: a failure
# here leaves no zip and no hash.
execute_process(COMMAND ${CPACK_INPUTCONFIG_FINISH} ${CPACK_TEMPORARY_DIRECTORY} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "finish-package refused the package")
endif()
