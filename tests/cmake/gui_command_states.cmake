# Every command's enabled state and check mark in the situations a user meets (no document,
# a text, a selection, speaking, paused, other windows active) against a table typed out in the
# test, read from the real actions, offscreen.
if(NOT YOMI6_CORE_ONLY)
  find_package(Qt6 REQUIRED COMPONENTS Test)
  add_executable(command_states_test ${CMAKE_CURRENT_SOURCE_DIR}/gui/command_states_test.cpp
                                     ${CMAKE_CURRENT_SOURCE_DIR}/gui/gui_test_support.cpp)
  set_target_properties(command_states_test PROPERTIES AUTOMOC ON)
  target_include_directories(command_states_test PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(command_states_test PRIVATE yomi6gui Qt6::Test)
  yomi6_warnings(command_states_test)
  add_test(NAME gui_command_states COMMAND command_states_test)
  # No sound server: the player stays silent; the speech timer still runs.
  set_tests_properties(gui_command_states PROPERTIES LABELS gui
                       ENVIRONMENT "QT_QPA_PLATFORM=offscreen;PULSE_SERVER=unix:/nonexistent")
endif()
