#include "skin/WindowShape.h"

#include <vector>

namespace {

struct CRun
{
    int nLeft;
    int nRight; // exclusive

    bool operator==(const CRun&) const = default;
};

void FindKeptRuns(const QRgb* pLine, int nWidth, QRgb rgbKey, std::vector<CRun>& arrRuns)
{
    arrRuns.clear();
    int x = 0;
    while (x < nWidth) {
        while (x < nWidth && (pLine[x] & RGB_MASK) == rgbKey)
            ++x;
        const int nLeft = x;
        while (x < nWidth && (pLine[x] & RGB_MASK) != rgbKey)
            ++x;
        if (x > nLeft)
            arrRuns.push_back({ nLeft, x });
    }
}

void AppendBand(const std::vector<CRun>& arrRuns, int nTop, int nHeight, std::vector<QRect>& arrRects)
{
    for (const CRun& run : arrRuns)
        arrRects.emplace_back(run.nLeft, nTop, run.nRight - run.nLeft, nHeight);
}

} // namespace

QRegion BuildShapeRegion(const QImage& image, COLORREF crKey)
{
    const QImage pixels = image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32
        ? image
        : image.convertToFormat(QImage::Format_RGB32);
    const QRgb rgbKey = RgbFromRef(crKey) & RGB_MASK;

    std::vector<QRect> arrRects;
    std::vector<CRun> arrBand;
    std::vector<CRun> arrRow;
    int nBandTop = 0;
    for (int y = 0; y < pixels.height(); ++y) {
        FindKeptRuns(reinterpret_cast<const QRgb*>(pixels.constScanLine(y)), pixels.width(), rgbKey, arrRow);
        if (y > 0 && arrRow == arrBand)
            continue;
        AppendBand(arrBand, nBandTop, y - nBandTop, arrRects);
        arrBand.swap(arrRow);
        nBandTop = y;
    }
    AppendBand(arrBand, nBandTop, pixels.height() - nBandTop, arrRects);

    // The rectangles are in the banded order QRegion keeps internally:
    // sorted by top then left, one height per band, no two touching sideways
    // within a band, and equal neighbouring bands merged.
    QRegion region;
    region.setRects(arrRects.data(), int(arrRects.size()));
    return region;
}
