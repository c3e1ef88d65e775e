#include "engine/engine_choice.h"

#include "voice/sample_edit.h"

#include <algorithm>

namespace yomi6 {

std::optional<natural::VoiceChoice> NaturalVoiceOf(const EngineRequest& request) {
    std::optional<natural::VoiceChoice> choice = natural::ParseVoiceChoice(request.slotValue);
    if (!choice) {
        if (!request.naturalAsked) {
            return std::nullopt;
        }
        choice = natural::VoiceChoice{request.maleSlot ? natural::Variant::Lowered
                                                       : natural::Variant::AsRecorded,
                                      natural::Style::Neutral};
    }
    if (request.style) {
        choice->style = *request.style;
    }
    return choice;
}

natural::VoiceControls VoiceControlsOf(const NaturalControls& stored) {
    const NaturalControls kept = ClampedControls(stored);
    return {static_cast<double>(kept.halfTones), kept.intonationTenths / 10.0,
            kept.styleWeightPercent / 100.0};
}

std::optional<EngineRequest> DialogueRequestOf(const EngineRequest& narrator, DialogueVoice voice,
                                               const std::string& otherSlotValue) {
    EngineRequest request = narrator;
    switch (voice) {
    case DialogueVoice::Off:
        return std::nullopt;
    case DialogueVoice::OtherSlot:
        request.maleSlot = !narrator.maleSlot;
        request.slotValue = otherSlotValue;
        request.style.reset(); // the other slot's own
        return request;
    case DialogueVoice::Happy:
    case DialogueVoice::Sad:
    case DialogueVoice::Angry:
        request.naturalAsked = true;
        request.style = voice == DialogueVoice::Happy ? natural::Style::Happy
                        : voice == DialogueVoice::Sad ? natural::Style::Sad
                                                      : natural::Style::Angry;
        return request;
    }
    return std::nullopt;
}

ChosenEngine ChooseEngine(const natural::Installation& installation, const EngineRequest& request) {
    ChosenEngine chosen;
    chosen.natural = NaturalVoiceOf(request);
    if (!chosen.natural) {
        return chosen;
    }
    // The voice is said in our own process: no engine program is needed, only the voice
    // file and the dictionary with accents.
    natural::Installation inProcess = installation;
    inProcess.engine.clear();
    chosen.setup = natural::SetUpVoice(inProcess, *chosen.natural, request.speed);
    if (!chosen.setup.CanSpeak()) {
        return chosen; // what is missing named as the voice said in our own process needs it
    }
    // The program, for the editor's reading, which still runs it (NaturalPass).
    chosen.setup.engine.engine = installation.engine;
    chosen.setup.engine.controls = request.controls;
    natural::NaturalPassOptions& pass = chosen.pass;
    pass.synthesis.setup = chosen.setup.engine;
    pass.synthesis.outputRate = request.outputRate > 0 ? request.outputRate : kNaturalVoiceRate;
    pass.synthesis.level = BuiltInVoiceLevel();
    pass.synthesis.analyzerFolder = request.analyzerFolder;
    pass.pauses = ClampedPauses(request.pauses);
    pass.workers = std::clamp(request.workers, 1u, natural::kMaxWorkers);
    pass.ahead = 2 * static_cast<std::size_t>(pass.workers);
    return chosen;
}

} // namespace yomi6
