// yomi6: the editor, or a command-line mode when one is named. The modes that need no Qt run
// here without loading it; the editor, --speak and --pdf are handed to yomi6-qt
// (cli/qt_program.h), which replaces this process.
#include "cli/cli_main.h"
#include "cli/qt_program.h"

int main(int argc, char** argv) {
    return yomi6::cli::RunProgram(argc, argv,
                                  [](int, char** args, const yomi6::cli::Options& options) {
                                      return yomi6::cli::ExecQtProgram(options.mode, args);
                                  });
}
