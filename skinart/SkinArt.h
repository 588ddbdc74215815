#pragma once

#include <QColor>
#include <QImage>
#include <QList>
#include <QPainterPath>
#include <QSize>

#include "skinart/SkinLayout.h"
#include "skinart/SkinPalette.h"

// The colour key of every skin we draw: pixels of it are cut out of windows
// and left undrawn by the controls.
inline constexpr QRgb KEY_RGB = 0xFFFF00FF;

// Art is drawn with antialiasing on transparent ARGB images and then turned
// into the opaque 24-bit pictures a skin stores. Edge pixels cannot be half
// transparent there, so they are blended over what will lie beneath them
// (imgUnder, same size): only untouched pixels become the colour key.
//
// Every picture is drawn in the skin's coordinates at nScale device pixels
// to one (the picture's device pixel ratio), so the @2x partners are the same
// drawing at twice the resolution; the flattening works on device pixels, so
// their key edges are as hard as the others'. Pictures drawn over imgUnder
// take its scale.
inline constexpr int DOUBLE_SCALE = 2;
QImage FlattenOver(const QImage& imgArt, const QImage& imgUnder);
// For outlines with nothing known beneath: pixels at least half covered
// become opaque (blended over clrEdge), the others the colour key.
QImage FlattenOutline(const QImage& imgArt, const QColor& clrEdge);

// A 24-bit BMP file of img; empty when encoding fails.
QByteArray EncodeBmp(const QImage& img);

// Window background; its key-coloured outside gives the window its shape.
// The window hides the progress slider and the time label, so nothing is
// drawn for them: a track that nothing fills looks broken.
QImage DrawBackground(const CSkinPalette& palette, const CSkinLayout& layout, int nScale = 1);
// The task notifier popup's picture ("dlgTaskNotifier.bmp").
QImage DrawNotifier(const CSkinPalette& palette, int nScale = 1);

enum class EButtonRole {
    ePush,   // the down frame is the pressed face
    eToggle, // the down frame is the checked, lit face
};

// Four frames side by side (normal, hover, down, disabled), each exactly the
// size of imgUnder, the background beneath the button, so nothing is scaled.
QImage DrawButtonStrip(const CSkinPalette& palette, const CButtonLayout& button, EButtonRole eRole,
                       const QImage& imgUnder);
QImage DrawAppIcon(const CSkinPalette& palette, const QImage& imgUnder);
// The button as it looks untouched, on a transparent image of that size.
QImage DrawButtonFace(const CSkinPalette& palette, const CButtonLayout& button, const QSize& size);

// The slider's filled track: imgUnder is the empty groove it covers.
QImage DrawSliderChannel(const CSkinPalette& palette, const QImage& imgUnder);
QImage DrawSliderThumb(const CSkinPalette& palette, bool bDragging, const QImage& imgUnder);
// Height of the slider's groove and channel for a given thumb size.
int SliderChannelHeight(int nThumbSize);

// Track, up, up pressed, down, down pressed, thumb, thumb pressed.
QList<QImage> DrawScrollImages(const CSkinPalette& palette, int nWidth, int nScale = 1);
// Arrow strip of a combo box: four frames of sizeFrame. The drop button
// treats black as transparent, so no pixel of it is pure black.
QImage DrawComboArrowStrip(const CSkinPalette& palette, const QSize& sizeFrame, const QImage& imgUnder);
QImage DrawProgressBlock(const CSkinPalette& palette, const QSize& size, int nScale = 1);

// An image of size (in the skin's coordinates) at nScale device pixels to one.
QImage NewScaledImage(const QSize& size, int nScale, QImage::Format eFormat);
// The image's rectangle in the skin's coordinates.
QRect ArtRect(const QImage& img);

// Colours of edit fields and lists: written into the description and used
// for the wells the background draws around them.
QColor FieldBackColor(const CSkinPalette& palette);
QColor FieldTextColor(const CSkinPalette& palette);
QColor FieldBorderColor(const CSkinPalette& palette);
QColor SelectionBackColor(const CSkinPalette& palette);
QColor SelectionTextColor(const CSkinPalette& palette);
