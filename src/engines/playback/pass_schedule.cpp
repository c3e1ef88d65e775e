#include "playback/pass_schedule.h"

#include "playback/speech_pass.h"

namespace yomi6 {

std::vector<std::string_view> PassSchedule(const SpeechState& state) {
    return PassSchedule(state, state);
}

std::vector<std::string_view> PassSchedule(const SpeechPreferences& preferences,
                                           const SpeechTickState& session) {
    std::vector<std::string_view> schedule;
    RunPass(preferences, session, [&](const TickResult& tick) {
        schedule.push_back(tick.sample.empty() ? kSilentTick : tick.sample);
    });
    return schedule;
}

} // namespace yomi6
