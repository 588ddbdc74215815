#include "skinart/SkinArt.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include "skinart/SkinGlyphs.h"

namespace {

constexpr int GRILLE_PITCH = 7;
constexpr qreal GRILLE_DOT_RADIUS = 1.6;
constexpr int BEZEL_RADIUS = 16;

QColor WithAlpha(QColor clr, int nAlpha)
{
    clr.setAlpha(nAlpha);
    return clr;
}

QFont TextFont(int nPointSize, bool bBold)
{
    QFont font("DejaVu Sans");
    font.setPointSize(nPointSize);
    font.setBold(bBold);
    if (bBold)
        font.setLetterSpacing(QFont::AbsoluteSpacing, 1.2);
    return font;
}

// Body gradient and gloss inside the outline, shared by the window and the
// notifier.
void PaintBody(QPainter& painter, const QPainterPath& outline, const CSkinPalette& palette)
{
    const QRectF rcBounds = outline.boundingRect();
    QLinearGradient body(rcBounds.topLeft(), rcBounds.bottomLeft());
    body.setColorAt(0, palette.clrBodyTop);
    body.setColorAt(1, palette.clrBodyBottom);
    painter.fillPath(outline, body);

    painter.save();
    painter.setClipPath(outline);
    QLinearGradient gloss(rcBounds.topLeft(), QPointF(rcBounds.left(), rcBounds.top() + rcBounds.height() * 0.5));
    gloss.setColorAt(0, QColor(255, 255, 255, 70));
    gloss.setColorAt(1, QColor(255, 255, 255, 0));
    painter.fillRect(rcBounds, gloss);
    // Bevel: a light edge along the top of the outline, a dark one below.
    painter.strokePath(outline.translated(0, 2), QPen(QColor(255, 255, 255, 90), 2.5));
    painter.strokePath(outline.translated(0, -2), QPen(QColor(0, 0, 0, 70), 2.5));
    painter.restore();
    painter.strokePath(outline, QPen(palette.clrRim, 2.5));
}

// A recessed area: inner shadow at the top, a light edge below.
void PaintWell(QPainter& painter, const QRectF& rc, qreal dRadius, const QColor& clrFill)
{
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 55));
    painter.drawRoundedRect(rc.translated(0, 1), dRadius, dRadius);
    painter.setBrush(clrFill);
    painter.drawRoundedRect(rc, dRadius, dRadius);
    QPainterPath well;
    well.addRoundedRect(rc, dRadius, dRadius);
    painter.setClipPath(well);
    QLinearGradient shadow(rc.topLeft(), rc.topLeft() + QPointF(0, qMin(8.0, rc.height() / 2)));
    shadow.setColorAt(0, QColor(0, 0, 0, 110));
    shadow.setColorAt(1, QColor(0, 0, 0, 0));
    painter.fillRect(rc, shadow);
    painter.restore();
}

// Text cut into the surface: a light line under dark text.
void PaintEngraved(QPainter& painter, const CLabelLayout& heading, const CSkinPalette& palette)
{
    painter.setFont(TextFont(heading.nPointSize, heading.nPointSize < 9));
    painter.setPen(QColor(255, 255, 255, 50));
    painter.drawText(heading.rc.translated(0, 1), Qt::AlignLeft | Qt::AlignTop, heading.strText);
    painter.setPen(palette.clrTextDim);
    painter.drawText(heading.rc, Qt::AlignLeft | Qt::AlignTop, heading.strText);
}

void PaintGrille(QPainter& painter, const QRect& rc)
{
    for (int y = rc.top() + GRILLE_PITCH / 2; y < rc.bottom(); y += GRILLE_PITCH) {
        const int nShift = ((y - rc.top()) / GRILLE_PITCH) % 2 ? GRILLE_PITCH / 2 : 0;
        for (int x = rc.left() + GRILLE_PITCH / 2 + nShift; x < rc.right(); x += GRILLE_PITCH) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor(255, 255, 255, 45));
            painter.drawEllipse(QPointF(x, y + 0.8), GRILLE_DOT_RADIUS, GRILLE_DOT_RADIUS);
            painter.setBrush(QColor(0, 0, 0, 120));
            painter.drawEllipse(QPointF(x, y), GRILLE_DOT_RADIUS, GRILLE_DOT_RADIUS);
        }
    }
}

