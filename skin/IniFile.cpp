#include "skin/IniFile.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringTokenizer>

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
    QFile file(m_strPath);
    if (file.open(QIODevice::ReadOnly))
        ReadSections(DecodeText(file.readAll()));
}

void CIniFile::ReadSections(const QString& strText)
{
    // Null while outside any section or inside a later twin of one, which
    // is ignored: only the first section of a name counts.
    CSection* pSection = nullptr;
    for (QStringView line : qTokenize(strText, u'\n')) {
        line = line.trimmed();
        if (line.isEmpty() || IsComment(line))
            continue;
        const QString strName = SectionName(line);
        if (!strName.isNull()) {
            const QString strId = strName.toCaseFolded();
            pSection = m_sections.contains(strId) ? nullptr : &m_sections[strId];
            continue;
        }
        const qsizetype nEquals = line.indexOf(u'=');
        if (pSection == nullptr || nEquals <= 0)
            continue;
        ++pSection->nKeyLines;
        if (pSection->entries.size() < MAX_SECTION_ENTRIES)
            pSection->entries.append(
                { line.left(nEquals).trimmed().toString(), line.mid(nEquals + 1).trimmed().toString() });
    }
}

QList<CIniFile::CEntry> CIniFile::GetSection(const QString& strSection) const
{
    return m_sections.value(strSection.toCaseFolded()).entries;
}

qsizetype CIniFile::CountKeyLines(const QString& strSection) const
{
    return m_sections.value(strSection.toCaseFolded()).nKeyLines;
}

QString CIniFile::GetString(const QString& strSection, const QString& strKey, const QString& strDefault) const
{
    const auto it = m_sections.constFind(strSection.toCaseFolded());
    if (it != m_sections.cend()) {
        for (const CEntry& entry : it->entries) {
            if (entry.strKey.compare(strKey, Qt::CaseInsensitive) == 0)
                return entry.strValue.left(MAX_VALUE_CHARS);
        }
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
