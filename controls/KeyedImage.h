#pragma once

#include <QBitmap>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QRect>
#include <QString>

#include "controls/SkinColor.h"

// Screens this dense or denser show a skin's double-resolution pictures.
inline constexpr qreal DOUBLE_SIZE_MIN_RATIO = 1.5;

// Skin images are bitmap files used at their own size; a null image when
// the file is missing, unreadable or refused as unsafe (the cause is logged).
// On a screen of dDevicePixelRatio DOUBLE_SIZE_MIN_RATIO or more, the
// picture's "@2x" partner is read instead when it is exactly twice the size;
// it comes with a device pixel ratio of 2, so its logical size is the
// partner's and Skin.ini coordinates keep their meaning.
QImage LoadSkinImage(const QString& strPath, qreal dDevicePixelRatio);

// The size of an image or pixmap in the window's coordinates.
QSize LogicalSize(const QImage& image);
QSize LogicalSize(const QPixmap& pixmap);

// Draws the part rcSource (logical coordinates) of pixmap at ptTarget.
void DrawPixmapPart(QPainter& painter, const QPoint& ptTarget, const QPixmap& pixmap, const QRect& rcSource);

// The mask of an image under a colour key: set (opaque) everywhere except on
// pixels that equal the key exactly.
QBitmap BuildKeyMask(const QImage& image, COLORREF crKey);

// The image as a pixmap whose key-coloured pixels are fully transparent;
// built once at load so that painting is a plain copy. The key is compared
// with the opaque RGB value of each pixel, as the window shape compares it.
QPixmap KeyedPixmap(const QImage& image, COLORREF crKey);
