// A fall of the volume over a stretch of the stream, for a reading that ends gently (the sleep
// timer): from full at one frame down to a floor over a number of frames, held at the floor,
// and full again from the frame where it ends. No Qt and no clock: frames of the stream only.
#pragma once

#include <cstdint>
#include <limits>
#include <span>

namespace yomi6 {

class VolumeFade {
public:
    static constexpr std::int32_t kFull = 32768; // gains are in 1/32768

    // Falls from frame from on, over frames frames (at least 1), down to floor (0..kFull), and
    // holds there until End.
    void Begin(std::int64_t from, std::int64_t frames, std::int32_t floor);
    // Full volume again from frame at on (nothing when no fade is under way).
    void End(std::int64_t at);
    void Clear() { *this = VolumeFade(); }

    // Whether a fade has begun and not been given an end.
    bool UnderWay() const { return m_from != kNever && m_until == kNever; }
    // Whether frame f is heard at less than full volume.
    bool Lowers(std::int64_t f) const { return f >= m_from && f < m_until; }
    // The gain of frame f, in 1/32768.
    std::int32_t GainAt(std::int64_t f) const;
    // Applies the gains to frames, the stream's frames [first, first + frames.size()).
    void Apply(std::span<std::int16_t> frames, std::int64_t first) const;

private:
    static constexpr std::int64_t kNever = std::numeric_limits<std::int64_t>::max();
    std::int64_t m_from = kNever;
    std::int64_t m_until = kNever;
    std::int64_t m_frames = 1;
    std::int32_t m_floor = kFull;
};

} // namespace yomi6
