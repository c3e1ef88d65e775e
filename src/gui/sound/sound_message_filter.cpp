#include "sound/sound_message_filter.h"

#include <QString>
#include <QtGlobal>

#include <cstring>
#include <mutex>
#include <string_view>

namespace yomi6 {

namespace {

// The handler installed before this one, which every other message is passed on to. Qt calls
// a message handler with no context of its own, and the handler is one for the process, so
// what it passes on to has to be process-wide too; it is written once, when it is installed.
// NOLINTNEXTLINE(cppcoreguidelines-avoid-non-const-global-variables)
QtMessageHandler g_previousHandler = nullptr;

bool IsSoundBackendNoise(const QMessageLogContext& context, const QString& message) {
    static constexpr std::string_view kCategory = "qt.multimedia";
    static constexpr const char* kPrefixes[] = {
        "PulseAudioService:", "Stream error:", "QAudioSink:", "pa_stream"};
    if (context.category != nullptr && std::string_view(context.category).starts_with(kCategory)) {
        return true;
    }
    // Some arrive quoted, written as a string through the debug stream.
    const QStringView text =
        message.startsWith(QLatin1Char('"')) ? QStringView(message).mid(1) : QStringView(message);
    for (const char* prefix : kPrefixes) {
        if (text.startsWith(QLatin1String(prefix))) {
            return true;
        }
    }
    return false;
}

void FilterSoundMessages(QtMsgType type, const QMessageLogContext& context,
                         const QString& message) {
    if (type != QtFatalMsg && IsSoundBackendNoise(context, message)) {
        return;
    }
    if (g_previousHandler != nullptr) {
        g_previousHandler(type, context, message);
    }
}

} // namespace

void InstallSoundMessageFilter() {
    static std::once_flag once;
    std::call_once(once, [] { g_previousHandler = qInstallMessageHandler(FilterSoundMessages); });
}

} // namespace yomi6
