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
