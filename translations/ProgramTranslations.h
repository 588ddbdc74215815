#pragma once

#include <QStringList>

class QCoreApplication;

// The user's language for a program: Qt's own catalogue, so standard
// dialogs and buttons follow, and the program's catalogues, which lie in a
// "translations" folder beside the program, or in its data folder once
// installed.
namespace ProgramTranslations {

// Installs, for the languages QLocale() names, Qt's own catalogue and each
// named catalogue found; a language without a catalogue keeps the English
// texts of the sources. The translators live as long as the application.
void Install(QCoreApplication& application, const QStringList& arrCatalogues);

// Where the program's catalogues are looked for, nearest first.
QStringList Folders();

} // namespace ProgramTranslations
