# Following the voice: highlight, reading from the caret, pause and resume, offscreen.
if(NOT YOMI6_CORE_ONLY)
  find_package(Qt6 REQUIRED COMPONENTS Test)
  add_executable(follow_test ${CMAKE_CURRENT_SOURCE_DIR}/gui/follow_test.cpp
                             ${CMAKE_CURRENT_SOURCE_DIR}/gui/gui_test_support.cpp)
  set_target_properties(follow_test PROPERTIES AUTOMOC ON)
  target_include_directories(follow_test PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(follow_test PRIVATE yomi6gui Qt6::Test)
  yomi6_warnings(follow_test)
  add_test(NAME gui_follow COMMAND follow_test)
  set_tests_properties(gui_follow PROPERTIES LABELS gui
                       ENVIRONMENT "QT_QPA_PLATFORM=offscreen;PULSE_SERVER=unix:/nonexistent")
endif()
