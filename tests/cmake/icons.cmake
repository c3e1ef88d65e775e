# The tool bar, program and document icons compiled from resources/icons.qrc, and the desktop
# entry. Rendering needs Qt's GUI module but no window, so the test runs offscreen.
if(NOT YOMI6_CORE_ONLY)
  find_package(Qt6 REQUIRED COMPONENTS Test Svg Gui)
  add_executable(icons_test ${CMAKE_CURRENT_SOURCE_DIR}/gui/icons_test.cpp
                            ${PROJECT_SOURCE_DIR}/resources/icons.qrc)
  set_target_properties(icons_test PROPERTIES AUTOMOC ON AUTORCC ON)
  target_compile_definitions(icons_test PRIVATE YOMI6_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  target_link_libraries(icons_test PRIVATE Qt6::Svg Qt6::Gui Qt6::Test)
  yomi6_warnings(icons_test)
  add_test(NAME icons COMMAND icons_test)
  set_tests_properties(icons PROPERTIES LABELS gui ENVIRONMENT QT_QPA_PLATFORM=offscreen)
endif()

# The freedesktop validator, where the machine has it.
find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
if(DESKTOP_FILE_VALIDATE)
  add_test(NAME desktop_entry_validate
           COMMAND ${DESKTOP_FILE_VALIDATE} ${PROJECT_SOURCE_DIR}/resources/yomi6.desktop)
  set_tests_properties(desktop_entry_validate PROPERTIES LABELS gui)
endif()
