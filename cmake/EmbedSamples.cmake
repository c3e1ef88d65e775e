# Script mode (cmake -P): writes OUTPUT, a C++ source that holds every SAMPLE_DIR/*.wav as a byte
# array, with a table sorted by name (the file name without ".wav") for binary search.
if(NOT SAMPLE_DIR OR NOT OUTPUT)
  message(FATAL_ERROR "EmbedSamples.cmake needs -DSAMPLE_DIR=... and -DOUTPUT=...")
endif()

file(GLOB files ${SAMPLE_DIR}/*.wav)
set(names "")
foreach(file IN LISTS files)
  get_filename_component(name ${file} NAME_WE)
  if(NOT name MATCHES "^[A-Za-z0-9_]+$")
    message(FATAL_ERROR "Sample file name is not a C identifier: ${file}")
  endif()
  list(APPEND names ${name})
endforeach()
list(SORT names COMPARE STRING CASE SENSITIVE)
list(LENGTH names count)

# CMake regular expressions have no {n}: spell out one line of 16 bytes.
string(REPEAT "0x..," 16 line_pattern)
set(arrays "")
set(rows "")
set(name_rows "")
foreach(name IN LISTS names)
  file(READ ${SAMPLE_DIR}/${name}.wav hex HEX)
  string(LENGTH "${hex}" hex_length)
  if(hex_length EQUAL 0)
    message(FATAL_ERROR "Empty sample file: ${SAMPLE_DIR}/${name}.wav")
  endif()
  math(EXPR size "${hex_length} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  # Break the byte list into lines of 16 bytes so that the source stays readable.
  string(REGEX REPLACE "(${line_pattern})" "\\1\n    " bytes "${bytes}")
  string(APPEND arrays "constexpr unsigned char k_${name}[${size}] = {\n    ${bytes}\n};\n")
  string(APPEND rows "    {\"${name}\", k_${name}, ${size}},\n")
  string(APPEND name_rows "    \"${name}\",\n")
endforeach()

set(content "// Generated from resources/samples/*.wav by cmake/EmbedSamples.cmake. Do not edit.
#include \"voice/sample_table.h\"

#include <array>
#include <string_view>

namespace yomi6::detail {
namespace {

${arrays}
constexpr std::array<SampleEntry, ${count}> kEntries = {{
${rows}}};

constexpr std::array<std::string_view, ${count}> kNames = {{
${name_rows}}};

} // namespace

std::span<const SampleEntry> SampleEntries() { return kEntries; }
std::span<const std::string_view> SampleEntryNames() { return kNames; }

} // namespace yomi6::detail
")

# Write beside the target and rename, so that an interrupted build leaves no torn source.
file(WRITE ${OUTPUT}.tmp "${content}")
file(RENAME ${OUTPUT}.tmp ${OUTPUT})
