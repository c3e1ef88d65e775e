# Two windows on one document driven through the real windows, offscreen, with a scratch
# settings folder and a scratch current directory for the dictionary.
if(NOT YOMI6_CORE_ONLY)
  find_package(Qt6 REQUIRED COMPONENTS Test)
  add_executable(document_windows_test ${CMAKE_CURRENT_SOURCE_DIR}/gui/document_windows_test.cpp
                             ${CMAKE_CURRENT_SOURCE_DIR}/gui/gui_test_support.cpp)
  set_target_properties(document_windows_test PROPERTIES AUTOMOC ON)
  target_include_directories(document_windows_test PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(document_windows_test PRIVATE yomi6gui Qt6::Test)
  yomi6_warnings(document_windows_test)
  add_test(NAME gui_document_windows COMMAND document_windows_test)
  # No sound server: the player stays silent, which these tests rely on not mattering.
  set_tests_properties(gui_document_windows PROPERTIES LABELS gui
                       ENVIRONMENT "QT_QPA_PLATFORM=offscreen;PULSE_SERVER=unix:/nonexistent")
endif()
