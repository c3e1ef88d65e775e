# The platform adapters with Qt Test: the speech player
# without a sound device, the speech timer, and the sound thread's owner (with a stand-in
# server that never answers). No test here needs a sound server; the real sound is checked end
# to end (speak_pulse.cmake).
if(NOT YOMI6_CORE_ONLY)
  find_package(Qt6 REQUIRED COMPONENTS Test Network)
  foreach(name speech_player speech_timer sound_backend)
    add_executable(${name}_test ${CMAKE_CURRENT_SOURCE_DIR}/gui/${name}_test.cpp)
    set_target_properties(${name}_test PROPERTIES AUTOMOC ON)
    # Only the sound library and what it links: these tests build without the rest of the
    # program, and the compiler holds them to the headers of what they test.
    target_link_libraries(${name}_test PRIVATE yomi6_sound Qt6::Test)
    yomi6_warnings(${name}_test)
    add_test(NAME platform_${name} COMMAND ${name}_test)
    set_tests_properties(platform_${name} PROPERTIES LABELS gui
                         ENVIRONMENT "QT_QPA_PLATFORM=offscreen;PULSE_SERVER=unix:/nonexistent")
  endforeach()
  target_link_libraries(sound_backend_test PRIVATE Qt6::Network) # the stand-in server
endif()
