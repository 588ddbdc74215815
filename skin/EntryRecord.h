#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// One record of an archive's central directory, as stored, plus the entry
// name converted once for this platform.
class CEntryRecord
{
public:
    // Fixed part of a central directory record, before name, extra field and
    // comment.
    static constexpr int FIXED_BYTES = 46;
    static constexpr quint32 SIGNATURE = 0x02014B50;

    static constexpr quint16 FLAG_ENCRYPTED = 0x0001;
    static constexpr quint16 FLAG_DATA_DESCRIPTOR = 0x0008;
    // The name and comment are UTF-8 rather than the DOS code page.
    static constexpr quint16 FLAG_UTF8_NAME = 0x0800;

    static constexpr quint16 METHOD_STORED = 0;
    static constexpr quint16 METHOD_DEFLATED = 8;
    // WinZip's AES encryption: the real method is inside its extra block.
    static constexpr quint16 METHOD_AES = 99;

    // DOS attribute bits in the low byte of the external attributes.
    static constexpr quint32 DOS_READ_ONLY = 0x01;
    static constexpr quint32 DOS_DIRECTORY = 0x10;

    // The name skin authors know a method by ("deflated", "bzip2", ...), or
    // "method" and its number.
    static QString MethodName(quint16 nMethod);

    bool IsEncrypted() const { return (m_nFlags & FLAG_ENCRYPTED) != 0 || m_nMethod == METHOD_AES; }
    bool HasSupportedMethod() const { return m_nMethod == METHOD_STORED || m_nMethod == METHOD_DEFLATED; }
    bool HasDataDescriptor() const { return (m_nFlags & FLAG_DATA_DESCRIPTOR) != 0; }
    // Tools mark folders in different ways: a name ending in a separator
    // (jar marks them by nothing else), the DOS attribute of an entry made
    // on DOS or Windows, or the Unix directory mode of one made on Unix.
    bool IsFolder() const;
    bool IsSymbolicLink() const;
    // The Unix mode (file type and permissions) of an entry made on Unix,
    // or 0 when the archive gives none.
    quint32 GetUnixMode() const;

    quint16 m_nVersionMadeBy = 0;
    quint16 m_nFlags = 0;
    quint16 m_nMethod = 0;
    quint16 m_nDosTime = 0;
    quint16 m_nDosDate = 0;
    quint32 m_nCrc32 = 0;
    // Sizes and the offset are those of the ZIP64 block where the 32-bit
    // fields hold its all-ones escape.
    quint64 m_nCompressedSize = 0;
    quint64 m_nUncompressedSize = 0;
    quint16 m_nNameLength = 0;
    quint16 m_nExtraLength = 0;
    quint16 m_nCommentLength = 0;
    quint16 m_nDiskNumberStart = 0;
    quint32 m_nExternalAttributes = 0;
    quint64 m_nLocalHeaderOffset = 0;

    QByteArray m_arrRawName;
    QByteArray m_arrExtra;
    // The name decoded (UTF-8 or code page 437) with '/' as the only folder
    // separator; not yet made safe, see EntryName::SafeRelativePath.
    QString m_strName;
};
