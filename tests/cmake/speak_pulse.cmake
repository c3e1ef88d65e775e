# yomi6 --speak through a private PulseAudio server with a null sink, recorded and checked by
# yomi6_onset_check (Qt-free: it works out the expected samples from the core).
if(TARGET yomi6)
  add_executable(yomi6_onset_check ${CMAKE_CURRENT_SOURCE_DIR}/e2e/onset_check.cpp)
  target_link_libraries(yomi6_onset_check PRIVATE yomi6cli)
  yomi6_warnings(yomi6_onset_check)
  add_test(NAME speak_pulse
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/speak_pulse.sh $<TARGET_FILE:yomi6>
                   $<TARGET_FILE:yomi6_onset_check>)
  set_tests_properties(speak_pulse PROPERTIES LABELS e2e TIMEOUT 180 SKIP_RETURN_CODE 77
                       RUN_SERIAL TRUE)
endif()
# The checker itself, on recordings made to order: what load may do passes, nothing else does.
if(TARGET yomi6)
  add_test(NAME onset_check_self
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/onset_check_self.sh $<TARGET_FILE:yomi6>
                   $<TARGET_FILE:yomi6_onset_check>)
  set_tests_properties(onset_check_self PROPERTIES LABELS e2e SKIP_RETURN_CODE 77)
endif()
