#pragma once

#include <optional>

#include <QByteArray>
#include <QtGlobal>

// The extra field of a header: blocks of a 2-byte header ID, a 2-byte data
// length and the data, one after the other.
namespace ExtraField {

// Info-ZIP's UTF-8 form of a name stored in the DOS code page.
constexpr quint16 UNICODE_PATH_ID = 0x7075;

// The data of the first block with header ID nId; none when there is no
// such block before the blocks run past the end of the field.
std::optional<QByteArray> Find(const QByteArray& arrExtra, quint16 nId);

// The UTF-8 form of arrStoredName from a Unicode Path block; none when
// there is none, or it was written for another stored name (its CRC-32
// differs, as after a tool renamed the entry and left the block alone).
std::optional<QByteArray> UnicodePath(const QByteArray& arrExtra, const QByteArray& arrStoredName);

} // namespace ExtraField
