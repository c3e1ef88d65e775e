// The 282 recorded voice samples, compiled into the program and found by name.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

namespace yomi6 {

// A whole RIFF/WAVE file image held in the program's memory.
struct SampleImage {
    const unsigned char* data = nullptr;
    std::size_t size = 0;
    explicit operator bool() const { return data != nullptr; }
};

// The image of the sample named name ("IDF_KA", "IDW_S", ...), or an empty image when the
// program holds no sample of that name. No file is read: the images are part of the binary.
SampleImage FindSample(std::string_view name);

// The names of all samples held, in a fixed order.
std::span<const std::string_view> SampleNames();

} // namespace yomi6
