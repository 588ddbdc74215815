#include "skin/SkinPath.h"

#include <QDir>
#include <QFileInfo>

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

} // namespace

QString ResolveSkinFile(const QString& strFolder, const QString& strName)
{
    QString strRelative = strName;
    strRelative.replace(u'\\', u'/');
    const QString strExact = QDir(strFolder).filePath(strRelative);
    if (QFileInfo::exists(strExact))
        return strExact;

    QDir dir(strFolder);
    const QStringList arrParts = strRelative.split(u'/', Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < arrParts.size(); ++i) {
        const QString strPart = arrParts[i];
        QString strFound = QFileInfo::exists(dir.filePath(strPart)) ? strPart : FindEntryIgnoringCase(dir, strPart);
        if (strFound.isNull())
            return strExact;
        if (i + 1 == arrParts.size())
            return dir.filePath(strFound);
        if (!dir.cd(strFound))
            return strExact;
    }
    return strExact;
}
