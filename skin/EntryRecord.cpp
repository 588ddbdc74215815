#include "skin/EntryRecord.h"

#include <sys/stat.h>

namespace {

// The high byte of "version made by" names the system whose attributes the
// external attributes carry.
constexpr int HOST_UNIX = 3;

} // namespace

quint32 CEntryRecord::GetUnixMode() const
{
    if ((m_nVersionMadeBy >> 8) != HOST_UNIX)
        return 0;
    return m_nExternalAttributes >> 16;
}

bool CEntryRecord::IsFolder() const
{
    return (m_nExternalAttributes & DOS_DIRECTORY) != 0 || S_ISDIR(GetUnixMode()) || m_strName.endsWith(u'/');
}

bool CEntryRecord::IsSymbolicLink() const
{
    return S_ISLNK(GetUnixMode());
}
