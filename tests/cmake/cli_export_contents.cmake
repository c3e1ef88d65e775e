# What yomi6 --export writes, read by ffmpeg and ffprobe: subtitles that keep every cue, exports
# that read nothing, the shortest sound, a full disk.
if(TARGET yomi6)
  add_test(NAME cli_export_contents
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/cli_export_contents.sh $<TARGET_FILE:yomi6>)
  set_tests_properties(cli_export_contents PROPERTIES LABELS cli TIMEOUT 600 SKIP_RETURN_CODE 77)
endif()
