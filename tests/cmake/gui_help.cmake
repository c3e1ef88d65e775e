# The help pages: reached from 目次 by their links, naming the real menu items and keys, offscreen.
if(NOT YOMI6_CORE_ONLY)
  find_package(Qt6 REQUIRED COMPONENTS Test)
  add_executable(help_test ${CMAKE_CURRENT_SOURCE_DIR}/gui/help_test.cpp
                           ${CMAKE_CURRENT_SOURCE_DIR}/gui/gui_test_support.cpp)
  set_target_properties(help_test PROPERTIES AUTOMOC ON)
  target_include_directories(help_test PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(help_test PRIVATE yomi6gui Qt6::Test)
  yomi6_warnings(help_test)
  add_test(NAME gui_help COMMAND help_test)
  set_tests_properties(gui_help PROPERTIES LABELS gui
                       ENVIRONMENT "QT_QPA_PLATFORM=offscreen;PULSE_SERVER=unix:/nonexistent")
endif()
