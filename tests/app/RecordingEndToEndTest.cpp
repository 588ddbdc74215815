#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTest>

#include "app/ConverterDlg.h"
#include "controls/SkinComboBox.h"
#include "controls/SkinComboButton.h"
#include "controls/SkinListBox.h"
#include "tests/app/ProgramDriver.h"
#include "tests/common/ProgramSkin.h"
#include "tests/common/ScriptedPrompt.h"
#include "tests/engine/MediaProbe.h"

namespace {

constexpr double RECORD_SECONDS = 2.0;

void Click(QWidget* pWidget, QPoint pt)
{
    QTest::mouseClick(pWidget, Qt::LeftButton, {}, pt);
}

struct COutputCase
{
    int nRow;
    const char* pszCodec;
    bool bWideScreen;
    // As ffprobe reports it; MPEG-1 only approximates it, so not checked there.
    const char* pszDisplayAspect;
};

// The whole road of a recording: the program on its default skin, the
// output type picked in its selector, Convert, the file named through the
// prompt, a few seconds of the built-in sources with the preview and the
// recording status showing, Stop, and a file a player reads.
TEST(RecordingEndToEnd, ConvertRecordsTheChosenMpegType)
{
    if (!CProgramCurrentDirectory::HasProgramSkin(CConverterDlg::DEFAULT_SKIN))
        GTEST_SKIP() << "the program's skins are not built beside the test";
    const COutputCase cases[] = { { 0, "mpeg1video", false, nullptr },
                                  { 1, "mpeg2video", false, "4:3" },
                                  { 1, "mpeg2video", true, "16:9" } };
    for (const COutputCase& c : cases) {
        SCOPED_TRACE(std::string(c.pszCodec) + (c.bWideScreen ? " 16:9" : " 4:3"));
        CProgramCurrentDirectory current;
        ASSERT_TRUE(current.IsValid());
        ConversionSettings settings = BuiltInSourceSettings();
        settings.nVideoBitrate = 1500000;
        settings.bScaleTo16By9 = c.bWideScreen;
        const QString strFile = current.FilePath(QStringLiteral("recording.mpg"));
        CScriptedPrompt prompt;
        prompt.m_arrFiles = { strFile };

        CConverterDlg dialog(prompt, settings);
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        CSkinComboBox* pCombo = dialog.FirstComboBox();
        ASSERT_NE(pCombo, nullptr);
        Click(pCombo->Button(), pCombo->Button()->rect().center());
        CSkinListBox* pList = pCombo->List();
        Click(pList, QPoint(pList->width() / 3, pList->RowHeight() * c.nRow + pList->RowHeight() / 2));
        ASSERT_EQ(pList->GetSelectedRow(), c.nRow);

        ClickButton(dialog, "BUTTON_CONVERT");
        ASSERT_EQ(prompt.Texts(), QStringList { "Save As" });
        const CEncorda& encoder = dialog.RecorderWidget();
        ASSERT_TRUE(encoder.GetStatus().bRecordingToFile);
        ASSERT_TRUE(WaitForElapsed(encoder, RECORD_SECONDS));
        EXPECT_TRUE(encoder.HasPreview());
        EXPECT_GT(encoder.GetStatus().nBytesWritten, 0);
        // The recording mark sits in the overlay's top left corner.
        const QImage imgShown = const_cast<CEncorda&>(encoder).grab().toImage();
        const QColor colorMark = imgShown.pixelColor(14, 16);
        EXPECT_GT(colorMark.red(), 150);
        EXPECT_LT(colorMark.green(), 100);

        ClickButton(dialog, "BUTTON_STOP");
        EXPECT_FALSE(encoder.GetStatus().bRunning);
        EXPECT_EQ(prompt.Texts(), QStringList { "Save As" });

        const QJsonObject probe = ProbeFile(strFile.toStdString());
        EXPECT_EQ(FindStream(probe, "video")["codec_name"].toString(), c.pszCodec);
        if (c.pszDisplayAspect) {
            EXPECT_EQ(FindStream(probe, "video")["display_aspect_ratio"].toString().toStdString(), c.pszDisplayAspect);
        }
        EXPECT_EQ(FindStream(probe, "audio")["codec_name"].toString(), "mp2");
        EXPECT_GE(StreamSpanSeconds(strFile.toStdString(), "v"), RECORD_SECONDS - 0.5);
    }
}

TEST(RecordingEndToEnd, ExitWhileRecordingLeavesAPlayableFile)
{
    if (!CProgramCurrentDirectory::HasProgramSkin(CConverterDlg::DEFAULT_SKIN))
        GTEST_SKIP() << "the program's skins are not built beside the test";
    CProgramCurrentDirectory current;
    ASSERT_TRUE(current.IsValid());
    const ConversionSettings settings = BuiltInSourceSettings();
    const QString strFile = current.FilePath(QStringLiteral("interrupted.mpg"));
    CScriptedPrompt prompt;
    prompt.m_arrFiles = { strFile };
    {
        CConverterDlg dialog(prompt, settings);
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        ClickButton(dialog, "BUTTON_CONVERT");
        const CEncorda& encoder = dialog.RecorderWidget();
        ASSERT_TRUE(WaitForElapsed(encoder, 1.0));
        // Asked whether to stop the recording and quit, the user agrees.
        prompt.m_arrYesNo = { IPrompt::EAnswer::Yes };
        ClickButton(dialog, "BUTTON_EXIT");
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(prompt.Texts().last(), CConverterDlg::STOP_AND_QUIT);
    }
    const QJsonObject probe = ProbeFile(strFile.toStdString());
    EXPECT_EQ(FindStream(probe, "video")["codec_name"].toString(), "mpeg1video");
    EXPECT_GE(StreamSpanSeconds(strFile.toStdString(), "v"), 0.5);
}

} // namespace
