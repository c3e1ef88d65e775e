// The report of a voice folder as the voice dialog shows it, in Japanese.
#pragma once

#include "voice/voice_folder.h"

#include <QString>

namespace yomi6 {

QString VoiceReportText(const VoiceFolderReport& report);

} // namespace yomi6
