# The installed files (cmake --install into a private root) and the Debian package.
if(TARGET yomi6)
  add_test(NAME install_files
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/install_files.sh ${PROJECT_BINARY_DIR})
  set_tests_properties(install_files PROPERTIES LABELS install)
endif()
if(TARGET yomi6)
  add_test(NAME package
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/package.sh ${PROJECT_BINARY_DIR}
                   ${CMAKE_CURRENT_SOURCE_DIR}/golden)
  set_tests_properties(package PROPERTIES LABELS package TIMEOUT 1500)
endif()
