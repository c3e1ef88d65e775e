# The sleep timer: its rule on a driven clock, its menu entries, a reading stopped at a chapter end;
# then, through a private sound server that records the sink, its last sentence heard fading.
if(NOT YOMI6_CORE_ONLY)
  find_package(Qt6 REQUIRED COMPONENTS Test)
  add_executable(sleep_timer_test ${CMAKE_CURRENT_SOURCE_DIR}/gui/sleep_timer_test.cpp
                             ${CMAKE_CURRENT_SOURCE_DIR}/gui/gui_test_support.cpp)
  set_target_properties(sleep_timer_test PROPERTIES AUTOMOC ON)
  target_include_directories(sleep_timer_test PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(sleep_timer_test PRIVATE yomi6gui Qt6::Test)
  yomi6_warnings(sleep_timer_test)
  add_test(NAME gui_sleep_timer COMMAND sleep_timer_test)
  set_tests_properties(gui_sleep_timer PROPERTIES LABELS gui
                       ENVIRONMENT "QT_QPA_PLATFORM=offscreen;PULSE_SERVER=unix:/nonexistent")
  add_test(NAME gui_sleep_timer_heard
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/gui_pulse.sh $<TARGET_FILE:sleep_timer_test>
                   theLastSentenceIsHeardFadingOnARealSoundServer)
  set_tests_properties(gui_sleep_timer_heard PROPERTIES LABELS gui SKIP_RETURN_CODE 77
                       TIMEOUT 120 RUN_SERIAL TRUE)
endif()
