# The reading mode in the editor: menu item, tool bar button, status pane, persistence and
# speaking with the automatic reading, offscreen.
if(NOT YOMI6_CORE_ONLY)
  find_package(Qt6 REQUIRED COMPONENTS Test)
  add_executable(readings_test ${CMAKE_CURRENT_SOURCE_DIR}/gui/readings_test.cpp
                               ${CMAKE_CURRENT_SOURCE_DIR}/gui/gui_test_support.cpp)
  set_target_properties(readings_test PROPERTIES AUTOMOC ON)
  target_include_directories(readings_test PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(readings_test PRIVATE yomi6gui Qt6::Test)
  yomi6_warnings(readings_test)
  add_test(NAME gui_readings COMMAND readings_test)
  set_tests_properties(gui_readings PROPERTIES LABELS gui
                       ENVIRONMENT "QT_QPA_PLATFORM=offscreen;PULSE_SERVER=unix:/nonexistent")
endif()
