# Qt's own texts in Japanese whatever the locale (run under LANG=C), and a start without them,
# offscreen.
if(NOT YOMI6_CORE_ONLY)
  find_package(Qt6 REQUIRED COMPONENTS Test)
  add_executable(qt_translations_test ${CMAKE_CURRENT_SOURCE_DIR}/gui/qt_translations_test.cpp
                                      ${CMAKE_CURRENT_SOURCE_DIR}/gui/gui_test_support.cpp)
  set_target_properties(qt_translations_test PROPERTIES AUTOMOC ON)
  target_include_directories(qt_translations_test PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_compile_definitions(qt_translations_test PRIVATE YOMI6_BINARY="$<TARGET_FILE:yomi6>"
                             YOMI6_QT_BINARY="$<TARGET_FILE:yomi6-qt>")
  target_link_libraries(qt_translations_test PRIVATE yomi6gui Qt6::Test)
  add_dependencies(qt_translations_test yomi6)
  yomi6_warnings(qt_translations_test)
  add_test(NAME gui_translations COMMAND qt_translations_test)
  set_tests_properties(gui_translations PROPERTIES LABELS gui
                       ENVIRONMENT "LANG=C;LC_ALL=C;LANGUAGE=;QT_QPA_PLATFORM=offscreen;PULSE_SERVER=unix:/nonexistent")
endif()
