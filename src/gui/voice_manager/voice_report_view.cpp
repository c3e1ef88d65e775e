#include "voice_manager/voice_report_view.h"

namespace yomi6 {

namespace {

QString ProblemText(UnitProblem problem) {
    switch (problem) {
    case UnitProblem::None:
        return QString::fromUtf8("使えます");
    case UnitProblem::Missing:
        return QString::fromUtf8("ありません");
    case UnitProblem::NotRegularFile:
        return QString::fromUtf8("普通のファイルではありません");
    case UnitProblem::BrokenLink:
        return QString::fromUtf8("リンク先がありません");
    case UnitProblem::OpenFailed:
        return QString::fromUtf8("開けません");
    case UnitProblem::ReadFailed:
        return QString::fromUtf8("読めません");
    case UnitProblem::TooLarge:
        return QString::fromUtf8("大きすぎます");
    case UnitProblem::BadWave:
        return QString::fromUtf8("WAVEファイルとして読めません");
    case UnitProblem::TooLong:
        return QString::fromUtf8("長すぎます");
    }
    return {};
}

} // namespace

QString VoiceReportText(const VoiceFolderReport& report) {
    QString text = QString::fromUtf8("フォルダ: %1\n").arg(QString::fromStdString(report.folder));
    switch (report.folderProblem) {
    case FolderProblem::None:
        break;
    case FolderProblem::NotFound:
        return text + QString::fromUtf8("フォルダがありません。すべての音を内蔵の声で話します。\n");
    case FolderProblem::NotADirectory:
        return text +
               QString::fromUtf8("フォルダではありません。すべての音を内蔵の声で話します。\n");
    case FolderProblem::Unreadable:
        return text +
               QString::fromUtf8("フォルダを読めません (%1)。すべての音を内蔵の声で話します。\n")
                   .arg(QString::fromStdString(report.folderDetail));
    }
    const std::size_t usable = report.UsableCount();
    const std::size_t missing = report.MissingCount();
    text += QString::fromUtf8("%1 音のうち 使える音 %2、ない音 %3、使えない音 %4\n")
                .arg(report.units.size())
                .arg(usable)
                .arg(missing)
                .arg(report.units.size() - usable - missing);
    if (missing != 0) {
        text += QString::fromUtf8("ない音 (内蔵の声で話します):");
        for (const UnitReport& unit : report.units) {
            if (unit.problem == UnitProblem::Missing) {
                text += QLatin1Char(' ') +
                        QString::fromLatin1(unit.suffix.data(),
                                            static_cast<qsizetype>(unit.suffix.size()));
            }
        }
        text += QLatin1Char('\n');
    }
    for (const UnitReport& unit : report.units) {
        if (unit.problem == UnitProblem::None || unit.problem == UnitProblem::Missing) {
            continue;
        }
        text += QString::fromUtf8("使えない音 %1: %2")
                    .arg(QString::fromStdString(unit.file), ProblemText(unit.problem));
        if (unit.problem == UnitProblem::TooLong) {
            // In frames, exactly: rounded seconds could make it look within the limit.
            text +=
                QString::fromUtf8(" (%1 Hz で %2 フレーム。1 つの音は %3 フレーム (%4 秒) まで)")
                    .arg(unit.sampleRate)
                    .arg(static_cast<qulonglong>(unit.frames))
                    .arg(static_cast<qulonglong>(MaxUnitFrames({}, unit.sampleRate)))
                    .arg(VoiceLoadLimits{}.maxSeconds);
        } else if (!unit.detail.empty()) {
            text += QStringLiteral(" (") + QString::fromStdString(unit.detail) + QLatin1Char(')');
        }
        text += QLatin1Char('\n');
    }
    for (const std::string& ignored : report.ignoredFiles) {
        text += QString::fromUtf8("使わないファイル: ") + QString::fromStdString(ignored) +
                QLatin1Char('\n');
    }
    return text;
}

} // namespace yomi6
