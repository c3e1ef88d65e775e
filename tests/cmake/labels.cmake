# The full-context labels (yomi6 --labels): the command as a whole process, the oracle against
# the voice's own front end (open_jtalk, a test dependency only; the test is skipped without
# it) on the accuracy test sets' sentences, and the self-test of the accent evaluator.
find_package(Python3 COMPONENTS Interpreter)
if(TARGET yomi6)
  add_test(NAME cli_labels
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/cli_labels.sh $<TARGET_FILE:yomi6>)
  set_tests_properties(cli_labels PROPERTIES LABELS cli SKIP_RETURN_CODE 77)
  if(Python3_Interpreter_FOUND)
    # Any voice will do (the labels come before it): the source tree's, else the shared one.
    if(EXISTS "${PROJECT_SOURCE_DIR}/voices/tohoku-f01")
      set(yomi6_oracle_voice "${PROJECT_SOURCE_DIR}/voices/tohoku-f01/tohoku-f01-neutral.htsvoice")
    else()
      set(yomi6_oracle_voice "/work/shared/voices/tohoku-f01/tohoku-f01-neutral.htsvoice")
    endif()
    # The front end's labels are kept in the build tree: the first run takes long.
    add_test(NAME labels_oracle
             COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tools/labels_oracle.py
                     $<TARGET_FILE:yomi6> ${CMAKE_CURRENT_SOURCE_DIR}/accuracy/sentences.tsv
                     ${CMAKE_CURRENT_SOURCE_DIR}/accuracy/literary.tsv
                     --ojt-voice ${yomi6_oracle_voice}
                     --cache ${CMAKE_CURRENT_BINARY_DIR}/labels_oracle_cache --rules)
    set_tests_properties(labels_oracle PROPERTIES LABELS accuracy TIMEOUT 3600
                                                  SKIP_RETURN_CODE 77)
  endif()
endif()
if(Python3_Interpreter_FOUND)
  add_test(NAME accent_eval_tool
           COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tools/accent_eval.py --selftest)
  set_tests_properties(accent_eval_tool PROPERTIES LABELS accuracy)
endif()
