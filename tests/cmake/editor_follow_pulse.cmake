# Reading from the caret in a real window with real sound: the caret's word first, past the
# first pass without a break, pause and resume.
if(TARGET yomi6)
  add_test(NAME editor_follow_pulse
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/editor_follow_pulse.sh $<TARGET_FILE:yomi6>)
  set_tests_properties(editor_follow_pulse PROPERTIES LABELS e2e SKIP_RETURN_CODE 77 TIMEOUT 120
                       RUN_SERIAL TRUE)
endif()
