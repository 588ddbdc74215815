#include "skinart/SkinGlyphs.h"

#include <QPainterPathStroker>
#include <QTransform>

namespace {

// Glyphs are designed on a 24 x 24 grid, as icon sets usually are.
constexpr qreal GRID = 24.0;

QPainterPath Stroke(const QPainterPath& path, qreal dWidth)
{
    QPainterPathStroker stroker;
    stroker.setWidth(dWidth);
    stroker.setCapStyle(Qt::RoundCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    return stroker.createStroke(path).simplified();
}

QPainterPath Line(qreal x1, qreal y1, qreal x2, qreal y2, qreal dWidth)
{
    QPainterPath path(QPointF(x1, y1));
    path.lineTo(x2, y2);
    return Stroke(path, dWidth);
}

QPainterPath Polygon(const QList<QPointF>& arrPoints, qreal dRounding)
{
    QPainterPath path;
    path.addPolygon(QPolygonF(arrPoints));
    path.closeSubpath();
    // A thin round stroke softens the corners the way designed icons are.
    return path.united(Stroke(path, dRounding)).simplified();
}

QPainterPath Circle(qreal x, qreal y, qreal dRadius)
{
    QPainterPath path;
    path.addEllipse(QPointF(x, y), dRadius, dRadius);
    return path;
}

QPainterPath Rounded(qreal x, qreal y, qreal w, qreal h, qreal dRadius)
{
    QPainterPath path;
    path.addRoundedRect(QRectF(x, y, w, h), dRadius, dRadius);
    return path;
}

QPainterPath Arc(const QRectF& rc, qreal dStart, qreal dSweep, qreal dWidth)
{
    QPainterPath path;
    path.arcMoveTo(rc, dStart);
    path.arcTo(rc, dStart, dSweep);
    return Stroke(path, dWidth);
}

QPainterPath Speaker()
{
    return Polygon({ { 3.5, 9 }, { 7.5, 9 }, { 12.5, 4.5 }, { 12.5, 19.5 }, { 7.5, 15 }, { 3.5, 15 } }, 1.2);
}

QPainterPath Profile()
{
    QPainterPath path;
    const qreal arrY[] = { 6.5, 12, 17.5 };
    const qreal arrKnob[] = { 15, 8.5, 13 };
    for (int i = 0; i < 3; ++i) {
        path = path.united(Line(3.5, arrY[i], 20.5, arrY[i], 1.7));
        path = path.united(Circle(arrKnob[i], arrY[i], 2.7));
    }
    return path;
}

QPainterPath Camera()
{
    return Rounded(2.5, 6.5, 13.5, 11, 2.2)
        .united(Polygon({ { 16.5, 10.5 }, { 21.5, 7.5 }, { 21.5, 16.5 }, { 16.5, 13.5 } }, 1.2))
        .subtracted(Circle(6.3, 10.2, 1.4));
}

QPainterPath Microphone()
{
    return Rounded(8.5, 2.5, 7, 12, 3.5)
        .united(Arc(QRectF(5.5, 5.5, 13, 12), 180, 180, 1.8))
        .united(Line(12, 17.5, 12, 21, 1.8))
        .united(Line(8.5, 21, 15.5, 21, 1.8));
}

QPainterPath Sync()
{
    return Stroke(Circle(12, 12, 8.5), 1.9)
        .united(Line(12, 12, 12, 7, 1.9))
        .united(Line(12, 12, 15.5, 14, 1.9))
        .united(Circle(12, 12, 1.5));
}

QPainterPath FramePicture()
{
    return Stroke(Rounded(3, 4.5, 18, 15, 2), 1.9)
        .united(Polygon({ { 6, 16.5 }, { 10, 11 }, { 13, 14.5 }, { 15, 12.5 }, { 18, 16.5 } }, 0.8))
        .united(Circle(16, 8.6, 1.5));
}

QPainterPath Film()
{
    QPainterPath path = Rounded(4, 2.5, 16, 19, 2);
    for (int i = 0; i < 4; ++i) {
        const qreal y = 4.3 + i * 4.2;
        path = path.subtracted(Rounded(5.3, y, 1.9, 2.3, 0.5)).subtracted(Rounded(16.8, y, 1.9, 2.3, 0.5));
    }
    return path.subtracted(Rounded(8.6, 5, 6.8, 5.8, 0.8)).subtracted(Rounded(8.6, 13.2, 6.8, 5.8, 0.8));
}

QPainterPath Chevron()
{
    QPainterPath path(QPointF(6.5, 9.5));
    path.lineTo(12, 15);
    path.lineTo(17.5, 9.5);
    return Stroke(path, 2.6);
}

QPainterPath DesignPath(EGlyph eGlyph)
{
    switch (eGlyph) {
    case EGlyph::eNone:
        return {};
    case EGlyph::eRecord:
        return Circle(12, 12, 7.5);
    case EGlyph::ePlay:
        return Polygon({ { 8, 4.8 }, { 19.5, 12 }, { 8, 19.2 } }, 2.2);
    case EGlyph::ePause:
        return Rounded(6, 5, 4.2, 14, 1.2).united(Rounded(13.8, 5, 4.2, 14, 1.2));
    case EGlyph::eStop:
        return Rounded(6, 6, 12, 12, 2);
    case EGlyph::eProfile:
        return Profile();
    case EGlyph::eCamera:
        return Camera();
    case EGlyph::eMicrophone:
        return Microphone();
    case EGlyph::eSync:
        return Sync();
    case EGlyph::eFrame:
        return FramePicture();
    case EGlyph::eFilm:
        return Film();
    case EGlyph::eMinimize:
        return Rounded(6, 14.5, 12, 2.6, 1.3);
    case EGlyph::eClose:
        return Line(7, 7, 17, 17, 2.4).united(Line(17, 7, 7, 17, 2.4));
    case EGlyph::eSpeaker:
        return Speaker()
            .united(Arc(QRectF(9, 8, 8, 8), -50, 100, 1.7))
            .united(Arc(QRectF(7, 4.5, 14, 15), -50, 100, 1.7));
    case EGlyph::eSpeakerMuted:
        return Speaker().united(Line(15.5, 9, 21, 15, 1.9)).united(Line(21, 9, 15.5, 15, 1.9));
    case EGlyph::eChevronDown:
        return Chevron();
    }
    return {};
}

} // namespace

QPainterPath GlyphPath(EGlyph eGlyph, const QRectF& rcBox)
{
    const qreal dSide = qMin(rcBox.width(), rcBox.height());
    const QPointF ptOrigin = rcBox.center() - QPointF(dSide / 2, dSide / 2);
    QTransform transform;
    transform.translate(ptOrigin.x(), ptOrigin.y());
    transform.scale(dSide / GRID, dSide / GRID);
    return transform.map(DesignPath(eGlyph));
}