// A screen bezel: brushed rim, a dark glass edge, and the screen itself,
// which the recorder preview covers at run time.
void PaintBezel(QPainter& painter, const CSkinLayout& layout, const CSkinPalette& palette)
{
    const QRectF rcBezel = layout.rcBezel;
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 60));
    painter.drawRoundedRect(rcBezel.translated(0, 1.2), BEZEL_RADIUS, BEZEL_RADIUS);
    QLinearGradient rim(rcBezel.topLeft(), rcBezel.bottomLeft());
    rim.setColorAt(0, palette.clrRim.lighter(160));
    rim.setColorAt(0.5, palette.clrRim);
    rim.setColorAt(1, palette.clrRim.darker(140));
    painter.setBrush(rim);
    painter.drawRoundedRect(rcBezel, BEZEL_RADIUS, BEZEL_RADIUS);
    const QRectF rcGlass = QRectF(layout.rcControl).adjusted(-6, -6, 6, 6);
    painter.setBrush(QColor(0x050607));
    painter.drawRoundedRect(rcGlass, 6, 6);

    const QRectF rcScreen = layout.rcControl;
    QRadialGradient screen(rcScreen.center(), rcScreen.width() * 0.7);
    screen.setColorAt(0, QColor(0x24282F));
    screen.setColorAt(1, QColor(0x0B0C0F));
    painter.fillRect(rcScreen, screen);
    const qreal dSide = rcScreen.height() * 0.22;
    const QRectF rcMark(rcScreen.center() - QPointF(dSide / 2, dSide / 2), QSizeF(dSide, dSide));
    painter.fillPath(GlyphPath(EGlyph::eCamera, rcMark), QColor(255, 255, 255, 22));
    // A faint reflection across the glass.
    QLinearGradient sheen(rcScreen.topLeft(), rcScreen.bottomRight());
    sheen.setColorAt(0, QColor(255, 255, 255, 26));
    sheen.setColorAt(0.45, QColor(255, 255, 255, 0));
    painter.fillRect(rcScreen, sheen);

    // Recording lamp in the lower bezel edge.
    const QPointF ptLamp(rcBezel.right() - 16, rcBezel.bottom() - 6.5);
    painter.setBrush(WithAlpha(palette.clrRecord, 120));
    painter.drawEllipse(ptLamp, 3.5, 3.5);
    painter.setBrush(palette.clrRecord.lighter(130));
    painter.drawEllipse(ptLamp, 2, 2);
}

void PaintFieldWell(QPainter& painter, const QRect& rc, const CSkinPalette& palette)
{
    const QRectF rcWell = QRectF(rc).adjusted(-2, -2, 2, 2);
    PaintWell(painter, rcWell, 4, FieldBorderColor(palette));
    painter.fillRect(QRectF(rc).adjusted(-1, -1, 1, 1), FieldBorderColor(palette));
    painter.fillRect(rc, FieldBackColor(palette));
}

void PaintMeterSlot(QPainter& painter, const CSkinLayout& layout, const CSkinPalette& palette)
{
    const QRect rc = layout.rcProgress;
    PaintWell(painter, QRectF(rc).adjusted(-3, -3, 3, 3), 4, FieldBackColor(palette));
    const int nBlock = layout.sizeProgressBlock.width();
    for (int x = rc.left(); x + nBlock - 1 <= rc.right() + 1; x += nBlock)
        painter.fillRect(QRect(x, rc.top(), nBlock - 1, rc.height()), WithAlpha(palette.clrAccent, 38));
}

} // namespace

