#pragma once

#include <cstdint>

#include <QColor>

// A colour as skins store it after reading: 0x00BBGGRR, red in the low byte.
using COLORREF = std::uint32_t;

// An empty colour field of a skin entry; the control then uses the
// platform's colour for that role.
inline constexpr COLORREF CLR_NONE_GIVEN = 0xFFFFFFFFu;

inline constexpr COLORREF MakeColorRef(int nRed, int nGreen, int nBlue)
{
    return COLORREF(nRed & 0xFF) | (COLORREF(nGreen & 0xFF) << 8) | (COLORREF(nBlue & 0xFF) << 16);
}

inline QColor ColorFromRef(COLORREF cr)
{
    return QColor(int(cr & 0xFF), int((cr >> 8) & 0xFF), int((cr >> 16) & 0xFF));
}

// The colour to use for a skin colour that may be CLR_NONE_GIVEN.
inline QColor ColorFromRef(COLORREF cr, const QColor& fallback)
{
    return cr == CLR_NONE_GIVEN ? fallback : ColorFromRef(cr);
}

inline QRgb RgbFromRef(COLORREF cr)
{
    return ColorFromRef(cr).rgb();
}
