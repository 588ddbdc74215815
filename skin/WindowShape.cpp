#include "skin/WindowShape.h"

#include <vector>

#include <QtMath>

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

// One pixel per logical pixel: the key where every device pixel beneath it
// is the key, another colour where any is not.
QImage KeptPerLogicalPixel(const QImage& pixels, QRgb rgbKey, int nRatio)
{
    const QSize sizeLogical((pixels.width() + nRatio - 1) / nRatio, (pixels.height() + nRatio - 1) / nRatio);
    QImage kept(sizeLogical, QImage::Format_RGB32);
    kept.fill(rgbKey);
    const QRgb rgbKept = ~rgbKey;
    for (int y = 0; y < pixels.height(); ++y) {
        const QRgb* pLine = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
        QRgb* pKeptLine = reinterpret_cast<QRgb*>(kept.scanLine(y / nRatio));
        for (int x = 0; x < pixels.width(); ++x) {
            if ((pLine[x] & RGB_MASK) != rgbKey)
                pKeptLine[x / nRatio] = rgbKept;
        }
    }
    return kept;
}

} // namespace

QRegion BuildShapeRegion(const QImage& image, COLORREF crKey)
{
    const QRgb rgbKey = RgbFromRef(crKey) & RGB_MASK;
    QImage pixels = image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32
        ? image
        : image.convertToFormat(QImage::Format_RGB32);
    const int nRatio = qCeil(image.devicePixelRatio());
    if (nRatio > 1)
        pixels = KeptPerLogicalPixel(pixels, rgbKey, nRatio);

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
