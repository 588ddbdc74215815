#include "skin/SkinPackage.h"

#include <filesystem>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "base/ProgramFolders.h"

namespace SkinPackage {

const QList<CSkinCommand>& SkinCommands()
{
    static const QList<CSkinCommand> arrCommands = {
        { 32771, QStringLiteral("&Orange"), QStringLiteral("Orange.zip") },
        { 32772, QStringLiteral("&Black"), QStringLiteral("Black.zip") },
        { 32773, QStringLiteral("&Purple"), QStringLiteral("Purple.zip") },
        { 32774, QStringLiteral("Bl&ue"), QStringLiteral("Blue.zip") },
        { 32775, QStringLiteral("&Red"), QStringLiteral("Red.zip") },
        { 32776, QStringLiteral("&Gray"), QStringLiteral("Gray.zip") },
        { 32777, QStringLiteral("P&ink"), QStringLiteral("Pink.zip") },
        { 32778, QStringLiteral("&Deluxe"), QStringLiteral("Deluxe.zip") },
    };
    return arrCommands;
}

QStringList SearchFolders()
{
    QStringList arrFolders;
    for (const std::filesystem::path& folder : ProgramDataFolders())
        arrFolders.append(QString::fromStdString(folder.string()));
    // FindSkinPackage names a path in the first folder even when none has
    // the package.
    if (arrFolders.isEmpty())
        arrFolders.append(QDir::currentPath());
    return arrFolders;
}

QString FindSkinPackage(const QString& strFileName)
{
    const QStringList arrFolders = SearchFolders();
    for (const QString& strFolder : arrFolders) {
        const QString strPath = QDir(strFolder).filePath(strFileName);
        if (QFileInfo(strPath).isFile())
            return QDir::cleanPath(strPath);
    }
    return QDir(arrFolders.first()).filePath(strFileName);
}

QString CommandPackagePath(int nSkinIndex, const QString& strFolder)
{
    const QString& strPackage = SkinCommands().at(nSkinIndex).strPackage;
    return strFolder.isEmpty() ? FindSkinPackage(strPackage) : QDir(strFolder).filePath(strPackage);
}

namespace {

bool SameFile(const QString& strFirst, const QString& strSecond)
{
    const QString strCanonical = QFileInfo(strFirst).canonicalFilePath();
    return !strCanonical.isEmpty() && strCanonical == QFileInfo(strSecond).canonicalFilePath();
}

bool SameContent(const QString& strFirst, const QString& strSecond)
{
    QFile first(strFirst);
    QFile second(strSecond);
    if (first.size() != second.size() || !first.open(QIODevice::ReadOnly) || !second.open(QIODevice::ReadOnly))
        return false;
    return first.readAll() == second.readAll();
}

// Entries that the package marked read-only must not keep the folder on
// disk: a folder needs owner write and search permission for its entries to
// be deleted. Links are left as they are, so nothing outside is touched.
void MakeRemovable(const QString& strFolder)
{
    constexpr QFile::Permissions OWNER_ALL = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
    QFile::setPermissions(strFolder, QFile::permissions(strFolder) | OWNER_ALL);
    const QFileInfoList arrEntries =
        QDir(strFolder).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    for (const QFileInfo& info : arrEntries) {
        if (info.isSymLink())
            continue;
        if (info.isDir())
            MakeRemovable(info.filePath());
        else
            QFile::setPermissions(info.filePath(), info.permissions() | QFile::WriteOwner);
    }
}

} // namespace

int CommandIndexOf(const QString& strPackage, const QString& strFolder)
{
    const int nCommands = int(SkinCommands().size());
    // The command's own file first: two commands may share their bytes.
    for (int nIndex = 0; nIndex < nCommands; ++nIndex) {
        if (SameFile(strPackage, CommandPackagePath(nIndex, strFolder)))
            return nIndex;
    }
    for (int nIndex = 0; nIndex < nCommands; ++nIndex) {
        if (SameContent(strPackage, CommandPackagePath(nIndex, strFolder)))
            return nIndex;
    }
    return NO_SKIN_COMMAND;
}

bool RemoveSkinFolder(const QString& strFolder)
{
    if (!QFileInfo::exists(strFolder))
        return true;
    MakeRemovable(strFolder);
    return QDir(strFolder).removeRecursively();
}

} // namespace SkinPackage
