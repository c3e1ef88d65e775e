// The engine's model set as the voice holds it: only the synthesis library's own files include
// this header, and with it the engine's.
#pragma once

#include <HTS_engine.h>

#include <cstddef>

namespace yomi6::synthesis {

// The engine's stream of log-F0, whose frames are voiced or not: the voice's streams are the
// spectrum, log-F0 and the excitation's low-pass filter, as the engine itself takes them.
inline constexpr std::size_t kLogF0Stream = 1;

// The engine the voices were loaded into: its model set is shared by every worker's engine,
// read only, and its condition holds the defaults the voice files set (rate, frame period,
// all-pass constant, thresholds).
struct HtsModel {
    HTS_Engine loader{};

    HtsModel() { HTS_Engine_initialize(&loader); }
    ~HtsModel() { HTS_Engine_clear(&loader); }
    HtsModel(const HtsModel&) = delete;
    HtsModel& operator=(const HtsModel&) = delete;
    HtsModel(HtsModel&&) = delete;
    HtsModel& operator=(HtsModel&&) = delete;
};

} // namespace yomi6::synthesis
