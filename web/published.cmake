# Fails unless the published page is byte for byte the page just built, and
# says how to make it so.
#   cmake -DBUILT=build/web/deal-explorer.html -DPUBLISHED=docs/deal-explorer.html -P published.cmake
cmake_policy(VERSION 3.25)
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${BUILT} ${PUBLISHED} RESULT_VARIABLE differ)
if(differ)
  message(FATAL_ERROR "docs/deal-explorer.html is not the page this source builds; "
                      "refresh it with scripts/publish-page and commit it")
endif()
message(STATUS "docs/deal-explorer.html is the page this source builds")
