# Aozora notation through the real menu item, the reading pane and the speech, offscreen.
if(NOT YOMI6_CORE_ONLY)
  find_package(Qt6 REQUIRED COMPONENTS Test)
  add_executable(aozora_test ${CMAKE_CURRENT_SOURCE_DIR}/gui/aozora_test.cpp
                             ${CMAKE_CURRENT_SOURCE_DIR}/gui/gui_test_support.cpp)
  set_target_properties(aozora_test PROPERTIES AUTOMOC ON)
  target_include_directories(aozora_test PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(aozora_test PRIVATE yomi6gui Qt6::Test)
  yomi6_warnings(aozora_test)
  add_test(NAME gui_aozora COMMAND aozora_test)
  set_tests_properties(gui_aozora PROPERTIES LABELS gui
                       ENVIRONMENT "QT_QPA_PLATFORM=offscreen;PULSE_SERVER=unix:/nonexistent")
endif()
