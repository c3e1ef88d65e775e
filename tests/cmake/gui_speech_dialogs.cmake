# The speech settings and word registration dialogs driven through their real controls with
# Qt Test, offscreen, with a scratch settings folder and a scratch current directory for the
# dictionary.
if(NOT YOMI6_CORE_ONLY)
  find_package(Qt6 REQUIRED COMPONENTS Test)
  add_executable(speech_dialogs_test
    ${CMAKE_CURRENT_SOURCE_DIR}/gui/speech_dialogs_test_main.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/gui/speech_settings_dialog_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/gui/word_dialog_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/gui/dialog_test_support.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/gui/gui_test_support.cpp)
  set_target_properties(speech_dialogs_test PROPERTIES AUTOMOC ON)
  target_include_directories(speech_dialogs_test PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(speech_dialogs_test PRIVATE yomi6gui Qt6::Test)
  yomi6_warnings(speech_dialogs_test)
  add_test(NAME gui_speech_dialogs COMMAND speech_dialogs_test)
  # No sound server: the player stays silent.
  set_tests_properties(gui_speech_dialogs PROPERTIES LABELS gui
                       ENVIRONMENT "QT_QPA_PLATFORM=offscreen;PULSE_SERVER=unix:/nonexistent")
endif()