QImage DrawBackground(const CSkinPalette& palette, const CSkinLayout& layout, int nScale)
{
    QImage img = NewScaledImage(layout.size, nScale, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter painter(&img);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    PaintBody(painter, layout.outline, palette);
    if (layout.bAccentTrim) {
        painter.save();
        painter.setClipPath(layout.outline);
        painter.strokePath(layout.outline, QPen(WithAlpha(palette.clrAccent, 190), 7));
        painter.restore();
        painter.strokePath(layout.outline, QPen(palette.clrRim, 2.5));
    }

    for (const CPanelLayout& panel : layout.arrPanels)
        PaintWell(painter, panel.rc, panel.nRadius, WithAlpha(palette.clrPanel, 120));
    PaintWell(painter, layout.rcTransport, layout.rcTransport.height() / 2.0, WithAlpha(palette.clrPanel, 120));
    for (const QRect& rcGrille : layout.arrGrilles)
        PaintGrille(painter, rcGrille);
    for (const CLabelLayout& heading : layout.arrHeadings)
        PaintEngraved(painter, heading, palette);
    PaintBezel(painter, layout, palette);

    const QRect rcComboFace(layout.rcCombo.topLeft(), QSize(layout.rcCombo.width(), layout.sizeComboArrow.height()));
    PaintFieldWell(painter, rcComboFace, palette);
    PaintFieldWell(painter, layout.rcEdit, palette);
    PaintFieldWell(painter, layout.rcList, palette);
    PaintMeterSlot(painter, layout, palette);
    painter.end();
    return FlattenOutline(img, palette.clrRim);
}

QImage DrawNotifier(const CSkinPalette& palette, int nScale)
{
    const QSize size = NotifierSize();
    QImage img = NewScaledImage(size, nScale, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter painter(&img);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QPainterPath outline;
    outline.addRoundedRect(QRectF(1.5, 1.5, size.width() - 3, size.height() - 3), 18, 18);
    PaintBody(painter, outline, palette);

    const QRectF rcLogo(16, 10, 28, 28);
    painter.setPen(QPen(palette.clrAccent, 2));
    painter.setBrush(palette.clrRim);
    painter.drawEllipse(rcLogo.adjusted(1, 1, -1, -1));
    painter.fillPath(GlyphPath(EGlyph::eRecord, rcLogo.adjusted(4, 4, -4, -4)), palette.clrRecord);
    painter.setFont(TextFont(12, false));
    painter.setPen(QColor(0, 0, 0, 60));
    painter.drawText(QRectF(52, 11, 200, 26), Qt::AlignLeft | Qt::AlignVCenter, "SkinRecorder");
    painter.setPen(palette.clrText);
    painter.drawText(QRectF(52, 10, 200, 26), Qt::AlignLeft | Qt::AlignVCenter, "SkinRecorder");

    // The page area: the program's page covers it once it loads; until then,
    // or where no browser can run, it greets the user with a few tips.
    const QRectF rcPage(NotifierPanel());
    PaintWell(painter, rcPage.adjusted(-2, -2, 2, 2), 10, WithAlpha(palette.clrPanel, 140));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xFAFAFA));
    painter.drawRoundedRect(rcPage, 8, 8);
    painter.setFont(TextFont(11, false));
    painter.setPen(QColor(0x2A2E33));
    painter.drawText(rcPage.adjusted(14, 10, -14, 0), Qt::AlignLeft | Qt::AlignTop, "Ready to record");
    struct CTip
    {
        EGlyph eGlyph;
        const char* pText;
    };
    const CTip arrTips[] = {
        { EGlyph::eRecord, "Record straight to an MPEG file" },
        { EGlyph::eCamera, "Pick the camera and microphone" },
        { EGlyph::eFrame, "Lay a frame picture over the video" },
    };
    painter.setFont(TextFont(8, false));
    qreal y = rcPage.top() + 46;
    for (const CTip& tip : arrTips) {
        const QRectF rcGlyph(rcPage.left() + 14, y, 22, 22);
        painter.fillPath(GlyphPath(tip.eGlyph, rcGlyph),
                         tip.eGlyph == EGlyph::eRecord ? palette.clrRecord : palette.clrHover);
        painter.setPen(QColor(0x454B52));
        painter.drawText(QRectF(rcGlyph.right() + 10, y, rcPage.width() - 60, 22), Qt::AlignLeft | Qt::AlignVCenter,
                         tip.pText);
        y += 34;
    }

    painter.setFont(TextFont(7, true));
    painter.setPen(palette.clrTextDim);
    painter.drawText(QRectF(16, 222, size.width() - 32, 16), Qt::AlignLeft | Qt::AlignVCenter,
                     "YOUR RECORDER \u00B7 YOUR SKIN");
    painter.end();
    return FlattenOutline(img, palette.clrRim);
}
