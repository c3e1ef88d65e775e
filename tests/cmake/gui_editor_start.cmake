# The editor with damaged or extreme settings files, without sound output and with failing saves,
# and its window title, driven with Qt Test offscreen with a scratch settings folder.
if(NOT YOMI6_CORE_ONLY)
  find_package(Qt6 REQUIRED COMPONENTS Test)
  add_executable(editor_start_test ${CMAKE_CURRENT_SOURCE_DIR}/gui/editor_start_test.cpp
                                   ${CMAKE_CURRENT_SOURCE_DIR}/gui/gui_test_support.cpp)
  set_target_properties(editor_start_test PROPERTIES AUTOMOC ON)
  target_include_directories(editor_start_test PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(editor_start_test PRIVATE yomi6gui Qt6::Test)
  yomi6_warnings(editor_start_test)
  add_test(NAME gui_editor_start COMMAND editor_start_test)
  set_tests_properties(gui_editor_start PROPERTIES LABELS gui
                       ENVIRONMENT "QT_QPA_PLATFORM=offscreen;PULSE_SERVER=unix:/nonexistent")
endif()
# The title as the X window system shows it.
if(TARGET yomi6)
  add_test(NAME editor_title_x11
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/editor_title_x11.sh $<TARGET_FILE:yomi6>)
  set_tests_properties(editor_title_x11 PROPERTIES LABELS e2e SKIP_RETURN_CODE 77 TIMEOUT 120)
  # The main window's rectangle across runs under a window manager that frames it.
  add_test(NAME editor_window_x11
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/editor_window_x11.sh $<TARGET_FILE:yomi6>)
  set_tests_properties(editor_window_x11 PROPERTIES LABELS e2e SKIP_RETURN_CODE 77 TIMEOUT 120)
endif()
