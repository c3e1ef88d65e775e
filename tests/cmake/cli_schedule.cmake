# yomi6 --schedule and --wav as whole processes.
if(TARGET yomi6)
  add_test(NAME cli_schedule
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/cli_schedule.sh $<TARGET_FILE:yomi6>
                   ${PROJECT_SOURCE_DIR}/resources/samples)
  set_tests_properties(cli_schedule PROPERTIES LABELS cli)
endif()
