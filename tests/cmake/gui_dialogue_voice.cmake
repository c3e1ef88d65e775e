# The lines in 「」 and 『』 by a voice of their own in the editor: 声の管理's control kept in the
# settings file, and F3 saying each run in its voice, offscreen.
if(NOT YOMI6_CORE_ONLY)
  find_package(Qt6 REQUIRED COMPONENTS Test)
  add_executable(dialogue_voice_test ${CMAKE_CURRENT_SOURCE_DIR}/gui/dialogue_voice_test.cpp
                                     ${CMAKE_CURRENT_SOURCE_DIR}/gui/gui_test_support.cpp)
  set_target_properties(dialogue_voice_test PROPERTIES AUTOMOC ON)
  target_include_directories(dialogue_voice_test PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(dialogue_voice_test PRIVATE yomi6gui Qt6::Test)
  yomi6_warnings(dialogue_voice_test)
  add_test(NAME gui_dialogue_voice COMMAND dialogue_voice_test)
  set_tests_properties(gui_dialogue_voice PROPERTIES LABELS gui
                       ENVIRONMENT "QT_QPA_PLATFORM=offscreen;PULSE_SERVER=unix:/nonexistent")
endif()
