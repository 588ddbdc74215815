#pragma once

extern "C" {
#include <libavutil/rational.h>
}

// Screens, cameras and our own pictures have square pixels; so has a picture
// whose source does not say.
inline constexpr AVRational SQUARE_PIXELS { 1, 1 };

// A rectangle of a picture, in its pixels.
struct CPictureArea
{
    int nLeft = 0;
    int nTop = 0;
    int nWidth = 0;
    int nHeight = 0;

    bool operator==(const CPictureArea&) const = default;
};

// The shape nWidth x nHeight pixels of that shape are shown at; a pixel
// aspect of 0 (unknown, as FFmpeg reports it) counts as square.
AVRational DisplayAspect(int nWidth, int nHeight, AVRational pixelAspect);

// The pixel shape that shows nWidth x nHeight pixels at displayAspect.
AVRational PixelAspect(int nWidth, int nHeight, AVRational displayAspect);

// Where a source of the shape sourceAspect goes in a picture of nWidth x
// nHeight shown at displayAspect so that it keeps its shape: the full width
// with black above and below when the source is wider, the full height with
// black left and right when it is narrower, centred; the whole picture when
// the shapes differ by less than a pixel. Edges and sizes are even, so the
// half-size chroma of 4:2:0 pictures has no row or column that is part
// picture, part bar.
CPictureArea FitPicture(AVRational sourceAspect, int nWidth, int nHeight, AVRational displayAspect);
