# The gate scripts of tools/check.sh on small repositories of their own (skipped without git,
# clang-format, clang-tidy or shellcheck).
add_test(NAME gates COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/gates.sh ${PROJECT_SOURCE_DIR})
set_tests_properties(gates PROPERTIES LABELS gates SKIP_RETURN_CODE 77 TIMEOUT 300)
