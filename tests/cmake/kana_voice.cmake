# The kana voice folder made from the natural voice: checked, regenerated in part, spoken.
if(TARGET yomi6)
  add_test(NAME kana_voice
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/kana_voice.sh $<TARGET_FILE:yomi6>
                   ${PROJECT_SOURCE_DIR})
  set_tests_properties(kana_voice PROPERTIES LABELS e2e TIMEOUT 300)
endif()
