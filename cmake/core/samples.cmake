# The voice samples (resources/samples/*.wav) compiled into yomi6_voice as byte arrays, found by
# name through voice/sample_store.h. The source is regenerated whenever a .wav file changes,
# is added or removed.
file(GLOB yomi6_sample_files CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/resources/samples/*.wav)
list(LENGTH yomi6_sample_files yomi6_sample_count)
set(yomi6_sample_source ${CMAKE_CURRENT_BINARY_DIR}/generated/sample_data.cpp)
add_custom_command(
  OUTPUT ${yomi6_sample_source}
  COMMAND ${CMAKE_COMMAND} -DSAMPLE_DIR=${PROJECT_SOURCE_DIR}/resources/samples
          -DOUTPUT=${yomi6_sample_source} -P ${PROJECT_SOURCE_DIR}/cmake/EmbedSamples.cmake
  DEPENDS ${yomi6_sample_files} ${PROJECT_SOURCE_DIR}/cmake/EmbedSamples.cmake
  COMMENT "Embedding ${yomi6_sample_count} voice samples"
  VERBATIM)
target_sources(yomi6_voice PRIVATE ${yomi6_sample_source})
# Generated code: byte arrays only, not held to the warning flags of hand-written code.
set_source_files_properties(${yomi6_sample_source} PROPERTIES COMPILE_OPTIONS -w)
