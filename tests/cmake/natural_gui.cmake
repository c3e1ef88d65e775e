# The natural voice in the editor with the real engine, offscreen, its sound played into the null
# sink of a private sound server.
if(NOT YOMI6_CORE_ONLY)
  find_package(Qt6 REQUIRED COMPONENTS Test)
  # A Qt Test program of the natural voice, from its source and the shared GUI helpers, run as
  # test `name` through tests/e2e/gui_pulse.sh, within timeout seconds.
  function(yomi6_natural_gui_test target name timeout)
    add_executable(${target} ${ARGN} ${CMAKE_CURRENT_SOURCE_DIR}/gui/gui_test_support.cpp)
    set_target_properties(${target} PROPERTIES AUTOMOC ON)
    target_include_directories(${target} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(${target} PRIVATE yomi6gui Qt6::Test)
    yomi6_warnings(${target})
    add_test(NAME ${name}
             COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/gui_pulse.sh $<TARGET_FILE:${target}>)
    set_tests_properties(${name} PROPERTIES LABELS gui SKIP_RETURN_CODE 77
                         TIMEOUT ${timeout} RUN_SERIAL TRUE
                         ENVIRONMENT "YOMI6_NATURAL_VOICE_DIR=${YOMI6_NATURAL_TEST_VOICES}")
  endfunction()
  yomi6_natural_gui_test(natural_voice_test natural_voice_pulse 600
                         ${CMAKE_CURRENT_SOURCE_DIR}/gui/natural_voice_test.cpp
                         ${CMAKE_CURRENT_SOURCE_DIR}/support/wave_analysis.cpp)
  # The lines said by the other slot's samples while the natural voice narrates.
  yomi6_natural_gui_test(natural_dialogue_test natural_dialogue_pulse 300
                         ${CMAKE_CURRENT_SOURCE_DIR}/gui/natural_dialogue_test.cpp)
endif()
