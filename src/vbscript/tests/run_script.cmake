# Runs taviro-vbs on one script and compares what it writes (stdout, then stderr) and its exit status
# with the expected file and status. The script reads its standard input from INPUT when that file exists,
# and runs in the locale LOCALE (US English, 1033, unless given).
if(NOT DEFINED LOCALE)
    set(LOCALE 1033)
endif()
if(NOT EXISTS "${INPUT}")
    set(INPUT /dev/null)
endif()
execute_process(COMMAND ${RUNNER} --locale ${LOCALE} ${SCRIPT_NAME} first second
                WORKING_DIRECTORY ${SCRIPT_DIR} INPUT_FILE ${INPUT}
                OUTPUT_VARIABLE output ERROR_VARIABLE errors RESULT_VARIABLE status)
file(READ ${EXPECTED} expected)
if(NOT "${output}${errors}" STREQUAL "${expected}")
    message(FATAL_ERROR "output differs:\n${output}${errors}\nexpected:\n${expected}")
endif()
if(NOT "${status}" STREQUAL "${EXPECTED_STATUS}")
    message(FATAL_ERROR "exit status ${status}, expected ${EXPECTED_STATUS}")
endif()
