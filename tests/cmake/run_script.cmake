# tools/run.sh keeps the checkout clean and passes file arguments on as the caller meant them.
add_test(NAME run_script
         COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/run_script.sh
                 ${PROJECT_SOURCE_DIR}/tools/run.sh)
set_tests_properties(run_script PROPERTIES LABELS e2e)
