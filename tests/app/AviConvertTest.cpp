#include <gtest/gtest.h>

#include <functional>

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

constexpr double RECORD_SECONDS = 1.0;

// The entry of the list whose encoder has that FFmpeg name.
QString CompressorName(const CEncordaList& list, const QString& strEncoder)
{
    for (const QString& strName : list.Names()) {
        if (strName.endsWith(u'(' + strEncoder + u')'))
            return strName;
    }
    return {};
}

// What the AVI profile dialog would have stored: the compressors by name, used.
void ChooseCompressors(ConversionSettings& settings, CEncorda& encoder, const QString& strVideo,
                       const QString& strAudio)
{
    settings.bUseVideoCompressor = true;
    settings.strVideoCompressorName = CompressorName(encoder.GetVideoCompressors(), strVideo);
    settings.bUseAudioCompressor = true;
    settings.strAudioCompressorName = CompressorName(encoder.GetAudioCompressors(), strAudio);
}

void ChooseAviRow(CConverterDlg& dialog)
{
    CSkinComboBox* pCombo = dialog.FirstComboBox();
    ASSERT_NE(pCombo, nullptr);
    QTest::mouseClick(pCombo->Button(), Qt::LeftButton, {}, pCombo->Button()->rect().center());
    CSkinListBox* pList = pCombo->List();
    const int nRowY = pList->RowHeight() * CConverterDlg::AVI_ROW_INDEX + pList->RowHeight() / 2;
    QTest::mouseClick(pList, Qt::LeftButton, {}, QPoint(pList->width() / 3, nRowY));
    ASSERT_EQ(pList->GetSelectedRow(), CConverterDlg::AVI_ROW_INDEX);
}

class AviConvertTest : public testing::Test
{
protected:
    void SetUp() override
    {
        if (!CProgramCurrentDirectory::HasProgramSkin(CConverterDlg::DEFAULT_SKIN))
            GTEST_SKIP() << "the program's skins are not built beside the test";
        ASSERT_TRUE(m_current.IsValid());
        m_strFile = m_current.FilePath(QStringLiteral("recording.avi"));
        m_pDialog = std::make_unique<CConverterDlg>(m_prompt);
        m_pDialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_pDialog.get()));
        ChooseAviRow(*m_pDialog);
    }

    CProgramCurrentDirectory m_current;
    CScriptedPrompt m_prompt;
    QString m_strFile;
    std::unique_ptr<CConverterDlg> m_pDialog;
};

// The AVI row records with what the AVI profile dialog holds: its
// compressors (or, none chosen, MPEG-4 and PCM), its frame size and its
// capture switches.
TEST_F(AviConvertTest, ConvertRecordsTheAviProfile)
{
    struct CAviCase
    {
        const char* pszName;
        std::function<void(ConversionSettings&, CEncorda&)> choose;
        const char* pszVideoCodec; // "" for no video stream
        const char* pszAudioCodec; // "" for no audio stream
        int nWidth;
        int nHeight;
    };
    const CAviCase cases[] = {
        { "nothing chosen", [](ConversionSettings&, CEncorda&) {}, "mpeg4", "pcm_s16le", 352, 240 },
        { "video capture off", [](ConversionSettings& settings, CEncorda&) { settings.bVideoCapture = false; }, "",
          "pcm_s16le", 0, 0 },
        { "audio capture off", [](ConversionSettings& settings, CEncorda&) { settings.bAudioCapture = false; }, "mpeg4",
          "", 352, 240 },
        // Last: the recorder keeps a chosen compressor until another is chosen.
        { "ffv1 and flac at the custom size",
          [](ConversionSettings& settings, CEncorda& encoder) {
              ChooseCompressors(settings, encoder, QStringLiteral("ffv1"), QStringLiteral("flac"));
              settings.bUseCustomFrame = true;
              settings.nCustomFrameWidth = 320;
              settings.nCustomFrameHeight = 176;
          },
          "ffv1", "flac", 320, 176 },
    };
    CEncorda& encoder = m_pDialog->RecorderWidget();
    for (const CAviCase& c : cases) {
        SCOPED_TRACE(c.pszName);
        ConversionSettings& settings = m_pDialog->Settings();
        settings = BuiltInSourceSettings();
        c.choose(settings, encoder);
        m_prompt.m_arrFiles = { m_strFile };
        ClickButton(*m_pDialog, "BUTTON_CONVERT");
        EXPECT_EQ(m_prompt.m_arrLastFilters.value(0), "avi file (*.avi)");
        EXPECT_EQ(m_prompt.m_strLastSuffix, "avi");
        ASSERT_TRUE(encoder.GetStatus().bRecordingToFile) << encoder.GetLastError().toStdString();
        ASSERT_TRUE(WaitForElapsed(encoder, RECORD_SECONDS));
        ClickButton(*m_pDialog, "BUTTON_STOP");
        EXPECT_EQ(m_prompt.Texts().filter(CConverterDlg::CAPTURE_FAILURE), QStringList());

        const QJsonObject probe = ProbeFile(m_strFile.toStdString());
        const QJsonObject video = FindStream(probe, "video");
        EXPECT_EQ(probe["format"].toObject()["format_name"].toString(), "avi");
        EXPECT_EQ(video["codec_name"].toString(), c.pszVideoCodec);
        EXPECT_EQ(FindStream(probe, "audio")["codec_name"].toString(), c.pszAudioCodec);
        EXPECT_EQ(video["width"].toInt(), c.nWidth);
        EXPECT_EQ(video["height"].toInt(), c.nHeight);
        EXPECT_GE(JsonNumber(probe["format"].toObject(), "duration"), RECORD_SECONDS - 0.1);
    }
}

TEST_F(AviConvertTest, CompressorThatRefusesTheSizeSaysWhyAndLeavesNoFile)
{
    CEncorda& encoder = m_pDialog->RecorderWidget();
    ConversionSettings& settings = m_pDialog->Settings();
    settings = BuiltInSourceSettings();
    // H.264 in YUV 4:2:0 codes even sizes only.
    ChooseCompressors(settings, encoder, QStringLiteral("libx264"), QStringLiteral("pcm_s16le"));
    settings.bUseCustomFrame = true;
    settings.nCustomFrameWidth = 321;
    settings.nCustomFrameHeight = 240;
    m_prompt.m_arrFiles = { m_strFile };
    ClickButton(*m_pDialog, "BUTTON_CONVERT");
    ASSERT_EQ(m_prompt.Texts(), (QStringList { "Save As", CConverterDlg::CAPTURE_FAILURE }));
    EXPECT_TRUE(m_prompt.m_arrAsked.last().strDetail.contains("libx264"))
        << m_prompt.m_arrAsked.last().strDetail.toStdString();
    EXPECT_EQ(m_prompt.m_arrAsked.last().strDetail, encoder.GetLastError());
    EXPECT_FALSE(encoder.GetStatus().bRecordingToFile);
    EXPECT_FALSE(QFileInfo::exists(m_strFile));
}

} // namespace
