#include "skin/SkinPath.h"

#include <QDir>
#include <QFileInfo>
#include <QtDebug>

namespace {

// The entry of dir whose name equals strPart without regard to case, or a
// null string when there is none. Entries are sorted so the choice between
// names differing only in case is stable.
QString FindEntryIgnoringCase(const QDir& dir, const QString& strPart)
{
    const QStringList arrEntries = dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
    for (const QString& strEntry : arrEntries) {
        if (strEntry.compare(strPart, Qt::CaseInsensitive) == 0)
            return strEntry;
    }
    return {};
}

// Whether strPath, with every link and ".." resolved as opening it resolves
// them, is the folder strFolderCanonical or lies below it.
bool LiesInside(const QString& strPath, const QString& strFolderCanonical)
{
    const QString strCanonical = QFileInfo(strPath).canonicalFilePath();
    return !strFolderCanonical.isEmpty()
        && (strCanonical == strFolderCanonical || strCanonical.startsWith(strFolderCanonical + u'/'));
}

// The path of an existing file matching strRelative level by level without
// regard to case; a null string when some level has no match. A folder
// level that leads out of the skin folder is not listed: its path is
// returned as found.
QString FindIgnoringCase(const QString& strFolder, const QString& strFolderCanonical, const QString& strRelative)
{
    QDir dir(strFolder);
    const QStringList arrParts = strRelative.split(u'/', Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < arrParts.size(); ++i) {
        const QString& strPart = arrParts[i];
        const QString strFound =
            QFileInfo::exists(dir.filePath(strPart)) ? strPart : FindEntryIgnoringCase(dir, strPart);
        if (strFound.isNull())
            return {};
        if (i + 1 == arrParts.size())
            return dir.filePath(strFound);
        if (!dir.cd(strFound))
            return {};
        if (!LiesInside(dir.path(), strFolderCanonical))
            return dir.path();
    }
    return {};
}

// Whether the name leads out of the folder before any link is followed.
bool ClimbsOut(const QString& strRelative)
{
    const QString strClean = QDir::cleanPath(strRelative);
    return QDir::isAbsolutePath(strClean) || strClean == u".." || strClean.startsWith(u"../");
}

} // namespace

CSkinFileLookup LookUpSkinFile(const QString& strFolder, const QString& strName)
{
    QString strRelative = strName;
    strRelative.replace(u'\\', u'/');
    if (ClimbsOut(strRelative))
        return { ESkinFileLookup::eOutside, QString() };
    const QString strExact = QDir(strFolder).filePath(strRelative);
    const QString strFolderCanonical = QFileInfo(strFolder).canonicalFilePath();
    const QString strFound =
        QFileInfo::exists(strExact) ? strExact : FindIgnoringCase(strFolder, strFolderCanonical, strRelative);
    if (strFound.isNull())
        return { ESkinFileLookup::eMissing, QDir(strFolder).filePath(QDir::cleanPath(strRelative)) };
    if (QFileInfo(strFound).canonicalFilePath() == strFolderCanonical)
        return { ESkinFileLookup::eMissing, strExact };
    if (!LiesInside(strFound, strFolderCanonical))
        return { ESkinFileLookup::eOutside, QString() };
    return { ESkinFileLookup::eFound, strFound };
}

QString ResolveSkinFile(const QString& strFolder, const QString& strName)
{
    const CSkinFileLookup lookup = LookUpSkinFile(strFolder, strName);
    if (lookup.eResult == ESkinFileLookup::eOutside)
        qWarning().noquote() << "[ResolveSkinFile]" << strName << "lies outside the skin folder" << strFolder
                             << "and is not read";
    return lookup.strPath;
}
