# The source folders include one another one way only, and the core uses no Qt:
# tools/check_layers.py over src/, and its own check that it finds what it must.
find_package(Python3 COMPONENTS Interpreter)
if(Python3_Interpreter_FOUND)
  add_test(NAME layering
           COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tools/check_layers.py
                   ${PROJECT_SOURCE_DIR}/src)
  add_test(NAME layering_checker
           COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tools/check_layers.py --self-test)
  set_tests_properties(layering layering_checker PROPERTIES LABELS layering)
endif()
