#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// Reader of a skin description (Skin.ini). It follows the rules of the
// Windows private-profile functions that skins were written against:
// section and key names match without regard to case, values come back
// without surrounding blanks, the first occurrence of a section or key wins,
// key names are listed in file order, and lines starting with ';' are
// comments. A missing file, section or key reads as absent.
//
// The file is read once, when the reader is made; a reader made before the
// file was written reads it as missing. Of each section only the first
// MAX_SECTION_ENTRIES key lines are kept: a skin needs tens, and a
// description of a hundred thousand must not hold the window up.
class CIniFile
{
public:
    // Longest value returned by GetString; longer values are cut.
    static constexpr int MAX_VALUE_CHARS = 2047;
    // Bytes available to the key names of one section, each counted with a
    // terminator; names that do not fit are not listed.
    static constexpr int KEY_NAMES_BYTES = 16384;
    static constexpr int MAX_SECTION_ENTRIES = 1024;

    struct CEntry
    {
        QString strKey;
        QString strValue;
    };

    explicit CIniFile(const QString& strPath);

    // The key lines of the section in file order, as many as
    // MAX_SECTION_ENTRIES; a key written twice is listed twice.
    QList<CEntry> GetSection(const QString& strSection) const;
    // All key lines of the section, those past MAX_SECTION_ENTRIES too.
    qsizetype CountKeyLines(const QString& strSection) const;

    QString GetString(const QString& strSection, const QString& strKey, const QString& strDefault) const;
    // Empties arrKeys, then appends every key of the section in file order.
    // Returns true when arrKeys is not empty.
    bool GetKeyNames(const QString& strSection, QStringList& arrKeys) const;

    const QString& GetPath() const { return m_strPath; }

private:
    struct CSection
    {
        QList<CEntry> entries;
        qsizetype nKeyLines = 0;
    };

    void ReadSections(const QString& strText);

    QString m_strPath;
    // By section name, case folded.
    QHash<QString, CSection> m_sections;
};
