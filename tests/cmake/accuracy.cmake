# How much of real Japanese prose yomi6 reads aloud correctly: tools/reading_accuracy.py over
# tests/accuracy/sentences.tsv. It uses the automatic reading mode when the program offers one
# and fails below the limit set for that mode.
find_package(Python3 COMPONENTS Interpreter)
set(YOMI6_ACCURACY_MIN_DICTIONARY "60" CACHE STRING
    "Lowest share (per cent) of morae read correctly in the dictionary mode")
set(YOMI6_ACCURACY_MIN_AUTO "97" CACHE STRING
    "Lowest share (per cent) of morae read correctly in the automatic mode")
if(Python3_Interpreter_FOUND)
  add_test(NAME reading_accuracy_tool
           COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/accuracy/reading_accuracy_test.py)
  set_tests_properties(reading_accuracy_tool PROPERTIES LABELS accuracy)
  if(TARGET yomi6)
    add_test(NAME reading_accuracy
             COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tools/reading_accuracy.py
                     $<TARGET_FILE:yomi6> ${CMAKE_CURRENT_SOURCE_DIR}/accuracy/sentences.tsv
                     --auto-if-supported --min-overall ${YOMI6_ACCURACY_MIN_DICTIONARY}
                     --min-overall-auto ${YOMI6_ACCURACY_MIN_AUTO})
    set_tests_properties(reading_accuracy PROPERTIES LABELS accuracy TIMEOUT 300)
  endif()
endif()
