// yomi6-qt: the modes that need Qt (the editor, --speak, --pdf), which yomi6 hands over to it
// with its own arguments; given another mode, it runs that as yomi6 does.
#include "app/editor_main.h"
#include "cli/cli_main.h"
#include "cli/cli_options.h"
#include "cli/interrupt_cleanup.h"
#include "cli/qt/mode_pdf.h"
#include "cli/qt/mode_speak.h"

namespace {

int RunQtMode(int argc, char** argv, const yomi6::cli::Options& options) {
    using yomi6::cli::Mode;
    if (options.mode != Mode::Editor) {
        // A mode ended by a signal leaves none of the files it was writing.
        yomi6::cli::RemoveTemporariesOnInterrupt();
    }
    switch (options.mode) {
    case Mode::Speak:
        return yomi6::RunSpeakMode(argc, argv, options);
    case Mode::Pdf:
        return yomi6::RunPdfMode(argc, argv, options);
    default:
        return yomi6::RunEditor(argc, argv, options.editorFiles);
    }
}

} // namespace

int main(int argc, char** argv) {
    return yomi6::cli::RunProgram(argc, argv, RunQtMode);
}
