# Where yomi6 --wav and --pdf write, as whole processes.
if(TARGET yomi6)
  add_test(NAME cli_outputs
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/cli_outputs.sh $<TARGET_FILE:yomi6>)
  set_tests_properties(cli_outputs PROPERTIES LABELS cli)
endif()
