# sd_yomi6, the sound server's output module: its protocol, messages and settings in process,
# and the module under the real speech-dispatcher with a PulseAudio null sink.
if(TARGET sd_yomi6)
  file(GLOB module_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/module/*.cpp)
  add_executable(module_tests ${module_test_sources})
  target_link_libraries(module_tests PRIVATE yomi6_module GTest::gtest GTest::gtest_main)
  yomi6_warnings(module_tests)
  gtest_discover_tests(module_tests DISCOVERY_TIMEOUT 60 PROPERTIES LABELS core)
  add_test(NAME module_server
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/module_server.sh $<TARGET_FILE:sd_yomi6>)
  set_tests_properties(module_server PROPERTIES LABELS e2e TIMEOUT 600 SKIP_RETURN_CODE 77
                       RUN_SERIAL TRUE)
endif()
