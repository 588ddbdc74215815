#include "controls/KeyedImage.h"

QImage LoadSkinImage(const QString& strPath)
{
    if (strPath.isEmpty())
        return QImage();
    return QImage(strPath);
}

QBitmap BuildKeyMask(const QImage& image, COLORREF crKey)
{
    const QImage rgbImage = image.convertToFormat(QImage::Format_RGB32);
    return QBitmap::fromImage(rgbImage.createMaskFromColor(RgbFromRef(crKey), Qt::MaskInColor));
}

QPixmap KeyedPixmap(const QImage& image, COLORREF crKey)
{
    if (image.isNull())
        return QPixmap();
    QImage keyed = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb rgbKey = RgbFromRef(crKey) & RGB_MASK;
    for (int y = 0; y < keyed.height(); ++y) {
        QRgb* pLine = reinterpret_cast<QRgb*>(keyed.scanLine(y));
        for (int x = 0; x < keyed.width(); ++x) {
            if ((pLine[x] & RGB_MASK) == rgbKey)
                pLine[x] = 0;
        }
    }
    return QPixmap::fromImage(keyed);
}
