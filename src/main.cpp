// yomi6: the editor, or a command-line mode when one is named. The light modes (--help,
// --version, --reading, --schedule, --labels) run here, loading neither Qt nor the sound
// libraries; the others are handed to yomi6-qt or yomi6-sound (cli/qt_program.h), which
// replaces this process.
#include "cli/cli_main.h"

int main(int argc, char** argv) {
    return yomi6::cli::RunLightProgram(argc, argv);
}
