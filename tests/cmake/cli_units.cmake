# yomi6 --units as a whole process, in both reading modes.
if(TARGET yomi6)
  add_test(NAME cli_units
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/cli_units.sh $<TARGET_FILE:yomi6>)
  set_tests_properties(cli_units PROPERTIES LABELS cli)
endif()
