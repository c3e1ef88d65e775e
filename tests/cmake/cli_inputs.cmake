# What the command line reads (UTF-8 and Shift-JIS, --encoding) and refuses (outputs that are
# the input or each other, texts over the export's limit), as whole processes.
if(TARGET yomi6)
  add_test(NAME cli_inputs
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/cli_inputs.sh $<TARGET_FILE:yomi6>
                   ${CMAKE_CURRENT_SOURCE_DIR}/e2e/export_check.py)
  set_tests_properties(cli_inputs PROPERTIES LABELS cli TIMEOUT 600)
endif()
