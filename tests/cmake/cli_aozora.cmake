# Aozora notation on the command line: golden outputs of the test files, --aozora, export.
if(TARGET yomi6)
  add_test(NAME cli_aozora
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/cli_aozora.sh $<TARGET_FILE:yomi6>
                   ${CMAKE_CURRENT_SOURCE_DIR}/aozora)
  set_tests_properties(cli_aozora PROPERTIES LABELS cli)
endif()
