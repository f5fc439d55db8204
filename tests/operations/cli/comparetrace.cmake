# Runs SOLVER with the arguments in ARGS (one a line) and fails unless it succeeds and prints
# exactly the contents of EXPECTED.
file(STRINGS ${ARGS} arguments)
execute_process(COMMAND ${SOLVER} ${arguments} OUTPUT_VARIABLE output ERROR_VARIABLE errors
                RESULT_VARIABLE status)
file(READ ${EXPECTED} expected)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "zorvik-solve ${arguments} exited with ${status}: ${errors}")
endif()
if(NOT output STREQUAL expected)
    message(FATAL_ERROR "zorvik-solve ${arguments} printed\n${output}\ninstead of\n${expected}")
endif()
