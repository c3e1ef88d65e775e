// The speech settings dialog and the word registration dialog, offscreen, in one binary.
#include <QApplication>

int RunSpeechSettingsDialogTests(int argc, char** argv);
int RunWordDialogTests(int argc, char** argv);

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int failures = RunSpeechSettingsDialogTests(argc, argv);
    failures += RunWordDialogTests(argc, argv);
    return failures == 0 ? 0 : 1;
}
