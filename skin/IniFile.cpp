#include "skin/IniFile.h"

#include <QFile>
#include <QStringDecoder>

namespace {

// Skins made on Windows are stored in the ANSI code page; ours in UTF-8.
QString DecodeText(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString strText = utf8.decode(bytes);
    if (utf8.hasError())
        strText = QString::fromLatin1(bytes);
    if (strText.startsWith(QChar(0xFEFF)))
        strText.remove(0, 1);
    return strText;
}

bool IsComment(QStringView line)
{
    return line.startsWith(u';');
}

// The section name of a "[name]" line, or a null string for other lines.
QString SectionName(QStringView line)
{
    if (!line.startsWith(u'['))
        return {};
    const qsizetype nClose = line.indexOf(u']');
    const QStringView name = nClose < 0 ? line.mid(1) : line.mid(1, nClose - 1);
    return name.trimmed().toString();
}

} // namespace

CIniFile::CIniFile(const QString& strPath)
    : m_strPath(strPath)
{
}

QList<CIniFile::CEntry> CIniFile::ReadSection(const QString& strSection) const
{
    QFile file(m_strPath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString strText = DecodeText(file.readAll());

    QList<CEntry> entries;
    bool bInSection = false;
    bool bSeenSection = false;
    for (QStringView line : QStringView(strText).split(u'\n')) {
        line = line.trimmed();
        if (line.isEmpty() || IsComment(line))
            continue;
        const QString strName = SectionName(line);
        if (!strName.isNull()) {
            // Only the first section of a name counts; a later twin is ignored.
            if (bInSection)
                break;
            bInSection = !bSeenSection && strName.compare(strSection, Qt::CaseInsensitive) == 0;
            bSeenSection = bSeenSection || bInSection;
            continue;
        }
        if (!bInSection)
            continue;
        const qsizetype nEquals = line.indexOf(u'=');
        if (nEquals <= 0)
            continue;
        entries.append({ line.left(nEquals).trimmed().toString(), line.mid(nEquals + 1).trimmed().toString() });
    }
    return entries;
}

QString CIniFile::GetString(const QString& strSection, const QString& strKey, const QString& strDefault) const
{
    for (const CEntry& entry : ReadSection(strSection)) {
        if (entry.strKey.compare(strKey, Qt::CaseInsensitive) == 0)
            return entry.strValue.left(MAX_VALUE_CHARS);
    }
    return strDefault.left(MAX_VALUE_CHARS);
}

bool CIniFile::GetKeyNames(const QString& strSection, QStringList& arrKeys) const
{
    arrKeys.clear();
    int nBytesUsed = 0;
    for (const CEntry& entry : ReadSection(strSection)) {
        const int nBytes = int(entry.strKey.toLocal8Bit().size()) + 1;
        if (nBytesUsed + nBytes > KEY_NAMES_BYTES)
            break;
        nBytesUsed += nBytes;
        arrKeys.append(entry.strKey);
    }
    return !arrKeys.isEmpty();
}
