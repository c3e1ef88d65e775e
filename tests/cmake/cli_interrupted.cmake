# The output files of the command line when a run is interrupted by a signal or fails on a
# full disk, and the export's progress on a terminal, as whole processes.
if(TARGET yomi6)
  add_test(NAME cli_interrupted
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/cli_interrupted.sh $<TARGET_FILE:yomi6>
                   ${CMAKE_CURRENT_SOURCE_DIR}/e2e/pty_export.py)
  set_tests_properties(cli_interrupted PROPERTIES LABELS cli TIMEOUT 900)
endif()
