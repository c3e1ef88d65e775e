#include "voices/natural_voice.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdlib>

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
    NaturalInstall install;
    if (const char* dir = std::getenv("YOMI6_NATURAL_VOICE_DIR"); dir != nullptr) {
        install.voiceFolder = dir;
    }
    const QString exe = QCoreApplication::applicationFilePath();
    install.searchFolders = natural::DefaultVoiceFolders(exe.toStdString());
    const QString name = QString::fromLatin1(natural::kVoiceName.data(),
                                             static_cast<qsizetype>(natural::kVoiceName.size()));
    install.searchFolders.push_back(
        (SourceTreeVoices(QFileInfo(exe).absolutePath()) + QLatin1Char('/') + name).toStdString());
    return install;
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
    natural::EngineSetup setup;
    setup.engine = install.engine;
    setup.dictionary = install.dictionary;
    setup.voiceFile =
        natural::FindVoiceFile(choice.style, install.voiceFolder, install.searchFolders);
    setup.rate = natural::RateForSpeed(speed);
    setup.variant = choice.variant;
    if (natural::MissingPieces(setup).empty()) {
        return {setup, {}};
    }
    const QFileInfo engine(QString::fromStdString(setup.engine));
    const QFileInfo dictionary(QString::fromStdString(setup.dictionary + "/sys.dic"));
    if (engine.isFile() && engine.isExecutable() && dictionary.isReadable()) {
        // The engine is there: what is missing is the voice file.
        const QString file =
            setup.voiceFile.empty()
                ? QStringLiteral("tohoku-f01-%1.htsvoice")
                      .arg(QString::fromLatin1(natural::StyleName(choice.style).data()))
                : QString::fromStdString(setup.voiceFile);
        return {std::nullopt,
                QString::fromUtf8("自然な声の音声ファイル %1 が見つからないか読めません。"
                                  "内蔵の声で読みます。")
                    .arg(file)};
    }
    return {std::nullopt,
            QString::fromUtf8("自然な声には読み上げエンジン %1 とその辞書 %2 が要ります"
                              "（apt-get install %3）。内蔵の声で読みます。")
                .arg(QString::fromStdString(setup.engine), QString::fromStdString(setup.dictionary),
                     QString::fromLatin1(natural::kEnginePackages.data(),
                                         static_cast<qsizetype>(natural::kEnginePackages.size())))};
}

} // namespace yomi6
