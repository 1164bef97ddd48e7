# Runs taviro-vbs on one script and compares what it writes (stdout, then stderr) and its exit status
# with the expected file and status. The script reads its standard input from INPUT when that file exists.
if(NOT EXISTS "${INPUT}")
    set(INPUT /dev/null)
endif()
execute_process(COMMAND ${RUNNER} ${SCRIPT_NAME} first second
                WORKING_DIRECTORY ${SCRIPT_DIR} INPUT_FILE ${INPUT}
                OUTPUT_VARIABLE output ERROR_VARIABLE errors RESULT_VARIABLE status)
file(READ ${EXPECTED} expected)
if(NOT "${output}${errors}" STREQUAL "${expected}")
    message(FATAL_ERROR "output differs:\n${output}${errors}\nexpected:\n${expected}")
endif()
if(NOT "${status}" STREQUAL "${EXPECTED_STATUS}")
    message(FATAL_ERROR "exit status ${status}, expected ${EXPECTED_STATUS}")
endif()
