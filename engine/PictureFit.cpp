#include "engine/PictureFit.h"

#include <algorithm>
#include <cstdint>

extern "C" {
#include <libavutil/mathematics.h>
}

namespace {

// The smallest picture FitPicture leaves: one 4:2:0 chroma sample.
constexpr int MINIMUM_SIDE = 2;

// nSide * nNumerator / nDenominator rounded to the nearest even number.
int EvenShare(int nSide, std::int64_t nNumerator, std::int64_t nDenominator)
{
    const std::int64_t nHalf = av_rescale(nSide, nNumerator, 2 * nDenominator);
    return std::max(static_cast<int>(2 * nHalf), MINIMUM_SIDE);
}

// The offset that centres nPart in nWhole, on an even pixel.
int EvenCentre(int nWhole, int nPart)
{
    return (nWhole - nPart) / 4 * 2;
}

} // namespace

AVRational DisplayAspect(int nWidth, int nHeight, AVRational pixelAspect)
{
    if (pixelAspect.num <= 0 || pixelAspect.den <= 0)
        pixelAspect = SQUARE_PIXELS;
    AVRational aspect {};
    av_reduce(&aspect.num, &aspect.den, static_cast<std::int64_t>(nWidth) * pixelAspect.num,
              static_cast<std::int64_t>(nHeight) * pixelAspect.den, INT32_MAX);
    return aspect;
}

AVRational PixelAspect(int nWidth, int nHeight, AVRational displayAspect)
{
    AVRational aspect {};
    av_reduce(&aspect.num, &aspect.den, static_cast<std::int64_t>(displayAspect.num) * nHeight,
              static_cast<std::int64_t>(displayAspect.den) * nWidth, INT32_MAX);
    return aspect;
}

CPictureArea FitPicture(AVRational sourceAspect, int nWidth, int nHeight, AVRational displayAspect)
{
    CPictureArea area { 0, 0, nWidth, nHeight };
    if (sourceAspect.num <= 0 || sourceAspect.den <= 0 || displayAspect.num <= 0 || displayAspect.den <= 0)
        return area;
    // The source's width against the picture's, both at the same height.
    const std::int64_t nSourceShare = static_cast<std::int64_t>(sourceAspect.num) * displayAspect.den;
    const std::int64_t nPictureShare = static_cast<std::int64_t>(displayAspect.num) * sourceAspect.den;
    const std::int64_t nWider = std::max(nSourceShare, nPictureShare);
    const std::int64_t nNarrower = std::min(nSourceShare, nPictureShare);
    const int nFullSide = nSourceShare < nPictureShare ? nWidth : nHeight;
    if (av_rescale_rnd(nFullSide, nWider - nNarrower, nWider, AV_ROUND_DOWN) == 0)
        return area;
    if (nSourceShare < nPictureShare) {
        area.nWidth = EvenShare(nWidth, nNarrower, nWider);
        area.nLeft = EvenCentre(nWidth, area.nWidth);
    } else {
        area.nHeight = EvenShare(nHeight, nNarrower, nWider);
        area.nTop = EvenCentre(nHeight, area.nHeight);
    }
    return area;
}
