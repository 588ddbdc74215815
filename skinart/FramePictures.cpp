#include "skinart/FramePictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>
#include <QtMath>

#include "base/FramePictureFiles.h"
#include "skinart/SkinArt.h"

namespace {

constexpr int FRAME_WIDTH = 640;
constexpr int FRAME_HEIGHT = 480;
// Decorations stay within this band along the edges, leaving the picture free.
constexpr int BAND = 64;
constexpr quint32 SCATTER_SEED = 7015;

QImage NewFrame()
{
    QImage img(FRAME_WIDTH, FRAME_HEIGHT, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

QPainterPath Heart(const QPointF& ptCentre, qreal dSize)
{
    const qreal s = dSize / 2;
    const qreal x = ptCentre.x();
    const qreal y = ptCentre.y();
    QPainterPath path(QPointF(x, y + s));
    path.cubicTo(x - s * 1.6, y - s * 0.1, x - s * 0.8, y - s * 1.3, x, y - s * 0.45);
    path.cubicTo(x + s * 0.8, y - s * 1.3, x + s * 1.6, y - s * 0.1, x, y + s);
    return path;
}

QPainterPath Star(const QPointF& ptCentre, qreal dRadius, qreal dAngle)
{
    QPolygonF polygon;
    for (int i = 0; i < 10; ++i) {
        const qreal dR = i % 2 ? dRadius * 0.45 : dRadius;
        const qreal a = qDegreesToRadians(dAngle + i * 36.0 - 90);
        polygon << ptCentre + QPointF(qCos(a) * dR, qSin(a) * dR);
    }
    QPainterPath path;
    path.addPolygon(polygon);
    path.closeSubpath();
    return path;
}

// Points spread along the border band, reproducibly.
QList<QPointF> BorderPoints(int nCount, QRandomGenerator& random)
{
    QList<QPointF> arrPoints;
    while (arrPoints.size() < nCount) {
        const QPointF pt(random.bounded(FRAME_WIDTH), random.bounded(FRAME_HEIGHT));
        const qreal dEdge = qMin(qMin(pt.x(), FRAME_WIDTH - pt.x()), qMin(pt.y(), FRAME_HEIGHT - pt.y()));
        if (dEdge < BAND * 0.75)
            arrPoints << pt;
    }
    return arrPoints;
}

// Nothing but the transparent colour.
QImage NoFrame()
{
    QImage img(FRAME_WIDTH, FRAME_HEIGHT, QImage::Format_RGB32);
    img.fill(KEY_RGB);
    return img;
}

QImage FilmStrip()
{
    QImage img = NewFrame();
    QPainter painter(&img);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor clrFilm(0x141414);
    for (const int y : { 0, FRAME_HEIGHT - 56 }) {
        painter.fillRect(QRect(0, y, FRAME_WIDTH, 56), clrFilm);
        for (int x = 10; x < FRAME_WIDTH; x += 32) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor(0xF2EEE4));
            painter.drawRoundedRect(QRectF(x, y + 18, 18, 20), 4, 4);
        }
    }
    painter.fillRect(QRect(0, 56, FRAME_WIDTH, 3), QColor(0x3A3A3A));
    painter.fillRect(QRect(0, FRAME_HEIGHT - 59, FRAME_WIDTH, 3), QColor(0x3A3A3A));
    painter.end();
    return FlattenOutline(img, clrFilm);
}

QImage RoundedBorder()
{
    QImage img = NewFrame();
    QPainter painter(&img);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath border;
    border.addRect(img.rect());
    QPainterPath window;
    window.addRoundedRect(QRectF(28, 28, FRAME_WIDTH - 56, FRAME_HEIGHT - 56), 70, 70);
    QLinearGradient cream(0, 0, FRAME_WIDTH, FRAME_HEIGHT);
    cream.setColorAt(0, QColor(0xFFF8EC));
    cream.setColorAt(1, QColor(0xEADBC2));
    painter.fillPath(border.subtracted(window), cream);
    painter.strokePath(window, QPen(QColor(0xC8A050), 4));
    painter.end();
    return FlattenOutline(img, QColor(0xC8A050));
}

QImage Hearts()
{
    QImage img = NewFrame();
    QPainter painter(&img);
    painter.setRenderHint(QPainter::Antialiasing);
    QRandomGenerator random(SCATTER_SEED);
    const QColor arrColors[] = { QColor(0xFF4F8B), QColor(0xFF8DB5), QColor(0xE0245E), QColor(0xFFC2D6) };
    for (const QPointF& pt : BorderPoints(70, random)) {
        const qreal dSize = 16 + random.bounded(30);
        const QColor clr = arrColors[random.bounded(4)];
        painter.fillPath(Heart(pt, dSize), clr.darker(125));
        painter.fillPath(Heart(pt - QPointF(0, 1.5), dSize - 3), clr);
    }
    painter.end();
    return FlattenOutline(img, QColor(0xB01F4D));
}

QImage Stars()
{
    QImage img = NewFrame();
    QPainter painter(&img);
    painter.setRenderHint(QPainter::Antialiasing);
    QRandomGenerator random(SCATTER_SEED + 1);
    for (const QPointF& pt : BorderPoints(80, random)) {
        const qreal dRadius = 6 + random.bounded(16);
        const QPainterPath star = Star(pt, dRadius, random.bounded(72));
        painter.fillPath(star, QColor(0xB8860B));
        painter.fillPath(Star(pt, dRadius * 0.7, 0), QColor(0xFFE37A));
    }
    painter.end();
    return FlattenOutline(img, QColor(0xB8860B));
}

QImage ClassicGold()
{
    QImage img = NewFrame();
    QPainter painter(&img);
    painter.setRenderHint(QPainter::Antialiasing);
    const int nWidth = 34;
    for (int i = 0; i < nWidth; ++i) {
        // Bands of light and shade give the moulding its relief.
        const qreal t = qreal(i) / nWidth;
        const qreal dLight = 0.55 + 0.45 * qSin(t * M_PI * 2.2);
        const QColor clr =
            QColor::fromRgbF(float(0.55 + 0.4 * dLight), float(0.38 + 0.38 * dLight), float(0.08 + 0.2 * dLight));
        painter.setPen(QPen(clr, 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(i + 0.5, i + 0.5, FRAME_WIDTH - 2 * i - 1, FRAME_HEIGHT - 2 * i - 1));
    }
    painter.setPen(QPen(QColor(0x3A2608), 2));
    painter.drawRect(QRectF(nWidth + 1, nWidth + 1, FRAME_WIDTH - 2 * nWidth - 2, FRAME_HEIGHT - 2 * nWidth - 2));
    painter.end();
    return FlattenOutline(img, QColor(0x3A2608));
}

} // namespace

QList<CPackageFile> BuildFramePictures()
{
    QList<CPackageFile> arrFiles = { CPackageFile { QString::fromLatin1(NO_FRAME_PICTURE_FILE),
                                                    EncodeBmp(NoFrame()) } };
    const QImage arrPictures[] = { FilmStrip(), RoundedBorder(), Hearts(), Stars(), ClassicGold() };
    int nNumber = 1;
    for (const QImage& img : arrPictures)
        arrFiles.append(CPackageFile { QString("Frame%1.bif").arg(nNumber++, 2, 10, QChar('0')), EncodeBmp(img) });
    return arrFiles;
}
