# yomi6 --reading as a whole process.
if(TARGET yomi6)
  add_test(NAME cli_reading
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/cli_reading.sh $<TARGET_FILE:yomi6>
                   ${CMAKE_CURRENT_SOURCE_DIR}/golden)
  set_tests_properties(cli_reading PROPERTIES LABELS cli)
endif()
