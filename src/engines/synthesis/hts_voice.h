// The natural voice loaded once per run: its four styles in one model set, shared read only by
// the synthesizer of every worker thread.
#pragma once

#include "natural/engine_setup.h"

#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace yomi6::synthesis {

struct HtsModel;

// The styles in the order the voice holds them: the index of a style's interpolation weight.
inline constexpr std::array<natural::Style, 4> kVoiceStyles{
    natural::Style::Neutral, natural::Style::Happy, natural::Style::Sad, natural::Style::Angry};

std::size_t StyleIndex(natural::Style style);

// The voice file of each style (in kVoiceStyles' order) as the natural voice finds it: in
// explicitFolder when one is given, else in the first of searchFolders that holds it
// (natural::FindVoiceFile); "" for a style none holds.
std::array<std::string, kVoiceStyles.size()>
StyleVoiceFiles(const std::string& explicitFolder, const std::vector<std::string>& searchFolders);

class HtsVoice {
public:
    struct Loaded {
        std::shared_ptr<const HtsVoice> voice; // null when it could not be loaded
        std::string error;                     // one line for the user naming the file
    };

    // Loads the four style voices (files in kVoiceStyles' order), which must agree in their
    // streams, rate and frame period, as the engine checks.
    static Loaded Load(const std::array<std::string, kVoiceStyles.size()>& styleFiles);

    ~HtsVoice();
    HtsVoice(const HtsVoice&) = delete;
    HtsVoice& operator=(const HtsVoice&) = delete;
    HtsVoice(HtsVoice&&) = delete;
    HtsVoice& operator=(HtsVoice&&) = delete;

    int SampleRate() const;
    int FramePeriod() const; // output frames per engine frame (240 at 48000 Hz: 5 ms)
    std::string_view LabelFormat() const;
    const HtsModel& Model() const { return *model_; }

private:
    explicit HtsVoice(std::unique_ptr<HtsModel> model);

    std::unique_ptr<HtsModel> model_;
};

} // namespace yomi6::synthesis
