# The editor driven through its real windows with Qt Test, offscreen, with a scratch settings
# folder and a scratch current directory for the dictionary.
if(NOT YOMI6_CORE_ONLY)
  find_package(Qt6 REQUIRED COMPONENTS Test)
  add_executable(editor_test ${CMAKE_CURRENT_SOURCE_DIR}/gui/editor_test.cpp
                             ${CMAKE_CURRENT_SOURCE_DIR}/gui/gui_test_support.cpp)
  set_target_properties(editor_test PROPERTIES AUTOMOC ON)
  target_include_directories(editor_test PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(editor_test PRIVATE yomi6gui Qt6::Test)
  yomi6_warnings(editor_test)
  add_test(NAME gui_editor COMMAND editor_test)
  # No sound server: the player stays silent, which these tests rely on not mattering.
  set_tests_properties(gui_editor PROPERTIES LABELS gui
                       ENVIRONMENT "QT_QPA_PLATFORM=offscreen;PULSE_SERVER=unix:/nonexistent")
endif()
