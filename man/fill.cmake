# Writes a manual page, configured with @DEAL_MAN_MOVES@ kept, filled in by
# deal-man-fill with a routine's moves and the facts it names; whole or not
# at all.
#   cmake -DFILL=deal-man-fill -DINPUT=page.1.in -DOUTPUT=page.1 -P fill.cmake
execute_process(COMMAND ${FILL} ${INPUT} OUTPUT_FILE ${OUTPUT}.part RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  file(REMOVE ${OUTPUT}.part)
  message(FATAL_ERROR "${FILL} failed: ${status}")
endif()
file(RENAME ${OUTPUT}.part ${OUTPUT})
