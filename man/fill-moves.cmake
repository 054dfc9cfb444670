# Puts the moves of a routine, as deal-man-moves writes them from the routine
# reader's table, into a manual page configured with @DEAL_MAN_MOVES@ kept.
#   cmake -DMOVES=deal-man-moves -DINPUT=page.1.in -DOUTPUT=page.1 -P fill-moves.cmake
execute_process(COMMAND ${MOVES} OUTPUT_VARIABLE moves RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${MOVES} failed: ${status}")
endif()
string(STRIP "${moves}" moves)
file(READ ${INPUT} page)
string(REPLACE "@DEAL_MAN_MOVES@" "${moves}" page "${page}")
file(WRITE ${OUTPUT}.part "${page}")
file(RENAME ${OUTPUT}.part ${OUTPUT})
