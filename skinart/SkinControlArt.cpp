#include "skinart/SkinArt.h"

#include <QBuffer>
#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include "skinart/SkinGlyphs.h"

namespace {

constexpr int FRAME_COUNT = 4;
constexpr QRgb NEAR_BLACK = 0xFF010101;

enum class EFrame {
    eNormal,
    eHover,
    eDown,
    eDisabled,
};

QColor Mix(const QColor& a, const QColor& b, qreal dWeightOfB)
{
    return QColor::fromRgbF(float(a.redF() * (1 - dWeightOfB) + b.redF() * dWeightOfB),
                            float(a.greenF() * (1 - dWeightOfB) + b.greenF() * dWeightOfB),
                            float(a.blueF() * (1 - dWeightOfB) + b.blueF() * dWeightOfB));
}

QColor WithAlpha(QColor clr, int nAlpha)
{
    clr.setAlpha(nAlpha);
    return clr;
}

QColor Grayed(const QColor& clr)
{
    const int nGray = qGray(clr.rgb());
    return Mix(QColor(nGray, nGray, nGray), QColor(0x9A9A9A), 0.35);
}

QPainterPath FacePath(const QRectF& rc, EFace eFace)
{
    QPainterPath path;
    switch (eFace) {
    case EFace::eRound:
        path.addEllipse(rc);
        break;
    case EFace::ePill:
        path.addRoundedRect(rc, rc.height() / 2, rc.height() / 2);
        break;
    case EFace::eRoundedSquare:
        path.addRoundedRect(rc, qMin(rc.width(), rc.height()) * 0.24, qMin(rc.width(), rc.height()) * 0.24);
        break;
    }
    return path;
}

QImage NewArt(const QSize& size, int nScale)
{
    QImage img = NewScaledImage(size, nScale, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

int ScaleOf(const QImage& img)
{
    return qRound(img.devicePixelRatio());
}

struct CFaceColors
{
    QColor clrTop;
    QColor clrBottom;
    QColor clrGlyph;
};

CFaceColors FaceColors(const CSkinPalette& palette, EFrame eFrame, EButtonRole eRole, EGlyph eGlyph)
{
    const QColor clrGlyph = eGlyph == EGlyph::eRecord ? palette.clrRecord : palette.clrGlyph;
    switch (eFrame) {
    case EFrame::eNormal:
        return { palette.clrFaceTop, palette.clrFaceBottom, clrGlyph };
    case EFrame::eHover:
        return { palette.clrFaceTop.lighter(106), Mix(palette.clrFaceBottom, palette.clrHover, 0.3),
                 eGlyph == EGlyph::eRecord ? palette.clrRecord.lighter(115) : clrGlyph };
    case EFrame::eDown:
        if (eRole == EButtonRole::eToggle)
            return { palette.clrAccent.lighter(112), palette.clrAccent.darker(125), palette.clrPanel };
        return { palette.clrFaceBottom.darker(118), palette.clrFaceTop.darker(104), clrGlyph.darker(110) };
    case EFrame::eDisabled:
        return { Grayed(palette.clrFaceTop), Grayed(palette.clrFaceBottom), WithAlpha(Grayed(clrGlyph), 110) };
    }
    return {};
}

void PaintGlyphOrText(QPainter& painter, const CButtonLayout& button, EFrame eFrame, const QRectF& rcInner,
                      const QColor& clrGlyph)
{
    const QPointF ptPress = eFrame == EFrame::eDown ? QPointF(0, 1) : QPointF(0, 0);
    if (!button.strText.isEmpty()) {
        QFont font("DejaVu Sans");
        font.setPointSizeF(qMax(7.0, rcInner.height() * 0.36));
        font.setBold(true);
        painter.setFont(font);
        painter.setPen(clrGlyph);
        painter.drawText(rcInner.translated(ptPress), Qt::AlignCenter, button.strText);
        return;
    }
    const EGlyph eGlyph =
        eFrame == EFrame::eDown && button.eGlyphChecked != EGlyph::eNone ? button.eGlyphChecked : button.eGlyph;
    // Round faces leave less room inside their circle than squares do.
    const qreal dScale = button.eFace == EFace::eRound ? 0.62 : 0.7;
    const qreal dSide = qMin(rcInner.width(), rcInner.height()) * dScale;
    const QRectF rcBox(rcInner.center() - QPointF(dSide / 2, dSide / 2) + ptPress, QSizeF(dSide, dSide));
    const QPainterPath glyph = GlyphPath(eGlyph, rcBox);
    if (eFrame != EFrame::eDown && eFrame != EFrame::eDisabled)
        painter.fillPath(glyph.translated(0, 1), QColor(255, 255, 255, 70));
    painter.fillPath(glyph, clrGlyph);
}

QImage DrawButtonFrame(const CSkinPalette& palette, const CButtonLayout& button, EButtonRole eRole, EFrame eFrame,
                       const QSize& size, int nScale)
{
    QImage img = NewArt(size, nScale);
    QPainter painter(&img);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const CFaceColors colors = FaceColors(palette, eFrame, eRole, button.eGlyph);
    const QRectF rcOuter = QRectF(QPointF(0, 0), QSizeF(size)).adjusted(0.5, 0.5, -0.5, -1.0);
    const QPainterPath outer = FacePath(rcOuter, button.eFace);
    const QRectF rcInner = rcOuter.adjusted(1.6, 1.6, -1.6, -1.6);
    const QPainterPath inner = FacePath(rcInner, button.eFace);

    if (eFrame != EFrame::eDown)
        painter.fillPath(outer.translated(0, 1), QColor(0, 0, 0, 60));
    painter.fillPath(outer, WithAlpha(palette.clrRim, 235));
    QLinearGradient face(rcInner.topLeft(), rcInner.bottomLeft());
    face.setColorAt(0, colors.clrTop);
    face.setColorAt(1, colors.clrBottom);
    painter.fillPath(inner, face);

    painter.save();
    painter.setClipPath(inner);
    if (eFrame == EFrame::eDown) {
        painter.strokePath(inner.translated(0, 1.5), QPen(QColor(0, 0, 0, 70), 3));
    } else {
        // Gloss over the upper half, as on a rounded, lit surface.
        QLinearGradient gloss(rcInner.topLeft(), QPointF(rcInner.left(), rcInner.center().y()));
        gloss.setColorAt(0, QColor(255, 255, 255, eFrame == EFrame::eDisabled ? 40 : 110));
        gloss.setColorAt(1, QColor(255, 255, 255, 0));
        painter.fillRect(rcInner, gloss);
    }
    painter.restore();
    if (eFrame == EFrame::eHover)
        painter.strokePath(FacePath(rcInner.adjusted(0.8, 0.8, -0.8, -0.8), button.eFace), QPen(palette.clrHover, 2));

    PaintGlyphOrText(painter, button, eFrame, rcInner, colors.clrGlyph);
    return img;
}

QImage Strip(const QList<QImage>& arrFrames)
{
    const QSize sizeFrame = ArtRect(arrFrames.first()).size();
    QImage imgStrip = NewScaledImage(QSize(sizeFrame.width() * int(arrFrames.size()), sizeFrame.height()),
                                     ScaleOf(arrFrames.first()), QImage::Format_RGB888);
    QPainter painter(&imgStrip);
    for (int i = 0; i < arrFrames.size(); ++i)
        painter.drawImage(i * sizeFrame.width(), 0, arrFrames[i]);
    return imgStrip;
}

QImage SolidUnder(const QSize& size, int nScale, const QColor& clr)
{
    QImage img = NewScaledImage(size, nScale, QImage::Format_RGB888);
    img.fill(clr);
    return img;
}

QImage DrawScrollButton(const CSkinPalette& palette, const QSize& size, int nScale, int nRotation, bool bPressed,
                        bool bThumb)
{
    // Scroll bar parts are copied without a colour key: fully opaque.
    QImage img = NewScaledImage(size, nScale, QImage::Format_RGB888);
    img.fill(FieldBackColor(palette));
    QPainter painter(&img);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF rc = QRectF(QPointF(0, 0), QSizeF(size)).adjusted(1, 1, -1, -1);
    const qreal dRadius = qMin(rc.width(), rc.height()) * 0.35;
    QLinearGradient face(rc.topLeft(), rc.topRight());
    face.setColorAt(0, bPressed ? palette.clrAccent.lighter(110) : palette.clrFaceTop);
    face.setColorAt(1, bPressed ? palette.clrAccent.darker(120) : palette.clrFaceBottom);
    painter.setPen(QPen(WithAlpha(palette.clrRim, 200), 1));
    painter.setBrush(face);
    painter.drawRoundedRect(rc, dRadius, dRadius);
    const QColor clrMark = bPressed ? palette.clrPanel : palette.clrGlyph;
    if (bThumb) {
        for (int i = -1; i <= 1; ++i) {
            const qreal y = rc.center().y() + i * 3;
            painter.setPen(QPen(WithAlpha(clrMark, 170), 1.2));
            painter.drawLine(QPointF(rc.left() + 3, y), QPointF(rc.right() - 3, y));
        }
    } else {
        painter.translate(rc.center());
        painter.rotate(nRotation);
        painter.translate(-rc.center());
        painter.fillPath(GlyphPath(EGlyph::eChevronDown, rc.adjusted(1, 1, -1, -1)), clrMark);
    }
    painter.end();
    return img;
}

} // namespace

QImage NewScaledImage(const QSize& size, int nScale, QImage::Format eFormat)
{
    QImage img(size * nScale, eFormat);
    img.setDevicePixelRatio(nScale);
    return img;
}

QRect ArtRect(const QImage& img)
{
    return QRect(QPoint(0, 0), img.deviceIndependentSize().toSize());
}

QByteArray EncodeBmp(const QImage& img)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    // Qt's BMP writer stores RGB888 pictures with three bytes a pixel.
    if (!img.convertToFormat(QImage::Format_RGB888).save(&buffer, "BMP"))
        return {};
    return data;
}

QImage FlattenOver(const QImage& imgArt, const QImage& imgUnder)
{
    const QImage art = imgArt.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage under = imgUnder.convertToFormat(QImage::Format_RGB32);
    QImage out(art.size(), QImage::Format_RGB888);
    out.setDevicePixelRatio(art.devicePixelRatio());
    for (int y = 0; y < art.height(); ++y) {
        const QRgb* pArt = reinterpret_cast<const QRgb*>(art.constScanLine(y));
        const QRgb* pUnder = reinterpret_cast<const QRgb*>(under.constScanLine(y));
        for (int x = 0; x < art.width(); ++x) {
            const int nAlpha = qAlpha(pArt[x]);
            QRgb rgb = KEY_RGB;
            if (nAlpha > 0) {
                const int nRest = 255 - nAlpha;
                rgb = qRgb(qRed(pArt[x]) + qRed(pUnder[x]) * nRest / 255,
                           qGreen(pArt[x]) + qGreen(pUnder[x]) * nRest / 255,
                           qBlue(pArt[x]) + qBlue(pUnder[x]) * nRest / 255);
                // Drawn pixels must never read as the key by accident.
                if (rgb == KEY_RGB)
                    rgb = qRgb(254, 0, 254);
            }
            out.setPixel(x, y, rgb);
        }
    }
    return out;
}

QImage FlattenOutline(const QImage& imgArt, const QColor& clrEdge)
{
    QImage edge(imgArt.size(), QImage::Format_RGB32);
    edge.fill(clrEdge);
    QImage art = imgArt.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < art.height(); ++y) {
        QRgb* pArt = reinterpret_cast<QRgb*>(art.scanLine(y));
        for (int x = 0; x < art.width(); ++x) {
            if (qAlpha(pArt[x]) < 128)
                pArt[x] = 0;
        }
    }
    return FlattenOver(art, edge);
}

