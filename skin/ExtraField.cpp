#include "skin/ExtraField.h"

#include <zlib.h>

#include "skin/LittleEndian.h"

using LittleEndian::Read16;
using LittleEndian::Read32;

namespace ExtraField {

namespace {

constexpr int BLOCK_HEADER_BYTES = 4;
// The Unicode Path block: a version byte, the stored name's CRC-32, then
// the UTF-8 name.
constexpr char UNICODE_PATH_VERSION = 1;
constexpr int UNICODE_PATH_NAME_OFFSET = 5;

} // namespace

std::optional<QByteArray> Find(const QByteArray& arrExtra, quint16 nId)
{
    qsizetype nPosition = 0;
    while (arrExtra.size() - nPosition >= BLOCK_HEADER_BYTES) {
        const char* pBlock = arrExtra.constData() + nPosition;
        const quint16 nLength = Read16(pBlock, 2);
        if (arrExtra.size() - nPosition - BLOCK_HEADER_BYTES < nLength)
            return std::nullopt;
        if (Read16(pBlock, 0) == nId)
            return arrExtra.mid(nPosition + BLOCK_HEADER_BYTES, nLength);
        nPosition += BLOCK_HEADER_BYTES + nLength;
    }
    return std::nullopt;
}

std::optional<QByteArray> UnicodePath(const QByteArray& arrExtra, const QByteArray& arrStoredName)
{
    const std::optional<QByteArray> arrBlock = Find(arrExtra, UNICODE_PATH_ID);
    if (!arrBlock || arrBlock->size() < UNICODE_PATH_NAME_OFFSET || arrBlock->at(0) != UNICODE_PATH_VERSION)
        return std::nullopt;
    const auto nStoredCrc =
        quint32(crc32(0, reinterpret_cast<const Bytef*>(arrStoredName.constData()), uInt(arrStoredName.size())));
    if (Read32(arrBlock->constData(), 1) != nStoredCrc)
        return std::nullopt;
    return arrBlock->mid(UNICODE_PATH_NAME_OFFSET);
}

} // namespace ExtraField
