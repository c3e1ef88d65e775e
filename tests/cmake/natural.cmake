# The natural voice's core tests run the real engine with the voice of this folder: the copy in
# the source tree once it is there, else the shared one on the development machines.
if(EXISTS "${PROJECT_SOURCE_DIR}/voices/tohoku-f01")
  set(yomi6_natural_voices_default "${PROJECT_SOURCE_DIR}/voices/tohoku-f01")
else()
  set(yomi6_natural_voices_default "/work/shared/voices/tohoku-f01")
endif()
set(YOMI6_NATURAL_TEST_VOICES "${yomi6_natural_voices_default}" CACHE PATH
    "Folder with tohoku-f01-STYLE.htsvoice for the natural voice's tests")
target_compile_definitions(core_tests PRIVATE
                           YOMI6_NATURAL_TEST_VOICES="${YOMI6_NATURAL_TEST_VOICES}")
if(TARGET yomi6)
  add_test(NAME cli_natural
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/cli_natural.sh $<TARGET_FILE:yomi6>
                   ${YOMI6_NATURAL_TEST_VOICES})
  set_tests_properties(cli_natural PROPERTIES LABELS cli TIMEOUT 600)
  # What the natural voice says: Aozora notation, readings, code pages, long lines.
  add_test(NAME cli_natural_text
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/cli_natural_text.sh $<TARGET_FILE:yomi6>
                   ${YOMI6_NATURAL_TEST_VOICES} ${CMAKE_CURRENT_SOURCE_DIR}/aozora)
  set_tests_properties(cli_natural_text PROPERTIES LABELS cli TIMEOUT 600)
  # Pitch, intonation and style weight measured in the sound; the voice's loudness.
  add_test(NAME cli_natural_controls
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/cli_natural_controls.sh $<TARGET_FILE:yomi6>
                   ${YOMI6_NATURAL_TEST_VOICES})
  set_tests_properties(cli_natural_controls PROPERTIES LABELS cli TIMEOUT 600 SKIP_RETURN_CODE 77)
endif()
if(TARGET yomi6)
  # The lines in 「」 in a voice of their own with --wav.
  add_test(NAME cli_dialogue
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/cli_dialogue.sh $<TARGET_FILE:yomi6>
                   ${YOMI6_NATURAL_TEST_VOICES})
  set_tests_properties(cli_dialogue PROPERTIES LABELS cli TIMEOUT 300 SKIP_RETURN_CODE 77)
endif()
if(TARGET yomi6)
  # The engine processes and their folders when --wav, --export or --speak is ended by a signal.
  add_test(NAME cli_natural_signals
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/cli_natural_signals.sh
                   $<TARGET_FILE:yomi6> ${YOMI6_NATURAL_TEST_VOICES})
  set_tests_properties(cli_natural_signals PROPERTIES LABELS cli TIMEOUT 600 SKIP_RETURN_CODE 77)
endif()
if(TARGET yomi6)
  # --speak with the natural voice, recorded from a private sound server.
  add_test(NAME speak_natural_pulse
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/speak_natural_pulse.sh
                   $<TARGET_FILE:yomi6> ${YOMI6_NATURAL_TEST_VOICES})
  set_tests_properties(speak_natural_pulse PROPERTIES LABELS e2e TIMEOUT 300
                                                      SKIP_RETURN_CODE 77)
endif()
if(TARGET audio_export_test)
  # The editor's export with a natural voice in a slot.
  target_compile_definitions(audio_export_test PRIVATE
                             YOMI6_NATURAL_TEST_VOICES="${YOMI6_NATURAL_TEST_VOICES}")
endif()
