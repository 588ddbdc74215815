#include "skin/EntryRecord.h"

#include <sys/stat.h>

namespace {

// The high byte of "version made by" names the system whose attributes the
// external attributes carry.
constexpr int HOST_DOS = 0;
constexpr int HOST_UNIX = 3;
constexpr int HOST_NTFS = 10;
constexpr int HOST_VFAT = 14;

int HostOf(quint16 nVersionMadeBy)
{
    return nVersionMadeBy >> 8;
}

} // namespace

QString CEntryRecord::MethodName(quint16 nMethod)
{
    switch (nMethod) {
    case METHOD_STORED:
        return QStringLiteral("stored");
    case METHOD_DEFLATED:
        return QStringLiteral("deflated");
    case 9:
        return QStringLiteral("Deflate64");
    case 12:
        return QStringLiteral("bzip2");
    case 14:
        return QStringLiteral("LZMA");
    // 20 was Zstandard's number before 93 replaced it.
    case 20:
    case 93:
        return QStringLiteral("Zstandard");
    case 95:
        return QStringLiteral("XZ");
    case 98:
        return QStringLiteral("PPMd");
    case METHOD_AES:
        return QStringLiteral("AES");
    default:
        return QStringLiteral("method%1").arg(nMethod);
    }
}

quint32 CEntryRecord::GetUnixMode() const
{
    if (HostOf(m_nVersionMadeBy) != HOST_UNIX)
        return 0;
    return m_nExternalAttributes >> 16;
}

bool CEntryRecord::IsFolder() const
{
    if (m_strName.endsWith(u'/'))
        return true;
    // Only on the DOS family of systems is the low byte a DOS attribute
    // byte; some Unix writers set its directory bit on plain files.
    const int nHost = HostOf(m_nVersionMadeBy);
    if (nHost == HOST_DOS || nHost == HOST_NTFS || nHost == HOST_VFAT)
        return (m_nExternalAttributes & DOS_DIRECTORY) != 0;
    return S_ISDIR(GetUnixMode());
}

bool CEntryRecord::IsSymbolicLink() const
{
    return S_ISLNK(GetUnixMode());
}
