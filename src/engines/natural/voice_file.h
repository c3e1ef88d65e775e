// Whether a voice file (.htsvoice) can be used, told from its header before the engine is run
// with it: a file that is not a voice, or is cut short, would make every run of the engine fail.
#pragma once

#include <string>

namespace yomi6::natural {

// "" when the file at path is a whole voice: a header that starts "[GLOBAL]" with a
// HTS_VOICE_VERSION, a [POSITION] section with the duration's model and tree, and a [DATA]
// section that holds every byte range the positions name. Else why not, in a few words
// ("is not a voice file", "is cut short", "cannot be opened (...)").
std::string VoiceFileProblem(const std::string& path);

} // namespace yomi6::natural
