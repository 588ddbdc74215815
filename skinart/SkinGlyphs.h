#pragma once

#include <QPainterPath>
#include <QRectF>

#include "skinart/SkinLayout.h"

// The icon as a filled path fitted into rcBox (kept square, centred). Line
// icons are stroked into outlines here, so callers only ever fill.
QPainterPath GlyphPath(EGlyph eGlyph, const QRectF& rcBox);
