#pragma once

#include <QImage>
#include <QRegion>

#include "skin/ColorRef.h"

// The window shape of a skin background: the image rectangle minus every
// pixel of the colour key. Built from runs of kept pixels, one row at a
// time, with equal neighbouring rows merged into one band, so the cost grows
// with the number of runs rather than with the number of key pixels.
QRegion BuildShapeRegion(const QImage& image, COLORREF crKey);
