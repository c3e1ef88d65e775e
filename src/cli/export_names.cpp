#include "cli/export_names.h"

#include "export/export_job.h"

namespace yomi6::cli {

std::string CheckExportNames(const Options& options) {
    if (options.mode != Mode::Export) {
        return "";
    }
    return yomi6::CheckExportNames(
        ExportOutputs{options.exportOutput, options.subtitles, options.timings});
}

} // namespace yomi6::cli
