# yomi6 without Qt: the modes that need none load no Qt library; the others are handed to
# yomi6-qt.
if(TARGET yomi6)
  add_test(NAME cli_qt_handover
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/cli_qt_handover.sh $<TARGET_FILE:yomi6>
                   ${PROJECT_SOURCE_DIR}/voices/tohoku-f01-kana)
  set_tests_properties(cli_qt_handover PROPERTIES LABELS cli TIMEOUT 300)
endif()
