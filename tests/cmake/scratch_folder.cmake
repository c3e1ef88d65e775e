# The scratch folder every end-to-end script works in (tests/e2e/checks.sh); needs no build.
add_test(NAME scratch_folder COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/scratch_folder.sh)
set_tests_properties(scratch_folder PROPERTIES LABELS e2e)
