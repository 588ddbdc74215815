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
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setMask(BuildKeyMask(image, crKey));
    return pixmap;
}
