# The editor in a real window with real sound: F3 heard, F4 silent.
if(TARGET yomi6)
  add_test(NAME editor_pulse
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/editor_pulse.sh $<TARGET_FILE:yomi6>)
  set_tests_properties(editor_pulse PROPERTIES LABELS e2e SKIP_RETURN_CODE 77 TIMEOUT 120
                       RUN_SERIAL TRUE)
endif()
