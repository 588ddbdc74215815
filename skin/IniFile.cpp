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

// Calls visit(key line) for every key line of the first section named
// strSection in strText, in file order, while it returns true.
template <class TVisit>
void VisitSection(const QString& strText, const QString& strSection, TVisit visit)
{
    bool bInSection = false;
    for (QStringView line : QStringView(strText).split(u'\n')) {
        line = line.trimmed();
        if (line.isEmpty() || IsComment(line))
            continue;
        const QString strName = SectionName(line);
        if (!strName.isNull()) {
            // Only the first section of a name counts; a later twin is ignored.
            if (bInSection)
                return;
            bInSection = strName.compare(strSection, Qt::CaseInsensitive) == 0;
            continue;
        }
        if (bInSection && line.indexOf(u'=') > 0 && !visit(line))
            return;
    }
}

} // namespace

CIniFile::CIniFile(const QString& strPath)
    : m_strPath(strPath)
{
}

QString CIniFile::ReadText() const
{
    QFile file(m_strPath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return DecodeText(file.readAll());
}

QList<CIniFile::CEntry> CIniFile::GetSection(const QString& strSection) const
{
    QList<CEntry> entries;
    VisitSection(ReadText(), strSection, [&entries](QStringView line) {
        const qsizetype nEquals = line.indexOf(u'=');
        entries.append({ line.left(nEquals).trimmed().toString(), line.mid(nEquals + 1).trimmed().toString() });
        return entries.size() < MAX_SECTION_ENTRIES;
    });
    return entries;
}

qsizetype CIniFile::CountKeyLines(const QString& strSection) const
{
    qsizetype nLines = 0;
    VisitSection(ReadText(), strSection, [&nLines](QStringView) {
        ++nLines;
        return true;
    });
    return nLines;
}

QString CIniFile::GetString(const QString& strSection, const QString& strKey, const QString& strDefault) const
{
    for (const CEntry& entry : GetSection(strSection)) {
        if (entry.strKey.compare(strKey, Qt::CaseInsensitive) == 0)
            return entry.strValue.left(MAX_VALUE_CHARS);
    }
    return strDefault.left(MAX_VALUE_CHARS);
}

bool CIniFile::GetKeyNames(const QString& strSection, QStringList& arrKeys) const
{
    arrKeys.clear();
    int nBytesUsed = 0;
    for (const CEntry& entry : GetSection(strSection)) {
        const int nBytes = int(entry.strKey.toLocal8Bit().size()) + 1;
        if (nBytesUsed + nBytes > KEY_NAMES_BYTES)
            break;
        nBytesUsed += nBytes;
        arrKeys.append(entry.strKey);
    }
    return !arrKeys.isEmpty();
}
