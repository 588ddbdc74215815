#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include <QTest>

#include "app/ConverterDlg.h"
#include "tests/app/ProgramDriver.h"
#include "tests/common/ProgramSkin.h"
#include "tests/common/ScriptedPrompt.h"
#include "tests/engine/MediaProbe.h"

namespace {

constexpr double RECORD_SECONDS = 1.0;
constexpr double PICTURE_SECONDS = 0.6;
constexpr int PICTURE_WIDTH = 352;
constexpr int PICTURE_HEIGHT = 240;
// The film strip covers the top and bottom 59 of its 480 rows.
constexpr int BAND_ROWS = PICTURE_HEIGHT * 59 / 480;
// Moving parts of the test pattern and coding noise stay below this mean
// difference; a frame picture over the bands lies far above it.
constexpr double SAME_PICTURE_MEAN_DIFFERENCE = 12;

// One picture of a recording made with Convert on the default skin, with
// the frame picture the frame dialog's row nFrameRow names (-1: none).
std::vector<std::uint8_t> RecordWithFrameRow(int nFrameRow)
{
    CProgramCurrentDirectory current;
    EXPECT_TRUE(current.IsValid());
    ConversionSettings settings = BuiltInSourceSettings();
    settings.nVideoBitrate = 1500000;
    settings.nFramePictureIndex = nFrameRow;
    const QString strFile = current.FilePath(QStringLiteral("frame.mpg"));
    CScriptedPrompt prompt;
    prompt.m_arrFiles = { strFile };
    CConverterDlg dialog(prompt, settings);
    dialog.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    ClickButton(dialog, "BUTTON_CONVERT");
    const CEncorda& encoder = dialog.RecorderWidget();
    EXPECT_TRUE(WaitForElapsed(encoder, RECORD_SECONDS));
    ClickButton(dialog, "BUTTON_STOP");
    return DecodePictureRgb(strFile.toStdString(), PICTURE_SECONDS);
}

// Mean absolute difference of two RGB pictures over the rows a border
// frame covers at the top and bottom.
double BandDifference(const std::vector<std::uint8_t>& first, const std::vector<std::uint8_t>& second)
{
    const std::size_t nRowBytes = PICTURE_WIDTH * 3;
    double dSum = 0;
    std::size_t nCount = 0;
    for (int y = 0; y < PICTURE_HEIGHT; ++y) {
        if (y >= BAND_ROWS && y < PICTURE_HEIGHT - BAND_ROWS)
            continue;
        for (std::size_t nByte = y * nRowBytes; nByte < (y + 1) * nRowBytes; ++nByte) {
            dSum += std::abs(int(first[nByte]) - int(second[nByte]));
            ++nCount;
        }
    }
    return dSum / double(nCount);
}

// A new user's first recording: Convert sends frame picture 1, the first
// of our Frame folder, which draws nothing. The recording matches one made
// with no frame picture at all, where the next picture, the film strip,
// visibly does not.
TEST(DefaultFramePicture, ConvertRecordsThePictureWithoutAnOverlay)
{
    if (!CProgramCurrentDirectory::HasProgramSkin(CConverterDlg::DEFAULT_SKIN))
        GTEST_SKIP() << "the program's skins are not built beside the test";
    const std::size_t nPictureBytes = std::size_t(PICTURE_WIDTH) * PICTURE_HEIGHT * 3;
    const std::vector<std::uint8_t> withoutFrame = RecordWithFrameRow(-1);
    const std::vector<std::uint8_t> byDefault = RecordWithFrameRow(ConversionSettings().nFramePictureIndex);
    const std::vector<std::uint8_t> filmStrip = RecordWithFrameRow(1);
    ASSERT_EQ(withoutFrame.size(), nPictureBytes);
    ASSERT_EQ(byDefault.size(), nPictureBytes);
    ASSERT_EQ(filmStrip.size(), nPictureBytes);
    EXPECT_LT(BandDifference(byDefault, withoutFrame), SAME_PICTURE_MEAN_DIFFERENCE);
    EXPECT_GT(BandDifference(filmStrip, withoutFrame), 3 * SAME_PICTURE_MEAN_DIFFERENCE);
}

} // namespace
