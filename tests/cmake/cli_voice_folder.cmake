# The command-line modes speaking with a voice folder given by the settings file.
if(TARGET yomi6)
  add_test(NAME cli_voice_folder
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/cli_voice_folder.sh $<TARGET_FILE:yomi6>)
  set_tests_properties(cli_voice_folder PROPERTIES LABELS cli TIMEOUT 120)
endif()
