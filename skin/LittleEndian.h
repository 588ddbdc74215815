#pragma once

#include <QtEndian>

// Archive records store every number little-endian, at fixed offsets.
namespace LittleEndian {

inline quint16 Read16(const char* pRecord, int nOffset)
{
    return qFromLittleEndian<quint16>(pRecord + nOffset);
}

inline quint32 Read32(const char* pRecord, int nOffset)
{
    return qFromLittleEndian<quint32>(pRecord + nOffset);
}

inline quint64 Read64(const char* pRecord, int nOffset)
{
    return qFromLittleEndian<quint64>(pRecord + nOffset);
}

} // namespace LittleEndian
