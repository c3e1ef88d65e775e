// The speech settings dialog and the word registration dialog, offscreen, in one binary. Both
// classes play on one sound thread, which outlives them.
#include "sound/sound_backend.h"

#include <QApplication>

int RunSpeechSettingsDialogTests(int argc, char** argv, yomi6::SoundBackend& sound);
int RunWordDialogTests(int argc, char** argv, yomi6::SoundBackend& sound);

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    yomi6::SoundBackend sound;
    int failures = RunSpeechSettingsDialogTests(argc, argv, sound);
    failures += RunWordDialogTests(argc, argv, sound);
    return failures == 0 ? 0 : 1;
}
