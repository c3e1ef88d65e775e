# The chapters of a book (yomi6 --chapters) as a whole process.
if(TARGET yomi6)
  add_test(NAME cli_chapters
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/cli_chapters.sh $<TARGET_FILE:yomi6>)
  set_tests_properties(cli_chapters PROPERTIES LABELS cli)
endif()
# An export cut at its chapters (yomi6 --export --split chapters).
if(TARGET yomi6)
  add_test(NAME cli_export_split
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/cli_export_split.sh $<TARGET_FILE:yomi6>)
  set_tests_properties(cli_export_split PROPERTIES LABELS cli)
endif()
# One file with its chapters marked inside it (yomi6 --export --chapter-marks).
if(TARGET yomi6)
  add_test(NAME cli_export_marks
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/cli_export_marks.sh $<TARGET_FILE:yomi6>)
  set_tests_properties(cli_export_marks PROPERTIES LABELS cli SKIP_RETURN_CODE 77)
endif()
