#pragma once

#include <QBitmap>
#include <QImage>
#include <QPixmap>
#include <QString>

#include "controls/SkinColor.h"

// Skin images are bitmap files used at their own size; a null image when
// the file is missing or unreadable.
QImage LoadSkinImage(const QString& strPath);

// The mask of an image under a colour key: set (opaque) everywhere except on
// pixels that equal the key exactly.
QBitmap BuildKeyMask(const QImage& image, COLORREF crKey);

// The image as a pixmap whose key-coloured pixels are transparent; built once
// at load so that painting is a plain copy.
QPixmap KeyedPixmap(const QImage& image, COLORREF crKey);
