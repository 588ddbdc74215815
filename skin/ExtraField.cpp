#include "skin/ExtraField.h"

#include <zlib.h>

#include "skin/LittleEndian.h"

using LittleEndian::Read16;
using LittleEndian::Read32;
using LittleEndian::Read64;

namespace ExtraField {

namespace {

constexpr int BLOCK_HEADER_BYTES = 4;
constexpr quint64 ESCAPE_32 = 0xFFFFFFFF;
constexpr int WIDE_VALUE_BYTES = 8;
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

bool WidenFromZip64(const QByteArray& arrExtra, std::initializer_list<quint64*> arrFields)
{
    std::optional<QByteArray> arrBlock;
    qsizetype nPosition = 0;
    for (quint64* pField : arrFields) {
        if (*pField != ESCAPE_32)
            continue;
        if (!arrBlock)
            arrBlock = Find(arrExtra, ZIP64_ID).value_or(QByteArray());
        if (arrBlock->size() - nPosition < WIDE_VALUE_BYTES)
            return false;
        *pField = Read64(arrBlock->constData(), int(nPosition));
        nPosition += WIDE_VALUE_BYTES;
    }
    return true;
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
