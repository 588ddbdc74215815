#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <mutex>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "engine/PictureFit.h"
#include "engine/Recorder.h"
#include "engine/V4l2Device.h"
#include "tests/engine/MediaProbe.h"

// Found by argument lookup, so it lives where CPictureArea does.
static void PrintTo(const CPictureArea& area, std::ostream* pStream)
{
    *pStream << area.nWidth << "x" << area.nHeight << " at " << area.nLeft << "," << area.nTop;
}

namespace {

constexpr int CODED_WIDTH = 352;
constexpr int CODED_HEIGHT = 240;
constexpr double DECODED_SECONDS = 0.2;
// MPEG's ringing spreads an edge a pixel or two into its neighbours.
constexpr int EDGE_MARGIN = 3;
// The brightest channel of a coded black pixel, and the level between the
// test square's grey and its white.
constexpr int BLACK_LIMIT = 24;
constexpr int WHITE_LEVEL = 192;
// How far the square's shown width may stray from its height, in pixels.
constexpr double SHAPE_TOLERANCE = 2.0;

bool operator==(AVRational a, AVRational b)
{
    return av_cmp_q(a, b) == 0;
}

// One decoded RGB picture of CODED_WIDTH x CODED_HEIGHT.
class CPicture
{
public:
    explicit CPicture(std::vector<std::uint8_t> rgb)
        : m_rgb(std::move(rgb))
    {
    }
    bool IsWhole() const { return m_rgb.size() == static_cast<std::size_t>(CODED_WIDTH * CODED_HEIGHT * 3); }
    int Brightest(int x, int y) const
    {
        const std::uint8_t* pPixel = &m_rgb[(static_cast<std::size_t>(y) * CODED_WIDTH + x) * 3];
        return std::max({ pPixel[0], pPixel[1], pPixel[2] });
    }
    bool IsBlack(int x, int y) const { return Brightest(x, y) <= BLACK_LIMIT; }
    bool IsWhite(int x, int y) const { return Brightest(x, y) >= WHITE_LEVEL; }

private:
    std::vector<std::uint8_t> m_rgb;
};

bool IsInside(const CPictureArea& area, int x, int y, int nMargin)
{
    return x >= area.nLeft + nMargin && x < area.nLeft + area.nWidth - nMargin && y >= area.nTop + nMargin
        && y < area.nTop + area.nHeight - nMargin;
}

// Pixels away from the area's edges: black outside it, never black inside.
::testing::AssertionResult HasBarsAround(const CPicture& picture, const CPictureArea& area)
{
    for (int y = 0; y < CODED_HEIGHT; ++y) {
        for (int x = 0; x < CODED_WIDTH; ++x) {
            if (!IsInside(area, x, y, -EDGE_MARGIN) && !picture.IsBlack(x, y))
                return ::testing::AssertionFailure() << "bar pixel " << x << "," << y << " is not black";
            if (IsInside(area, x, y, EDGE_MARGIN) && picture.IsBlack(x, y))
                return ::testing::AssertionFailure() << "picture pixel " << x << "," << y << " is black";
        }
    }
    return ::testing::AssertionSuccess();
}

int CountWhite(const CPicture& picture, int nFromX, int nFromY, int nStepX, int nStepY)
{
    int nCount = 0;
    for (int x = nFromX, y = nFromY; x < CODED_WIDTH && y < CODED_HEIGHT; x += nStepX, y += nStepY)
        nCount += picture.IsWhite(x, y) ? 1 : 0;
    return nCount;
}

struct CShapeCase
{
    const char* pszName;
    // The Test Pattern's own size; 0 x 0 for none, when it is the coded picture.
    short nSourceWidth;
    short nSourceHeight;
    int nAspectWidth;
    int nAspectHeight;
    CPictureArea expected; // where the source shows in the coded picture
};

// Records the square Test Pattern at the case's size into a 352x240 MPEG-2
// picture shown at the case's aspect.
::testing::AssertionResult RecordSquare(const CShapeCase& testCase, const std::string& strFile, CRecorder& recorder)
{
    CRecordingRequest request;
    request.dSeconds = 0.5;
    if (!ConfigureRecorder(recorder, request, strFile))
        return ::testing::AssertionFailure() << "device missing";
    CRecordingProfile& profile = recorder.Profile();
    profile.test.bSquarePattern = true;
    profile.test.nPatternWidth = testCase.nSourceWidth;
    profile.test.nPatternHeight = testCase.nSourceHeight;
    profile.nAspectNumerator = testCase.nAspectWidth;
    profile.nAspectDenominator = testCase.nAspectHeight;
    return RecordToTheEnd(recorder);
}

// The last preview picture, copied out of the callback; read it once the
// recorder has stopped calling.
class CPreviewKeeper
{
public:
    void Keep(const CPreviewFrame& frame)
    {
        std::lock_guard lock(m_mutex);
        m_nWidth = frame.nWidth;
        m_nHeight = frame.nHeight;
        m_pixels.resize(static_cast<std::size_t>(frame.nWidth) * frame.nHeight);
        for (int y = 0; y < frame.nHeight; ++y)
            std::copy_n(
                reinterpret_cast<const std::uint32_t*>(frame.pPixels + static_cast<std::ptrdiff_t>(y) * frame.nStride),
                frame.nWidth, m_pixels.begin() + static_cast<std::ptrdiff_t>(y) * frame.nWidth);
    }
    int Width() const { return m_nWidth; }
    int Height() const { return m_nHeight; }
    // The brightest of the pixel's three channels.
    int Brightest(int x, int y) const
    {
        const std::uint32_t nPixel = m_pixels[static_cast<std::size_t>(y) * m_nWidth + x];
        return std::max({ (nPixel >> 16) & 0xFF, (nPixel >> 8) & 0xFF, nPixel & 0xFF });
    }

private:
    std::mutex m_mutex;
    int m_nWidth = 0;
    int m_nHeight = 0;
    std::vector<std::uint32_t> m_pixels;
};

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

// A source of another shape than the recording's shows undistorted between
// black bars: a 1280x1024 screen was stretched to 4:3 before.
TEST(SourceShape, SourceOfAnotherShapeKeepsItsProportionsBetweenBars)
{
    const CShapeCase cases[] = {
        { "5:4 source, 4:3 picture: pillarbox", 320, 256, 4, 3, { 10, 0, 330, 240 } },
        { "5:4 source, 16:9 picture: pillarbox", 320, 256, 16, 9, { 52, 0, 248, 240 } },
        { "4:3 source, 16:9 picture: pillarbox", 320, 240, 16, 9, { 44, 0, 264, 240 } },
        { "16:9 source, 4:3 picture: letterbox", 320, 180, 4, 3, { 0, 30, 352, 180 } },
        // 352x240 at 4:3 has pixels narrower than high: the square-pixel
        // 320x240 source has the same shape as shown.
        { "4:3 source, 4:3 picture: no bars", 320, 240, 4, 3, { 0, 0, 352, 240 } },
        { "the pattern's own picture at 16:9: no bars", 0, 0, 16, 9, { 0, 0, 352, 240 } },
    };
    const QTemporaryDir folder;
    for (const CShapeCase& testCase : cases) {
        SCOPED_TRACE(testCase.pszName);
        const std::string strFile = folder.filePath("shape.mpg").toStdString();
        CRecorder recorder;
        ASSERT_TRUE(RecordSquare(testCase, strFile, recorder));
        const CPicture picture(DecodePictureRgb(strFile, DECODED_SECONDS));
        ASSERT_TRUE(picture.IsWhole());
        const CPictureArea& area = testCase.expected;
        EXPECT_TRUE(HasBarsAround(picture, area));

        // The square is half the source high, and as wide as high when
        // shown: its pixels count 11/10 times as many across, 352x240 at
        // 4:3 having pixels 10/11 as wide as high (and 4/3 of that at 16:9).
        const AVRational pixel =
            PixelAspect(CODED_WIDTH, CODED_HEIGHT, { testCase.nAspectWidth, testCase.nAspectHeight });
        const int nSquareWidth = CountWhite(picture, 0, CODED_HEIGHT / 2, 1, 0);
        const int nSquareHeight = CountWhite(picture, area.nLeft + area.nWidth / 2, 0, 0, 1);
        EXPECT_NEAR(nSquareHeight, area.nHeight / 2, SHAPE_TOLERANCE);
        EXPECT_NEAR(nSquareWidth * av_q2d(pixel), nSquareHeight, SHAPE_TOLERANCE)
            << nSquareWidth << " pixels across, " << nSquareHeight << " down";
    }
}

// The preview shows what a player shows: the bars, and the recording's
// display shape rather than the coded picture's.
TEST(SourceShape, PreviewShowsTheRecordedShapeAndBars)
{
    const CShapeCase wide { "5:4 source, 16:9 picture", 320, 256, 16, 9, { 52, 0, 248, 240 } };
    CPreviewKeeper preview;
    CRecorder recorder;
    recorder.SetPreviewSize(160, 120);
    recorder.SetPreviewCallback([&preview](const CPreviewFrame& frame) { preview.Keep(frame); });
    const QTemporaryDir folder;
    ASSERT_TRUE(RecordSquare(wide, folder.filePath("preview.mpg").toStdString(), recorder));
    ASSERT_EQ(preview.Width(), 160);
    ASSERT_EQ(preview.Height(), 90);
    // The source fills 248 of 352 columns from column 52: 23 to 136 of 160;
    // the square, 45 pixels high, is 45 wide in the preview's square pixels.
    const int nMiddle = preview.Height() / 2;
    EXPECT_LE(preview.Brightest(10, nMiddle), BLACK_LIMIT) << "left bar";
    EXPECT_LE(preview.Brightest(150, nMiddle), BLACK_LIMIT) << "right bar";
    EXPECT_GT(preview.Brightest(40, nMiddle), BLACK_LIMIT) << "grey around the square";
    EXPECT_LT(preview.Brightest(40, nMiddle), WHITE_LEVEL) << "grey around the square";
    int nSquareWidth = 0;
    for (int x = 0; x < preview.Width(); ++x)
        nSquareWidth += preview.Brightest(x, nMiddle) >= WHITE_LEVEL ? 1 : 0;
    EXPECT_NEAR(nSquareWidth, 45, SHAPE_TOLERANCE);
}
