#include "voice_manager/natural_voice.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace yomi6 {

namespace {

// Where a program run from its build folder (build/src/yomi6) finds the source tree's voices.
QString SourceTreeVoices(const QString& programFolder) {
    return QDir::cleanPath(programFolder + QStringLiteral("/../../voices"));
}

QString InstalledVoices(const QString& programFolder) {
    return QDir::cleanPath(programFolder + QStringLiteral("/../share/yomi6/voices"));
}

} // namespace

NaturalInstall DefaultNaturalInstall() {
    return natural::RunInstallation();
}

QStringList InstalledKanaFolders() {
    const QString programFolder = QCoreApplication::applicationDirPath();
    QStringList folders;
    for (const QString& root : {InstalledVoices(programFolder), SourceTreeVoices(programFolder)}) {
        const QDir dir(root);
        for (const QFileInfo& info :
             dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
            const QDir voice(info.absoluteFilePath());
            if (!voice.entryList({QStringLiteral("*.wav")}, QDir::Files).isEmpty() &&
                !folders.contains(info.absoluteFilePath())) {
                folders << info.absoluteFilePath();
            }
        }
    }
    return folders;
}

QString NaturalVoiceLabel(natural::Variant variant) {
    return variant == natural::Variant::Lowered
               ? QString::fromUtf8("tohoku-f01 低め（同じ女声を低くしたもの）")
               : QString::fromUtf8("tohoku-f01（自然な声）");
}

QString StyleLabel(natural::Style style) {
    switch (style) {
    case natural::Style::Happy:
        return QString::fromUtf8("喜び");
    case natural::Style::Sad:
        return QString::fromUtf8("悲しみ");
    case natural::Style::Angry:
        return QString::fromUtf8("怒り");
    case natural::Style::Neutral:
        break;
    }
    return QString::fromUtf8("標準");
}

NaturalSetup SetUpNaturalVoice(const NaturalInstall& install, const natural::VoiceChoice& choice,
                               int speed) {
    const natural::VoiceSetup setup = natural::SetUpVoice(install, choice, speed);
    if (setup.CanSpeak()) {
        return {setup.engine, {}};
    }
    return {std::nullopt, NaturalMissingText(setup)};
}

QString NaturalMissingText(const natural::VoiceSetup& setup) {
    switch (setup.missing) {
    case natural::MissingPiece::None:
        return {};
    case natural::MissingPiece::VoiceFile:
        return NaturalVoiceFileMissing(setup) + QString::fromUtf8("内蔵の声で読みます。");
    case natural::MissingPiece::Engine:
        break;
    }
    return QString::fromUtf8("自然な声には読み上げエンジン %1 とその辞書 %2 が要ります"
                             "（apt-get install %3）。内蔵の声で読みます。")
        .arg(QString::fromStdString(setup.engine.engine),
             QString::fromStdString(setup.engine.dictionary),
             QString::fromLatin1(natural::kEnginePackages.data(),
                                 static_cast<qsizetype>(natural::kEnginePackages.size())));
}

QString NaturalVoiceFileMissing(const natural::VoiceSetup& setup) {
    const QString file = QString::fromStdString(setup.voiceFile);
    if (!setup.engine.voiceFile.empty()) {
        return QString::fromUtf8("自然な声の音声ファイル %1 を読めません。").arg(file);
    }
    QStringList folders;
    for (const std::string& folder : setup.searched) {
        folders << QString::fromStdString(folder);
    }
    return QString::fromUtf8("自然な声の音声ファイル %1 が %2 のどこにもありません。")
        .arg(file, folders.join(QString::fromUtf8("、")));
}

} // namespace yomi6
