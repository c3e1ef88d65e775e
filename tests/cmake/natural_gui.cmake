# The natural voice in the editor with the real engine, offscreen, its sound played into the null
# sink of a private sound server.
if(NOT YOMI6_CORE_ONLY)
  find_package(Qt6 REQUIRED COMPONENTS Test)
  add_executable(natural_voice_test ${CMAKE_CURRENT_SOURCE_DIR}/gui/natural_voice_test.cpp
                                    ${CMAKE_CURRENT_SOURCE_DIR}/gui/gui_test_support.cpp
                                    ${CMAKE_CURRENT_SOURCE_DIR}/support/wave_analysis.cpp)
  set_target_properties(natural_voice_test PROPERTIES AUTOMOC ON)
  target_include_directories(natural_voice_test PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(natural_voice_test PRIVATE yomi6gui Qt6::Test)
  yomi6_warnings(natural_voice_test)
  add_test(NAME natural_voice_pulse
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/gui_pulse.sh
                   $<TARGET_FILE:natural_voice_test>)
  set_tests_properties(natural_voice_pulse PROPERTIES LABELS gui SKIP_RETURN_CODE 77
                       TIMEOUT 600 RUN_SERIAL TRUE
                       ENVIRONMENT "YOMI6_NATURAL_VOICE_DIR=${YOMI6_NATURAL_TEST_VOICES}")
endif()
# The lines said by the other slot's samples while the natural voice narrates, in the editor.
if(NOT YOMI6_CORE_ONLY)
  add_executable(natural_dialogue_test ${CMAKE_CURRENT_SOURCE_DIR}/gui/natural_dialogue_test.cpp
                                       ${CMAKE_CURRENT_SOURCE_DIR}/gui/gui_test_support.cpp)
  set_target_properties(natural_dialogue_test PROPERTIES AUTOMOC ON)
  target_include_directories(natural_dialogue_test PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(natural_dialogue_test PRIVATE yomi6gui Qt6::Test)
  yomi6_warnings(natural_dialogue_test)
  add_test(NAME natural_dialogue_pulse
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/gui_pulse.sh
                   $<TARGET_FILE:natural_dialogue_test>)
  set_tests_properties(natural_dialogue_pulse PROPERTIES LABELS gui SKIP_RETURN_CODE 77
                       TIMEOUT 300 RUN_SERIAL TRUE
                       ENVIRONMENT "YOMI6_NATURAL_VOICE_DIR=${YOMI6_NATURAL_TEST_VOICES}")
endif()
