#include "skinart/ZipWriter.h"

#include <algorithm>
#include <limits>

#include <zlib.h>

#include <QSaveFile>

namespace {

constexpr quint32 LOCAL_HEADER_SIGNATURE = 0x04034b50;
constexpr quint32 CENTRAL_HEADER_SIGNATURE = 0x02014b50;
constexpr quint32 END_RECORD_SIGNATURE = 0x06054b50;
constexpr quint16 VERSION_NEEDED = 20;             // deflate
constexpr quint16 VERSION_MADE_BY = (3 << 8) | 20; // Unix, so the permissions below count
constexpr quint32 FILE_PERMISSIONS = 0100644u << 16;
constexpr quint16 FLAG_UTF8_NAME = 1 << 11;
// 2026-01-01 00:00: a fixed time keeps builds reproducible.
constexpr quint16 DOS_TIME = 0;
constexpr quint16 DOS_DATE = ((2026 - 1980) << 9) | (1 << 5) | 1;
constexpr int RAW_DEFLATE_WINDOW_BITS = -15;
constexpr int DEFLATE_MEMORY_LEVEL = 8;
constexpr int MAX_ENTRIES = 0xFFFF;

void Append16(QByteArray& out, quint16 nValue)
{
    out.append(char(nValue & 0xFF));
    out.append(char(nValue >> 8));
}

void Append32(QByteArray& out, quint32 nValue)
{
    Append16(out, quint16(nValue & 0xFFFF));
    Append16(out, quint16(nValue >> 16));
}

bool Deflate(const QByteArray& data, QByteArray& packed)
{
    z_stream stream = {};
    if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, RAW_DEFLATE_WINDOW_BITS, DEFLATE_MEMORY_LEVEL,
                     Z_DEFAULT_STRATEGY)
        != Z_OK)
        return false;
    packed.resize(qsizetype(deflateBound(&stream, uLong(data.size()))));
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData()));
    stream.avail_in = uInt(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(packed.data());
    stream.avail_out = uInt(packed.size());
    // deflateBound leaves room for the whole stream, so one call finishes it.
    const int nResult = deflate(&stream, Z_FINISH);
    packed.resize(qsizetype(stream.total_out));
    deflateEnd(&stream);
    return nResult == Z_STREAM_END;
}

bool IsSafeName(const QString& strName)
{
    if (strName.isEmpty() || strName.startsWith('/') || strName.contains('\\'))
        return false;
    const QStringList arrParts = strName.split('/');
    return !arrParts.contains("..");
}

} // namespace

bool CZipWriter::AddFile(const QString& strName, const QByteArray& data, ECompression eCompression)
{
    if (!IsSafeName(strName) || m_arrEntries.size() >= MAX_ENTRIES)
        return false;
    CEntry entry;
    entry.arrName = strName.toUtf8();
    if (entry.arrName.size() > std::numeric_limits<quint16>::max()
        || data.size() >= qsizetype(std::numeric_limits<quint32>::max()))
        return false;
    for (const CEntry& other : m_arrEntries) {
        if (other.arrName == entry.arrName)
            return false;
    }
    entry.nSize = quint32(data.size());
    entry.nCrc =
        quint32(crc32(crc32(0, nullptr, 0), reinterpret_cast<const Bytef*>(data.constData()), uInt(data.size())));
    entry.nMethod = quint16(eCompression);
    if (eCompression == eDeflated) {
        if (!Deflate(data, entry.arrPacked))
            return false;
    } else {
        entry.arrPacked = data;
    }
    m_arrEntries.append(entry);
    return true;
}

void CZipWriter::AppendSharedFields(QByteArray& out, const CEntry& entry, quint16 nFlags)
{
    Append16(out, VERSION_NEEDED);
    Append16(out, nFlags);
    Append16(out, entry.nMethod);
    Append16(out, DOS_TIME);
    Append16(out, DOS_DATE);
    Append32(out, entry.nCrc);
    Append32(out, quint32(entry.arrPacked.size()));
    Append32(out, entry.nSize);
    Append16(out, quint16(entry.arrName.size()));
    Append16(out, 0); // extra field
}

QByteArray CZipWriter::ToByteArray() const
{
    QByteArray out;
    QByteArray central;
    for (const CEntry& entry : m_arrEntries) {
        const quint32 nOffset = quint32(out.size());
        const bool bAscii =
            std::all_of(entry.arrName.begin(), entry.arrName.end(), [](char c) { return uchar(c) < 0x80; });
        const quint16 nFlags = bAscii ? 0 : FLAG_UTF8_NAME;

        Append32(out, LOCAL_HEADER_SIGNATURE);
        AppendSharedFields(out, entry, nFlags);
        out.append(entry.arrName);
        out.append(entry.arrPacked);

        Append32(central, CENTRAL_HEADER_SIGNATURE);
        Append16(central, VERSION_MADE_BY);
        AppendSharedFields(central, entry, nFlags);
        Append16(central, 0); // comment
        Append16(central, 0); // disk number
        Append16(central, 0); // internal attributes
        Append32(central, FILE_PERMISSIONS);
        Append32(central, nOffset);
        central.append(entry.arrName);
    }
    const quint32 nCentralOffset = quint32(out.size());
    out.append(central);
    Append32(out, END_RECORD_SIGNATURE);
    Append16(out, 0); // this disk
    Append16(out, 0); // disk with the central directory
    Append16(out, quint16(m_arrEntries.size()));
    Append16(out, quint16(m_arrEntries.size()));
    Append32(out, quint32(central.size()));
    Append32(out, nCentralOffset);
    Append16(out, 0); // comment
    return out;
}

bool CZipWriter::Save(const QString& strPath, QString& strError) const
{
    const QByteArray archive = ToByteArray();
    if (quint64(archive.size()) > std::numeric_limits<quint32>::max()) {
        strError = QString("%1: archive larger than 4 GiB").arg(strPath);
        return false;
    }
    QSaveFile file(strPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(archive) != archive.size() || !file.commit()) {
        strError = QString("%1: %2").arg(strPath, file.errorString());
        return false;
    }
    return true;
}
