# Where reading stopped and the bookmarks: kept, offered again, moved with the text, the file.
if(NOT YOMI6_CORE_ONLY)
  find_package(Qt6 REQUIRED COMPONENTS Test)
  add_executable(reading_places_test ${CMAKE_CURRENT_SOURCE_DIR}/gui/reading_places_test.cpp
                             ${CMAKE_CURRENT_SOURCE_DIR}/gui/gui_test_support.cpp)
  set_target_properties(reading_places_test PROPERTIES AUTOMOC ON)
  target_include_directories(reading_places_test PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(reading_places_test PRIVATE yomi6gui Qt6::Test)
  yomi6_warnings(reading_places_test)
  add_test(NAME gui_reading_places COMMAND reading_places_test)
  set_tests_properties(gui_reading_places PROPERTIES LABELS gui
                       ENVIRONMENT "QT_QPA_PLATFORM=offscreen;PULSE_SERVER=unix:/nonexistent")
endif()
