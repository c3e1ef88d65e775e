# The editor's live reading as a client of the engine interface, with the scripted stand-in
# engine and the speech player without a sound device.
if(NOT YOMI6_CORE_ONLY)
  find_package(Qt6 REQUIRED COMPONENTS Test)
  add_executable(live_speech_test ${CMAKE_CURRENT_SOURCE_DIR}/gui/live_speech_test.cpp
                                  ${CMAKE_CURRENT_SOURCE_DIR}/support/test_engine.cpp)
  set_target_properties(live_speech_test PROPERTIES AUTOMOC ON)
  target_include_directories(live_speech_test PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(live_speech_test PRIVATE yomi6_speech_session Qt6::Test)
  yomi6_warnings(live_speech_test)
  add_test(NAME gui_live_speech COMMAND live_speech_test)
  set_tests_properties(gui_live_speech PROPERTIES LABELS gui
                       ENVIRONMENT "QT_QPA_PLATFORM=offscreen;PULSE_SERVER=unix:/nonexistent")
endif()
