#include "voice/voice_report_text.h"

namespace yomi6 {

const char* UnitProblemText(UnitProblem problem) {
    switch (problem) {
    case UnitProblem::None:
        return "usable";
    case UnitProblem::Missing:
        return "missing";
    case UnitProblem::NotRegularFile:
        return "not a regular file";
    case UnitProblem::BrokenLink:
        return "broken link";
    case UnitProblem::OpenFailed:
        return "cannot be opened";
    case UnitProblem::ReadFailed:
        return "cannot be read";
    case UnitProblem::TooLarge:
        return "too large";
    case UnitProblem::BadWave:
        return "not a usable WAVE file";
    case UnitProblem::TooLong:
        return "too long";
    }
    return "unknown";
}

std::string FolderProblemText(const VoiceFolderReport& report) {
    switch (report.folderProblem) {
    case FolderProblem::None:
        return {};
    case FolderProblem::NotFound:
        return "does not exist";
    case FolderProblem::NotADirectory:
        return report.folderDetail.empty() || report.folderDetail == "not a folder"
                   ? "is not a folder"
                   : "is not a folder but " + report.folderDetail;
    case FolderProblem::Unreadable:
        return "cannot be read: " + report.folderDetail;
    }
    return {};
}

std::string FormatVoiceReport(const VoiceFolderReport& report) {
    std::string out = "Voice folder: " + report.folder + "\n";
    if (report.folderProblem != FolderProblem::None) {
        out += "The folder " + FolderProblemText(report) + "\n";
        out += "All units: the built-in voice speaks them.\n";
        return out;
    }
    const std::size_t usable = report.UsableCount();
    const std::size_t missing = report.MissingCount();
    const std::size_t unusable = report.units.size() - usable - missing;
    out += "Units: " + std::to_string(report.units.size()) + " (" + std::to_string(usable) +
           " usable, " + std::to_string(missing) + " missing, " + std::to_string(unusable) +
           " unusable)\n";
    if (report.cancelled) {
        out += "Loading was cancelled; units not reached count as missing.\n";
    }
    if (missing != 0) {
        out += "Missing (the built-in voice speaks them):";
        for (const UnitReport& unit : report.units) {
            if (unit.problem == UnitProblem::Missing) {
                out += " " + std::string(unit.suffix);
            }
        }
        out += "\n";
    }
    if (unusable != 0) {
        out += "Unusable (the built-in voice speaks them):\n";
        for (const UnitReport& unit : report.units) {
            if (unit.problem != UnitProblem::None && unit.problem != UnitProblem::Missing) {
                out += "  " + unit.file + ": " + UnitProblemText(unit.problem);
                if (!unit.detail.empty()) {
                    out += ": " + unit.detail;
                }
                out += "\n";
            }
        }
    }
    if (!report.ignoredFiles.empty()) {
        out += "Ignored:\n";
        for (const std::string& line : report.ignoredFiles) {
            out += "  " + line + "\n";
        }
    }
    return out;
}

} // namespace yomi6
