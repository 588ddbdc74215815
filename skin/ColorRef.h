#pragma once

#include <cstdint>

// A colour as skins store it after reading: 0x00BBGGRR, red in the low byte.
// Plain integers, so the description reader and the tools need no GUI
// library for it; controls/SkinColor.h turns it into Qt's colours.
using COLORREF = std::uint32_t;

// An empty colour field of a skin entry; the control then uses the
// platform's colour for that role.
inline constexpr COLORREF CLR_NONE_GIVEN = 0xFFFFFFFFu;

inline constexpr COLORREF MakeColorRef(int nRed, int nGreen, int nBlue)
{
    return COLORREF(nRed & 0xFF) | (COLORREF(nGreen & 0xFF) << 8) | (COLORREF(nBlue & 0xFF) << 16);
}

// The same colour, opaque, as 0xAARRGGBB: the layout of Qt's QRgb, which
// images and the window shape compare pixels in.
inline constexpr std::uint32_t RgbFromRef(COLORREF cr)
{
    return 0xFF000000u | ((cr & 0xFFu) << 16) | (cr & 0xFF00u) | ((cr >> 16) & 0xFFu);
}
