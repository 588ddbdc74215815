#pragma once

#include <initializer_list>
#include <optional>

#include <QByteArray>
#include <QtGlobal>

// The extra field of a header: blocks of a 2-byte header ID, a 2-byte data
// length and the data, one after the other.
namespace ExtraField {

constexpr quint16 ZIP64_ID = 0x0001;
// Info-ZIP's UTF-8 form of a name stored in the DOS code page.
constexpr quint16 UNICODE_PATH_ID = 0x7075;

// The data of the first block with header ID nId; none when there is no
// such block before the blocks run past the end of the field.
std::optional<QByteArray> Find(const QByteArray& arrExtra, quint16 nId);

// Sizes and offsets too large for their 32-bit header fields are stored as
// all ones, with the value in the ZIP64 block, which holds only those, in
// the order uncompressed size, compressed size, local header offset.
// Replaces each of arrFields (in that order) that holds all ones by its
// value; false when the block is missing or too short for them.
bool WidenFromZip64(const QByteArray& arrExtra, std::initializer_list<quint64*> arrFields);

// The UTF-8 form of arrStoredName from a Unicode Path block; none when
// there is none, or it was written for another stored name (its CRC-32
// differs, as after a tool renamed the entry and left the block alone).
std::optional<QByteArray> UnicodePath(const QByteArray& arrExtra, const QByteArray& arrStoredName);

} // namespace ExtraField
