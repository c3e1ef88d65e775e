# yomi6 --check-voice as a whole process over voice folders made with sox.
if(TARGET yomi6)
  add_test(NAME cli_check_voice
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/cli_check_voice.sh $<TARGET_FILE:yomi6>
                   ${PROJECT_SOURCE_DIR}/resources/samples)
  set_tests_properties(cli_check_voice PROPERTIES LABELS cli TIMEOUT 120)
endif()
