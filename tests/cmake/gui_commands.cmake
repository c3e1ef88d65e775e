# The menus, shortcuts, tool bar, status prompts and check marks of the editor against a table
# typed out in the test, driven through the real actions and keys, offscreen.
if(NOT YOMI6_CORE_ONLY)
  find_package(Qt6 REQUIRED COMPONENTS Test)
  add_executable(commands_test ${CMAKE_CURRENT_SOURCE_DIR}/gui/commands_test.cpp
                               ${CMAKE_CURRENT_SOURCE_DIR}/gui/gui_test_support.cpp)
  set_target_properties(commands_test PROPERTIES AUTOMOC ON)
  target_include_directories(commands_test PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(commands_test PRIVATE yomi6gui Qt6::Test)
  yomi6_warnings(commands_test)
  add_test(NAME gui_commands COMMAND commands_test)
  # No sound server: the player stays silent; the speech timer still runs.
  set_tests_properties(gui_commands PROPERTIES LABELS gui
                       ENVIRONMENT "QT_QPA_PLATFORM=offscreen;PULSE_SERVER=unix:/nonexistent")
endif()
