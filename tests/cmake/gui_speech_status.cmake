# The status bar's message pane while reading, paused and at a speak command's cut, through the
# real keys, offscreen.
if(NOT YOMI6_CORE_ONLY)
  find_package(Qt6 REQUIRED COMPONENTS Test)
  add_executable(speech_status_test ${CMAKE_CURRENT_SOURCE_DIR}/gui/speech_status_test.cpp
                                    ${CMAKE_CURRENT_SOURCE_DIR}/gui/gui_test_support.cpp)
  set_target_properties(speech_status_test PROPERTIES AUTOMOC ON)
  target_include_directories(speech_status_test PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(speech_status_test PRIVATE yomi6gui Qt6::Test)
  yomi6_warnings(speech_status_test)
  add_test(NAME gui_speech_status COMMAND speech_status_test)
  # No sound server: the player stays silent; the speech timer still runs.
  set_tests_properties(gui_speech_status PROPERTIES LABELS gui
                       ENVIRONMENT "QT_QPA_PLATFORM=offscreen;PULSE_SERVER=unix:/nonexistent")
endif()
