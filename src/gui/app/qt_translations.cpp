#include "app/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

namespace yomi6 {

namespace {

// The catalogue of the Qt modules whose texts the user meets (qtbase_ja.qm): the widgets'
// dialogs and menus. The other modules' catalogues hold nothing the editor shows.
constexpr const char* kCatalogue = "qtbase";

} // namespace

QString QtTranslationsFolder() {
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

std::unique_ptr<QTranslator> InstallQtTranslations(const QString& folder) {
    auto translator = std::make_unique<QTranslator>();
    const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    if (!translator->load(japanese, QString::fromLatin1(kCatalogue), QStringLiteral("_"), folder) ||
        !QCoreApplication::installTranslator(translator.get())) {
        return nullptr;
    }
    return translator;
}

} // namespace yomi6
