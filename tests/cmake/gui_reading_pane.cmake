# The reading pane: listing, silent marks, highlight in step, word registration, offscreen.
if(NOT YOMI6_CORE_ONLY)
  find_package(Qt6 REQUIRED COMPONENTS Test)
  add_executable(reading_pane_test ${CMAKE_CURRENT_SOURCE_DIR}/gui/reading_pane_test.cpp
                             ${CMAKE_CURRENT_SOURCE_DIR}/gui/gui_test_support.cpp)
  set_target_properties(reading_pane_test PROPERTIES AUTOMOC ON)
  target_include_directories(reading_pane_test PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(reading_pane_test PRIVATE yomi6gui Qt6::Test)
  yomi6_warnings(reading_pane_test)
  add_test(NAME gui_reading_pane COMMAND reading_pane_test)
  set_tests_properties(gui_reading_pane PROPERTIES LABELS gui
                       ENVIRONMENT "QT_QPA_PLATFORM=offscreen;PULSE_SERVER=unix:/nonexistent")
endif()
