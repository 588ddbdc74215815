#include "skinart/SkinArt.h"

#include <gtest/gtest.h>

#include "skinart/SkinGlyphs.h"

TEST(SkinArt, FlattenKeysOnlyUntouchedPixelsAndNeverDrawsTheKey)
{
    QImage imgArt(4, 1, QImage::Format_ARGB32_Premultiplied);
    imgArt.setPixel(0, 0, qPremultiply(qRgba(0, 0, 0, 0)));
    imgArt.setPixel(1, 0, qPremultiply(qRgba(255, 0, 255, 255))); // art that happens to be magenta
    imgArt.setPixel(2, 0, qPremultiply(qRgba(0, 0, 0, 128)));     // half covered edge
    imgArt.setPixel(3, 0, qPremultiply(qRgba(10, 20, 30, 255)));
    QImage imgUnder(4, 1, QImage::Format_RGB32);
    imgUnder.fill(QColor(200, 100, 50));

    const QImage out = FlattenOver(imgArt, imgUnder).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(out.pixel(0, 0), KEY_RGB);
    EXPECT_NE(out.pixel(1, 0), KEY_RGB);
    EXPECT_NEAR(qRed(out.pixel(2, 0)), 100, 2);
    EXPECT_NEAR(qGreen(out.pixel(2, 0)), 50, 2);
    EXPECT_EQ(out.pixel(3, 0), qRgb(10, 20, 30));
}

TEST(SkinArt, OutlineEdgesAreEitherKeyOrOpaqueEdgeColour)
{
    QImage imgArt(3, 1, QImage::Format_ARGB32_Premultiplied);
    imgArt.setPixel(0, 0, qPremultiply(qRgba(255, 255, 255, 100)));
    imgArt.setPixel(1, 0, qPremultiply(qRgba(255, 255, 255, 200)));
    imgArt.setPixel(2, 0, qPremultiply(qRgba(255, 255, 255, 255)));
    const QImage out = FlattenOutline(imgArt, Qt::black).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(out.pixel(0, 0), KEY_RGB);
    EXPECT_NEAR(qRed(out.pixel(1, 0)), 200, 2);
    EXPECT_EQ(out.pixel(2, 0), qRgb(255, 255, 255));
}

// Icons drawn past their box would be cut off at the button's edge.
TEST(SkinArt, EveryGlyphFillsItsBoxWithoutLeavingIt)
{
    const QRectF rcBox(10, 20, 48, 48);
    for (int n = int(EGlyph::eRecord); n <= int(EGlyph::eChevronDown); ++n) {
        SCOPED_TRACE(n);
        const QRectF rcGlyph = GlyphPath(EGlyph(n), rcBox).boundingRect();
        EXPECT_TRUE(rcBox.contains(rcGlyph));
        EXPECT_GT(qMax(rcGlyph.width(), rcGlyph.height()), rcBox.width() * 0.4);
    }
    EXPECT_TRUE(GlyphPath(EGlyph::eNone, rcBox).isEmpty());
}
