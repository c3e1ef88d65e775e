#include "synthesis/hts_voice.h"

#include "synthesis/hts_model.h"

#include <algorithm>
#include <unistd.h>

namespace yomi6::synthesis {

std::size_t StyleIndex(natural::Style style) {
    const auto* found = std::find(kVoiceStyles.begin(), kVoiceStyles.end(), style);
    return found == kVoiceStyles.end() ? 0 : static_cast<std::size_t>(found - kVoiceStyles.begin());
}

std::array<std::string, kVoiceStyles.size()>
StyleVoiceFiles(const std::string& explicitFolder, const std::vector<std::string>& searchFolders) {
    std::array<std::string, kVoiceStyles.size()> files;
    for (std::size_t i = 0; i < kVoiceStyles.size(); ++i) {
        files[i] = natural::FindVoiceFile(kVoiceStyles[i], explicitFolder, searchFolders);
    }
    return files;
}

HtsVoice::Loaded HtsVoice::Load(const std::array<std::string, kVoiceStyles.size()>& styleFiles) {
    // What the engine would only print to standard error is said here, naming the file.
    for (std::size_t i = 0; i < styleFiles.size(); ++i) {
        if (styleFiles[i].empty()) {
            return {nullptr, "the natural voice's file " + std::string(natural::kVoiceName) + "-" +
                                 std::string(natural::StyleName(kVoiceStyles[i])) +
                                 ".htsvoice is not installed"};
        }
        if (::access(styleFiles[i].c_str(), R_OK) != 0) {
            return {nullptr, "the natural voice's file " + styleFiles[i] + " cannot be read"};
        }
    }
    auto model = std::make_unique<HtsModel>();
    std::array<std::string, kVoiceStyles.size()> names = styleFiles;
    std::array<char*, kVoiceStyles.size()> paths{};
    std::transform(names.begin(), names.end(), paths.begin(),
                   [](std::string& name) { return name.data(); });
    if (HTS_Engine_load(&model->loader, paths.data(), paths.size()) != TRUE) {
        return {nullptr, "the natural voice's files in the folder of " + styleFiles[0] +
                             " are not voices of one speaker the engine can load"};
    }
    return {std::shared_ptr<const HtsVoice>(new HtsVoice(std::move(model))), ""};
}

HtsVoice::HtsVoice(std::unique_ptr<HtsModel> model) : model_(std::move(model)) {}

HtsVoice::~HtsVoice() = default;

int HtsVoice::SampleRate() const {
    return static_cast<int>(model_->loader.condition.sampling_frequency);
}

int HtsVoice::FramePeriod() const {
    return static_cast<int>(model_->loader.condition.fperiod);
}

std::string_view HtsVoice::LabelFormat() const {
    const char* format = model_->loader.ms.fullcontext_format;
    return format == nullptr ? std::string_view() : std::string_view(format);
}

} // namespace yomi6::synthesis
