#pragma once

#include <QString>
#include <QStringList>

// Where skin packages are looked for, how the working folder is removed, and
// the eight skin commands of the "&Change Skin" menu.
namespace SkinPackage {

// The name of the folder every package is extracted into.
inline const QString WORK_FOLDER_NAME = QStringLiteral("Test");
// The description inside the extracted folder.
inline const QString DESCRIPTION_NAME = QStringLiteral("Skin.ini");

struct CSkinCommand
{
    int nCommandId;
    QString strMenuText;
    QString strPackage;
};

inline constexpr int FIRST_SKIN_COMMAND = 32771;
// The skin index of a skin that came from none of the commands' packages.
inline constexpr int NO_SKIN_COMMAND = -1;

// The eight skin commands in menu order; the position is the skin index.
const QList<CSkinCommand>& SkinCommands();

// The folders searched for a package, in order: the current directory, the
// program's folder, then the data folder of an installed copy, found from the
// program's folder.
QStringList SearchFolders();

// The full path of the first package of that name in the search folders; when
// none has it, the path it would have in the current directory, so opening it
// fails with the usual message.
QString FindSkinPackage(const QString& strFileName);

// Where the skin command at nSkinIndex takes its package from: strFolder,
// or the search folders when strFolder is empty.
QString CommandPackagePath(int nSkinIndex, const QString& strFolder);

// The skin index of the command whose package is strPackage itself or holds
// the same bytes (a package installed under a second name); packages are
// looked up as CommandPackagePath does. NO_SKIN_COMMAND when none is.
int CommandIndexOf(const QString& strPackage, const QString& strFolder);

// Deletes the extracted folder with everything in it, sub-folders included,
// even entries that the package marked read-only. Returns false when
// something stayed on disk.
bool RemoveSkinFolder(const QString& strFolder);

} // namespace SkinPackage
