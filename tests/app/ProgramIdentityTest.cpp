#include <gtest/gtest.h>

#include <QImage>

#include "app/ProgramIdentity.h"

namespace {

TEST(ProgramIdentity, WindowIconIsTheDrawnIconAtEverySize)
{
    const QIcon icon = ProgramIdentity::Icon();
    EXPECT_EQ(icon.availableSizes(),
              (QList<QSize> { { 16, 16 }, { 32, 32 }, { 48, 48 }, { 64, 64 }, { 128, 128 }, { 256, 256 } }));
    const QImage img = icon.pixmap(QSize(48, 48)).toImage();
    ASSERT_EQ(img.size(), QSize(48, 48));
    EXPECT_EQ(qAlpha(img.pixel(0, 0)), 0) << "the corners lie outside the round button";
    const QColor clrCentre = img.pixelColor(24, 24);
    EXPECT_GT(clrCentre.red(), 2 * clrCentre.green()) << "the record dot is red";
}

} // namespace
