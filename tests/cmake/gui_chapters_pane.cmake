# The table of contents: the list, following the text and the window, going to a heading.
if(NOT YOMI6_CORE_ONLY)
  find_package(Qt6 REQUIRED COMPONENTS Test)
  add_executable(chapters_pane_test ${CMAKE_CURRENT_SOURCE_DIR}/gui/chapters_pane_test.cpp
                             ${CMAKE_CURRENT_SOURCE_DIR}/gui/gui_test_support.cpp)
  set_target_properties(chapters_pane_test PROPERTIES AUTOMOC ON)
  target_include_directories(chapters_pane_test PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(chapters_pane_test PRIVATE yomi6gui Qt6::Test)
  yomi6_warnings(chapters_pane_test)
  add_test(NAME gui_chapters_pane COMMAND chapters_pane_test)
  set_tests_properties(gui_chapters_pane PROPERTIES LABELS gui
                       ENVIRONMENT "QT_QPA_PLATFORM=offscreen;PULSE_SERVER=unix:/nonexistent")
endif()
