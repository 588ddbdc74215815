#pragma once

#include <QColor>

#include "skin/ColorRef.h"

inline QColor ColorFromRef(COLORREF cr)
{
    return QColor(int(cr & 0xFF), int((cr >> 8) & 0xFF), int((cr >> 16) & 0xFF));
}

// The colour to use for a skin colour that may be CLR_NONE_GIVEN.
inline QColor ColorFromRef(COLORREF cr, const QColor& fallback)
{
    return cr == CLR_NONE_GIVEN ? fallback : ColorFromRef(cr);
}
