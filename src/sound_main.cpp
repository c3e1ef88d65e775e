// yomi6-sound: the modes that need the sound libraries but no Qt (--units, --wav, --export,
// --check-voice), which yomi6 hands over to it with its own arguments; given another mode, it
// runs that as yomi6 does, and hands the modes that need Qt to yomi6-qt.
#include "cli/cli_main.h"
#include "cli/qt_program.h"

int main(int argc, char** argv) {
    return yomi6::cli::RunProgram(argc, argv, [](int, char** args, const yomi6::cli::Options& o) {
        return yomi6::cli::ExecHelper(yomi6::cli::kQtProgramName, o.mode, args);
    });
}
