# The editor and --speak with a sound server that accepts the connection and never answers.
if(TARGET yomi6)
  add_test(NAME sound_server_hung
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/sound_server_hung.sh $<TARGET_FILE:yomi6>)
  set_tests_properties(sound_server_hung PROPERTIES LABELS e2e SKIP_RETURN_CODE 77 TIMEOUT 180)
endif()
