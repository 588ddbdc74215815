#include <random>

#include <gtest/gtest.h>

#include <QImage>

#include "skin/WindowShape.h"

namespace {

constexpr COLORREF KEY = MakeColorRef(255, 0, 255);
const QColor KEY_COLOUR(255, 0, 255);

// The shape as the window's region was first defined: the image rectangle
// with every key-coloured pixel cut out, one pixel at a time.
QRegion ShapeOnePixelAtATime(const QImage& image)
{
    QRegion region(image.rect());
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            if (image.pixelColor(x, y) == KEY_COLOUR)
                region = region.xored(QRegion(x, y, 1, 1));
        }
    }
    return region;
}

QImage Solid(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(QColor(10, 120, 30));
    return image;
}

struct CShapeCase
{
    const char* pszName;
    QImage image;
};

QList<CShapeCase> ShapeCases()
{
    QList<CShapeCase> cases;
    cases.append({ "no key pixel", Solid(37, 21) });

    QImage corners = Solid(40, 30);
    for (const QPoint& pt : { QPoint(0, 0), QPoint(39, 0), QPoint(0, 29), QPoint(39, 29) })
        corners.setPixelColor(pt, KEY_COLOUR);
    cases.append({ "key corners", corners });

    QImage all = Solid(9, 5);
    all.fill(KEY_COLOUR);
    cases.append({ "every pixel key", all });

    QImage scattered = Solid(64, 48);
    std::mt19937 random(7);
    for (int i = 0; i < 400; ++i)
        scattered.setPixelColor(int(random() % 64), int(random() % 48), KEY_COLOUR);
    cases.append({ "scattered key pixels", scattered });

    QImage stripes = Solid(20, 20);
    for (int y = 5; y < 15; ++y) {
        for (int x = 0; x < 20; x += 2)
            stripes.setPixelColor(x, y, KEY_COLOUR);
    }
    cases.append({ "repeated rows", stripes });

    QImage nearKey = Solid(6, 6);
    nearKey.setPixelColor(2, 2, QColor(254, 0, 255));
    cases.append({ "a colour one step from the key stays", nearKey });

    // 24-bit bitmaps load in another format than the window paints in.
    cases.append({ "24-bit image", corners.convertToFormat(QImage::Format_RGB888) });
    return cases;
}

TEST(WindowShape, EqualsTheImageMinusEveryKeyPixel)
{
    for (const CShapeCase& c : ShapeCases()) {
        SCOPED_TRACE(c.pszName);
        const QRegion expected = ShapeOnePixelAtATime(c.image);
        const QRegion shape = BuildShapeRegion(c.image, KEY);
        EXPECT_TRUE(shape.xored(expected).isEmpty());
        EXPECT_EQ(shape, expected);
    }
}

} // namespace
