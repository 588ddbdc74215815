#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Writes ZIP archives in the plain form that skin packages use: no ZIP64,
// no encryption, no data descriptors, sizes and CRC-32 in the local headers.
// Entries are collected in memory and written in one go, so a failed write
// never leaves a half archive under the target name.
class CZipWriter
{
public:
    enum ECompression {
        eStored = 0,
        eDeflated = 8,
    };

    // Names use '/' between folders. Returns false, adding nothing, for a name
    // that is empty, absolute, climbs out with "..", or is already in the
    // archive, and for data too large for a ZIP without ZIP64.
    bool AddFile(const QString& strName, const QByteArray& data, ECompression eCompression = eDeflated);

    // Writes the archive; on failure returns false with the cause in strError
    // and leaves any existing file at strPath untouched.
    bool Save(const QString& strPath, QString& strError) const;

    // The archive as it would be written.
    QByteArray ToByteArray() const;

    int GetCount() const { return int(m_arrEntries.size()); }

private:
    struct CEntry
    {
        QByteArray arrName; // UTF-8
        QByteArray arrPacked;
        quint32 nCrc = 0;
        quint32 nSize = 0;
        quint16 nMethod = 0;
    };

    // The run of fields a local header and its central directory record
    // share: version needed to extract up to the extra field length.
    static void AppendSharedFields(QByteArray& out, const CEntry& entry, quint16 nFlags);

    QList<CEntry> m_arrEntries;
};
