# Printing, preview and the page layout through the editor's windows with Qt Test, offscreen,
# pages read back from PDF files with pdftotext; and yomi6 --pdf as a whole process.
if(NOT YOMI6_CORE_ONLY)
  find_package(Qt6 REQUIRED COMPONENTS Test)
  foreach(name printing_pages printing_commands)
    add_executable(${name}_test
      ${CMAKE_CURRENT_SOURCE_DIR}/gui/${name}_test.cpp
      ${CMAKE_CURRENT_SOURCE_DIR}/gui/gui_test_support.cpp
      ${CMAKE_CURRENT_SOURCE_DIR}/gui/pdf_words.cpp
      ${CMAKE_CURRENT_SOURCE_DIR}/gui/print_test_support.cpp)
    set_target_properties(${name}_test PROPERTIES AUTOMOC ON)
    target_include_directories(${name}_test PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(${name}_test PRIVATE yomi6gui Qt6::Test)
    yomi6_warnings(${name}_test)
    add_test(NAME gui_${name} COMMAND ${name}_test)
    set_tests_properties(gui_${name} PROPERTIES LABELS gui
                         ENVIRONMENT "QT_QPA_PLATFORM=offscreen;PULSE_SERVER=unix:/nonexistent")
  endforeach()
  # The PDF mode is compared with the print command page by page.
  target_compile_definitions(printing_pages_test PRIVATE
                             YOMI6_EXECUTABLE="$<TARGET_FILE:yomi6>")
  add_dependencies(printing_pages_test yomi6)
endif()

if(TARGET yomi6)
  add_test(NAME cli_pdf
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/cli_pdf.sh $<TARGET_FILE:yomi6>)
  set_tests_properties(cli_pdf PROPERTIES LABELS cli)
endif()
