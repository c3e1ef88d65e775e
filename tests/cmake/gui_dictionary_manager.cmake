# The dictionary manager driven through its real window, the editor's actions and context menu,
# and real files, with Qt Test offscreen and a scratch current directory for the dictionary.
if(NOT YOMI6_CORE_ONLY)
  find_package(Qt6 REQUIRED COMPONENTS Test)
  add_executable(dictionary_manager_test
    ${CMAKE_CURRENT_SOURCE_DIR}/gui/dictionary_manager_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/gui/dialog_test_support.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/gui/gui_test_support.cpp)
  set_target_properties(dictionary_manager_test PROPERTIES AUTOMOC ON)
  target_include_directories(dictionary_manager_test PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(dictionary_manager_test PRIVATE yomi6gui Qt6::Test)
  yomi6_warnings(dictionary_manager_test)
  add_test(NAME gui_dictionary_manager COMMAND dictionary_manager_test)
  # No sound server: the player stays silent; the ticks still say what was played. The screen
  # is a 1280x800 laptop's, on which the window must open whole and over its editor.
  set_tests_properties(gui_dictionary_manager PROPERTIES LABELS gui
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen:configfile=${CMAKE_CURRENT_SOURCE_DIR}/gui/screen_1280x800.json;PULSE_SERVER=unix:/nonexistent")
endif()
