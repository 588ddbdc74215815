#pragma once

#include <QList>
#include <QRect>
#include <QString>

#include "skin/ColorRef.h"

class CIniFile;

// Field rules of skin description entries: comma-separated fields, missing
// trailing fields repeat the last one, numbers read the way C's atoi and
// Windows' StrToIntEx read them.
namespace SkinFields {

// Entries are meant to be shorter than this; the reader still reads longer
// ones in full, and skintool check reports them.
inline constexpr int MAX_ENTRY_CHARS = 255;

// Cuts the first field off strValue: the text before the first comma, or the
// whole value when there is none. The remainder loses that comma and is
// trimmed at both ends; without a comma it stays as it was.
QString NextField(QString& strValue);

// A rectangle's coordinates are read no further out than this either way:
// no screen comes near, and arithmetic on them (right minus left, Qt's own
// edges) stays inside int.
inline constexpr int MAX_COORDINATE = 1 << 24;

// Leading blanks, an optional sign, then decimal digits up to the first
// other character; no digits gives 0. A number beyond int's range reads as
// the nearest end of it.
int ToInt(const QString& strField);

// Four fields (left, top, right, bottom) as a rectangle whose right and
// bottom edges are exclusive, each held within MAX_COORDINATE.
QRect ParseRect(QString& strValue);

// 0xRRGGBB written in decimal or with a "0x" prefix, turned into a COLORREF;
// an empty field gives CLR_NONE_GIVEN.
COLORREF ParseColor(const QString& strField);

// Latch and checked flags: true when the field begins with an upper-case T.
bool IsFlagSet(const QString& strField);
// Slider orientation: vertical when the field begins with an upper-case V.
bool IsVertical(const QString& strField);
// Edit box enabled field: exactly "TRUE".
bool IsEnabled(const QString& strField);

struct CControlEntry
{
    int nIndex = 0; // entry number minus one
    QString strValue;
};

// The entries of a control list section: keys "1" up to the number of keys
// the section has, skipping empty values. A gap in the numbering therefore
// hides every entry numbered beyond the key count. Takes time in proportion
// to the section's keys, of which CIniFile reads at most
// CIniFile::MAX_SECTION_ENTRIES.
QList<CControlEntry> ReadControlList(const CIniFile& ini, const QString& strSection);

} // namespace SkinFields
