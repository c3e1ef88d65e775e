// Qt's own texts in Japanese: the standard buttons of message boxes, the file, font and print
// dialogs, the edit controls' context menus. The whole program speaks Japanese, so they are
// loaded whatever the locale says.
#pragma once

#include <QString>
#include <QTranslator>

#include <memory>

namespace yomi6 {

// The folder Qt's translations are installed in.
QString QtTranslationsFolder();

// Loads Qt's Japanese catalogue from folder and installs it in the application; the texts stay
// Japanese while the returned translator lives. nullptr (the texts stay Qt's own) when the
// folder holds no such catalogue or it cannot be read: that costs the user nothing else.
std::unique_ptr<QTranslator> InstallQtTranslations(const QString& folder);

} // namespace yomi6
