#include "cli/export_names.h"

#include "export/export_job.h"
#include "export/marked_export.h"

namespace yomi6::cli {

std::string CheckExportNames(const Options& options) {
    if (options.mode != Mode::Export) {
        return "";
    }
    ExportOutputs outputs{options.exportOutput, options.subtitles, options.timings};
    if (options.chapterMarks && IsM4bPath(outputs.audio)) {
        outputs.audio += ".flac"; // made by ffmpeg from a FLAC file
    }
    std::string problem = yomi6::CheckExportNames(outputs);
    if (options.chapterMarks && problem.starts_with("the sound file's name")) {
        return "the sound file's name must end in .wav, .flac, .ogg, .opus, .mp3 or .m4b: '" +
               options.exportOutput + "'";
    }
    return problem;
}

} // namespace yomi6::cli
