# The voice dialog offscreen, and the recorder end to end with a private sound server whose
# default input is the monitor of a null sink that the test plays known sounds into.
if(NOT YOMI6_CORE_ONLY)
  find_package(Qt6 REQUIRED COMPONENTS Test)
  foreach(name voice_dialog recorder)
    add_executable(${name}_test ${CMAKE_CURRENT_SOURCE_DIR}/gui/${name}_test.cpp
                                ${CMAKE_CURRENT_SOURCE_DIR}/gui/dialog_test_support.cpp
                                ${CMAKE_CURRENT_SOURCE_DIR}/gui/gui_test_support.cpp)
    set_target_properties(${name}_test PROPERTIES AUTOMOC ON)
    target_include_directories(${name}_test PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(${name}_test PRIVATE yomi6gui Qt6::Test)
    yomi6_warnings(${name}_test)
  endforeach()
  add_test(NAME gui_voice_dialog COMMAND voice_dialog_test)
  set_tests_properties(gui_voice_dialog PROPERTIES LABELS gui
                       ENVIRONMENT "QT_QPA_PLATFORM=offscreen;PULSE_SERVER=unix:/nonexistent")
  add_test(NAME recorder_pulse
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/recorder_pulse.sh
                   $<TARGET_FILE:recorder_test>)
  set_tests_properties(recorder_pulse PROPERTIES LABELS e2e SKIP_RETURN_CODE 77 TIMEOUT 180
                       RUN_SERIAL TRUE)
endif()
