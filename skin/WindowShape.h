#pragma once

#include <QImage>
#include <QRegion>

#include "skin/ColorRef.h"

// The window shape of a skin background: the image rectangle minus every
// pixel of the colour key. Built from runs of kept pixels, one row at a
// time, with equal neighbouring rows merged into one band, so the cost grows
// with the number of runs rather than with the number of key pixels.
// The region is in logical pixels: of a double-resolution picture, a logical
// pixel is kept when any of its device pixels is, so the painted picture,
// with its key pixels transparent, draws the finer edge inside the shape.
QRegion BuildShapeRegion(const QImage& image, COLORREF crKey);
