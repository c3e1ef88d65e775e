# yomi6 --export as a whole process: every format read back by ffprobe and sox, subtitles and
# timings against --units, texts longer than one pass, --from/--to, errors.
if(TARGET yomi6)
  add_test(NAME cli_export
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/cli_export.sh $<TARGET_FILE:yomi6>
                   ${CMAKE_CURRENT_SOURCE_DIR}/e2e/export_check.py)
  set_tests_properties(cli_export PROPERTIES LABELS cli TIMEOUT 600)
endif()
