#include <gtest/gtest.h>

#include <ostream>

#include "engine/PictureFit.h"
#include "engine/V4l2Device.h"

// Found by argument lookup, so it lives where CPictureArea does.
static void PrintTo(const CPictureArea& area, std::ostream* pStream)
{
    *pStream << area.nWidth << "x" << area.nHeight << " at " << area.nLeft << "," << area.nTop;
}

namespace {

bool operator==(AVRational a, AVRational b)
{
    return av_cmp_q(a, b) == 0;
}

} // namespace

TEST(PictureFit, KeepsTheSourceShapeInTheShownPicture)
{
    struct CFitCase
    {
        const char* pszName;
        AVRational source;
        int nWidth;
        int nHeight;
        AVRational display;
        CPictureArea expected;
    } const cases[] = {
        { "1280x1024 screen in a 4:3 DVD picture", { 5, 4 }, 720, 480, { 4, 3 }, { 22, 0, 676, 480 } },
        { "4:3 in 16:9", { 4, 3 }, 720, 480, { 16, 9 }, { 90, 0, 540, 480 } },
        { "16:9 in 4:3", { 16, 9 }, 720, 576, { 4, 3 }, { 0, 72, 720, 432 } },
        // 720x480 shown at 4:3 has pixels narrower than high; a square-pixel
        // 640x480 camera picture and an 8:9-pixel 720x480 one are both 4:3.
        { "640x480 camera in 720x480 at 4:3", { 4, 3 }, 720, 480, { 4, 3 }, { 0, 0, 720, 480 } },
        { "8:9 pixels of 720x480 at 4:3", DisplayAspect(720, 480, { 8, 9 }), 720, 480, { 4, 3 }, { 0, 0, 720, 480 } },
        { "less than a pixel narrower", { 1000, 751 }, 352, 240, { 4, 3 }, { 0, 0, 352, 240 } },
        { "unknown source shape", { 0, 1 }, 352, 240, { 4, 3 }, { 0, 0, 352, 240 } },
    };
    for (const CFitCase& fit : cases) {
        SCOPED_TRACE(fit.pszName);
        EXPECT_EQ(FitPicture(fit.source, fit.nWidth, fit.nHeight, fit.display), fit.expected);
    }
}

TEST(PictureFit, PixelShapes)
{
    EXPECT_TRUE(DisplayAspect(352, 240, { 0, 1 }) == (AVRational { 22, 15 })) << "unknown pixels are square";
    EXPECT_TRUE(PixelAspect(352, 240, { 4, 3 }) == (AVRational { 10, 11 }));
    EXPECT_TRUE(PixelAspect(720, 576, { 16, 9 }) == (AVRational { 64, 45 }));
    // V4L2 gives a pixel's height over its width: 54/59 for PAL sampled as
    // BT.601 says, 11/10 for NTSC.
    EXPECT_TRUE(DisplayAspectOfV4l2(720, 576, { 54, 59 }) == (AVRational { 295, 216 }));
    EXPECT_TRUE(DisplayAspectOfV4l2(720, 480, { 11, 10 }) == (AVRational { 15, 11 }));
    EXPECT_TRUE(DisplayAspectOfV4l2(640, 480, { 1, 1 }) == (AVRational { 4, 3 }));
    EXPECT_TRUE(DisplayAspectOfV4l2(0, 0, { 1, 1 }) == (AVRational { 0, 1 })) << "a device that does not tell";
}
