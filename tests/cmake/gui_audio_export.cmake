# 音声ﾌｧｲﾙに保存 in the editor through its menu action, offscreen.
if(NOT YOMI6_CORE_ONLY)
  find_package(Qt6 REQUIRED COMPONENTS Test)
  add_executable(audio_export_test ${CMAKE_CURRENT_SOURCE_DIR}/gui/audio_export_test.cpp
                                   ${CMAKE_CURRENT_SOURCE_DIR}/gui/gui_test_support.cpp)
  set_target_properties(audio_export_test PROPERTIES AUTOMOC ON)
  target_include_directories(audio_export_test PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_compile_definitions(audio_export_test PRIVATE YOMI6_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  target_link_libraries(audio_export_test PRIVATE yomi6gui Qt6::Test)
  yomi6_warnings(audio_export_test)
  add_test(NAME gui_audio_export COMMAND audio_export_test)
  set_tests_properties(gui_audio_export PROPERTIES LABELS gui
                       ENVIRONMENT "QT_QPA_PLATFORM=offscreen;PULSE_SERVER=unix:/nonexistent")
endif()