QImage DrawButtonStrip(const CSkinPalette& palette, const CButtonLayout& button, EButtonRole eRole,
                       const QImage& imgUnder)
{
    QList<QImage> arrFrames;
    for (int i = 0; i < FRAME_COUNT; ++i) {
        const QImage art =
            DrawButtonFrame(palette, button, eRole, EFrame(i), ArtRect(imgUnder).size(), ScaleOf(imgUnder));
        arrFrames.append(FlattenOver(art, imgUnder));
    }
    return Strip(arrFrames);
}

QImage DrawButtonFace(const CSkinPalette& palette, const CButtonLayout& button, const QSize& size)
{
    return DrawButtonFrame(palette, button, EButtonRole::ePush, EFrame::eNormal, size, 1);
}

QImage DrawAppIcon(const CSkinPalette& palette, const QImage& imgUnder)
{
    QImage img = NewArt(ArtRect(imgUnder).size(), ScaleOf(imgUnder));
    QPainter painter(&img);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF rc = QRectF(ArtRect(img)).adjusted(1, 1, -1, -1);
    QRadialGradient lens(rc.center() - QPointF(rc.width() * 0.2, rc.height() * 0.2), rc.width() * 0.75);
    lens.setColorAt(0, palette.clrFaceTop);
    lens.setColorAt(1, palette.clrFaceBottom.darker(115));
    painter.setPen(QPen(palette.clrRim, 1.5));
    painter.setBrush(lens);
    painter.drawEllipse(rc);
    painter.setPen(QPen(palette.clrAccent, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(rc.adjusted(3.5, 3.5, -3.5, -3.5));
    painter.fillPath(GlyphPath(EGlyph::eRecord, rc.adjusted(5, 5, -5, -5)), palette.clrRecord);
    painter.end();
    return FlattenOver(img, imgUnder);
}

int SliderChannelHeight(int nThumbSize)
{
    return nThumbSize / 3;
}

QImage DrawSliderChannel(const CSkinPalette& palette, const QImage& imgUnder)
{
    QImage img = NewArt(ArtRect(imgUnder).size(), ScaleOf(imgUnder));
    QPainter painter(&img);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF rc = QRectF(ArtRect(img));
    QLinearGradient fill(rc.topLeft(), rc.bottomLeft());
    fill.setColorAt(0, palette.clrAccent.lighter(115));
    fill.setColorAt(1, palette.clrAccent.darker(130));
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(rc, rc.height() / 2, rc.height() / 2);
    painter.end();
    return FlattenOver(img, imgUnder);
}

QImage DrawSliderThumb(const CSkinPalette& palette, bool bDragging, const QImage& imgUnder)
{
    QImage img = NewArt(ArtRect(imgUnder).size(), ScaleOf(imgUnder));
    QPainter painter(&img);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF rc = QRectF(ArtRect(img)).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette.clrRim);
    painter.drawEllipse(rc);
    QLinearGradient face(rc.topLeft(), rc.bottomLeft());
    face.setColorAt(0, bDragging ? palette.clrAccent.lighter(120) : palette.clrFaceTop);
    face.setColorAt(1, bDragging ? palette.clrAccent.darker(115) : palette.clrFaceBottom);
    painter.setBrush(face);
    painter.drawEllipse(rc.adjusted(1.3, 1.3, -1.3, -1.3));
    const qreal dDot = rc.width() * 0.28;
    painter.setBrush(bDragging ? palette.clrPanel : palette.clrAccent.darker(110));
    painter.drawEllipse(QRectF(rc.center() - QPointF(dDot / 2, dDot / 2), QSizeF(dDot, dDot)));
    painter.end();
    return FlattenOver(img, imgUnder);
}

QList<QImage> DrawScrollImages(const CSkinPalette& palette, int nWidth, int nScale)
{
    QImage imgTrack = NewScaledImage(QSize(nWidth, 16), nScale, QImage::Format_RGB888);
    {
        QPainter painter(&imgTrack);
        QLinearGradient track(0, 0, nWidth, 0);
        track.setColorAt(0, FieldBackColor(palette).darker(115));
        track.setColorAt(0.5, Mix(FieldBackColor(palette), palette.clrFaceBottom, 0.25));
        track.setColorAt(1, FieldBackColor(palette).darker(115));
        painter.fillRect(ArtRect(imgTrack), track);
    }
    const QSize sizeArrow(nWidth, nWidth);
    const QSize sizeThumb(nWidth, nWidth * 2);
    return {
        imgTrack,
        DrawScrollButton(palette, sizeArrow, nScale, 180, false, false),
        DrawScrollButton(palette, sizeArrow, nScale, 180, true, false),
        DrawScrollButton(palette, sizeArrow, nScale, 0, false, false),
        DrawScrollButton(palette, sizeArrow, nScale, 0, true, false),
        DrawScrollButton(palette, sizeThumb, nScale, 0, false, true),
        DrawScrollButton(palette, sizeThumb, nScale, 0, true, true),
    };
}

QImage DrawComboArrowStrip(const CSkinPalette& palette, const QSize& sizeFrame, const QImage& imgUnder)
{
    QList<QImage> arrFrames;
    for (int i = 0; i < FRAME_COUNT; ++i) {
        const EFrame eFrame = EFrame(i);
        const CFaceColors colors = FaceColors(palette, eFrame, EButtonRole::ePush, EGlyph::eChevronDown);
        // The drop button keys out black, not the skin's colour key, so the
        // frame carries the background beneath it instead of key pixels.
        QImage img = NewArt(sizeFrame, ScaleOf(imgUnder));
        QPainter painter(&img);
        painter.drawImage(0, 0, imgUnder);
        painter.setRenderHint(QPainter::Antialiasing);
        // Square on the left, where the button meets the edit field.
        const QRectF rc = QRectF(ArtRect(img)).adjusted(-6, 0.5, -0.5, -0.5);
        QLinearGradient face(rc.topLeft(), rc.bottomLeft());
        face.setColorAt(0, colors.clrTop);
        face.setColorAt(1, colors.clrBottom);
        painter.setPen(QPen(WithAlpha(palette.clrRim, 220), 1));
        painter.setBrush(face);
        painter.drawRoundedRect(rc, 5, 5);
        const qreal dSide = sizeFrame.height() * 0.75;
        const QPointF ptPress = eFrame == EFrame::eDown ? QPointF(0, 1) : QPointF(0, 0);
        const QRectF rcBox(QRectF(ArtRect(img)).center() - QPointF(dSide / 2, dSide / 2) + ptPress,
                           QSizeF(dSide, dSide));
        painter.fillPath(GlyphPath(EGlyph::eChevronDown, rcBox), colors.clrGlyph);
        if (eFrame == EFrame::eHover) {
            painter.setPen(QPen(palette.clrHover, 1.5));
            painter.setBrush(Qt::NoBrush);
            painter.drawRoundedRect(rc.adjusted(1.2, 1.2, -1.2, -1.2), 4, 4);
        }
        painter.end();
        QImage frame = FlattenOver(img, imgUnder);
        for (int y = 0; y < frame.height(); ++y) {
            for (int x = 0; x < frame.width(); ++x) {
                if (frame.pixel(x, y) == 0xFF000000)
                    frame.setPixel(x, y, NEAR_BLACK);
            }
        }
        arrFrames.append(frame);
    }
    return Strip(arrFrames);
}

QImage DrawProgressBlock(const CSkinPalette& palette, const QSize& size, int nScale)
{
    QImage img = NewArt(size, nScale);
    QPainter painter(&img);
    QLinearGradient fill(0, 0, 0, size.height());
    fill.setColorAt(0, palette.clrAccent.lighter(120));
    fill.setColorAt(1, palette.clrAccent.darker(120));
    // The last column stays key-coloured: the gap between two blocks.
    painter.fillRect(QRect(0, 0, size.width() - 1, size.height()), fill);
    painter.end();
    return FlattenOver(img, SolidUnder(size, nScale, Qt::black));
}

QColor FieldBackColor(const CSkinPalette& palette)
{
    return palette.clrPanel;
}

QColor FieldTextColor(const CSkinPalette& palette)
{
    return Mix(palette.clrAccent, QColor(Qt::white), 0.55);
}

QColor FieldBorderColor(const CSkinPalette& palette)
{
    return Mix(palette.clrRim, palette.clrAccent, 0.45);
}

QColor SelectionBackColor(const CSkinPalette& palette)
{
    return palette.clrAccent;
}

QColor SelectionTextColor(const CSkinPalette& palette)
{
    return palette.clrPanel;
}
