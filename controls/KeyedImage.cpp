#include "controls/KeyedImage.h"

#include <QFileInfo>
#include <QImageReader>
#include <QtDebug>

#include "skin/SkinImageFile.h"

namespace {

constexpr qreal DOUBLE_SIZE_RATIO = 2.0;

// A missing picture is part of many skins and goes unmentioned; one that is
// there but not used is worth a line for whoever wonders why.
QImage ReadLogged(const QString& strPath)
{
    const CSkinImageFile file = ReadSkinImageFile(strPath);
    if (file.eResult != ESkinImageResult::eOk && file.eResult != ESkinImageResult::eMissing)
        qWarning().noquote() << "[LoadSkinImage]" << strPath + QStringLiteral(": ") + file.strReason;
    return file.image;
}

QImage ReadDoubleSize(const QString& strPath)
{
    const QString strPartner = DoubleSizePartnerPath(strPath);
    if (!QFileInfo(strPartner).isFile())
        return QImage();
    const QSize sizeWanted = QImageReader(strPath).size() * DOUBLE_SIZE_RATIO;
    QImage image = ReadLogged(strPartner);
    if (image.isNull())
        return QImage();
    if (image.size() != sizeWanted) {
        qWarning().noquote() << "[LoadSkinImage]" << strPartner << "is not twice the size of" << strPath;
        return QImage();
    }
    image.setDevicePixelRatio(DOUBLE_SIZE_RATIO);
    return image;
}

} // namespace

QImage LoadSkinImage(const QString& strPath, qreal dDevicePixelRatio)
{
    if (strPath.isEmpty())
        return QImage();
    if (dDevicePixelRatio >= DOUBLE_SIZE_MIN_RATIO) {
        const QImage image = ReadDoubleSize(strPath);
        if (!image.isNull())
            return image;
    }
    return ReadLogged(strPath);
}

QSize LogicalSize(const QImage& image)
{
    return image.deviceIndependentSize().toSize();
}

QSize LogicalSize(const QPixmap& pixmap)
{
    return pixmap.deviceIndependentSize().toSize();
}

void DrawPixmapPart(QPainter& painter, const QPoint& ptTarget, const QPixmap& pixmap, const QRect& rcSource)
{
    const qreal dRatio = pixmap.devicePixelRatio();
    const QRectF rcPixels(QPointF(rcSource.topLeft()) * dRatio, QSizeF(rcSource.size()) * dRatio);
    painter.drawPixmap(QRectF(ptTarget, QSizeF(rcSource.size())), pixmap, rcPixels);
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
