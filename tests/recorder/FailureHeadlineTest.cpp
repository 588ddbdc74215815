#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

#include "recorder/Encorda.h"

namespace {

constexpr int FINISH_TIMEOUT_MS = 30000;
constexpr short TEST_WIDTH = 176;
constexpr short TEST_HEIGHT = 144;

short FindName(const CEncordaList& list, const QString& strName)
{
    return list.FindIndex(strName);
}

// The built-in sources into strFile as MPEG-1 at a small size; a case then
// changes what it needs.
void ConfigureBuiltIn(CEncorda& encoder, const QString& strFile)
{
    encoder.SetVideoDevice(FindName(encoder.GetVideoDevices(), QStringLiteral("Test Pattern")));
    encoder.SetAudioDevice(FindName(encoder.GetAudioDevices(), QStringLiteral("Test Tone")));
    encoder.SetOutputType(CEncorda::OUTPUT_MPEG1);
    encoder.SetFrameRate(25);
    encoder.SetVideoWidth(TEST_WIDTH);
    encoder.SetVideoHeight(TEST_HEIGHT);
    encoder.SetVideoBitrate(1000000);
    encoder.SetWorkMode(CEncorda::WORK_MODE_MPEG);
    encoder.SetFileName(strFile);
    encoder.SetSaveToFile(true);
}

short CompressorIndex(const CEncordaList& list, const QString& strEncoder)
{
    for (short nIndex = 0; nIndex < list.Count(); ++nIndex) {
        if (list.Name(nIndex).endsWith("(" + strEncoder + ")"))
            return nIndex;
    }
    return -1;
}

} // namespace

// Every failure carried the compressor-or-file headline, a full disk and a
// stopped source too, and the AVI compressors' refusal advised the MPEG
// profile. Each kind gets a headline of its own; the old one stays for the
// failures it names.
TEST(FailureHeadline, EachKindOfFailureNamesItself)
{
    const QTemporaryDir folder;
    struct CHeadlineCase
    {
        const char* pszName;
        std::function<void(CEncorda&)> change;
        QString strHeadline;
        const char* pszNotInText = ""; // advice that does not fit
    } const cases[] = {
        { "compressor refuses the AVI size",
          [](CEncorda& encoder) {
              encoder.SetWorkMode(CEncorda::WORK_MODE_AVI);
              encoder.SetVideoCompressor(CompressorIndex(encoder.GetVideoCompressors(), QStringLiteral("libx264")));
              encoder.SetUseCustomFrame(true);
              encoder.SetCustomFrameWidth(321);
              encoder.SetCustomFrameHeight(240);
          },
          CEncorda::CAPTURE_FAILURE_HEADLINE, "MPEG profile" },
        { "file cannot be created", [](CEncorda& encoder) { encoder.SetFileName(QStringLiteral("/proc/x.mpg")); },
          CEncorda::CAPTURE_FAILURE_HEADLINE, "Permission denied" },
        { "folder is missing",
          [&folder](CEncorda& encoder) { encoder.SetFileName(folder.filePath(QStringLiteral("gone/x.mpg"))); },
          QStringLiteral("Recording Failure, the folder for the recording does not exist") },
        { "disk is full", [](CEncorda& encoder) { encoder.SetFileName(QStringLiteral("/dev/full")); },
          QStringLiteral("Recording Failure, the disk is full") },
        { "source stopped", [](CEncorda& encoder) { encoder.StallTestSources(true); },
          QStringLiteral("Capture Failure, the video or audio source stopped") },
        { "frame rate MPEG lacks", [](CEncorda& encoder) { encoder.SetFrameRate(15); },
          QStringLiteral("Capture Failure, the settings cannot be recorded") },
    };
    for (const CHeadlineCase& testCase : cases) {
        SCOPED_TRACE(testCase.pszName);
        CEncorda encoder;
        ConfigureBuiltIn(encoder, folder.filePath(QStringLiteral("out.mpg")));
        testCase.change(encoder);
        QSignalSpy finished(&encoder, &CEncorda::RecordingFinished);
        if (encoder.Start() != -1) {
            // A failure while recording: the recording ends by itself.
            ASSERT_TRUE(QTest::qWaitFor([&] { return !finished.isEmpty(); }, FINISH_TIMEOUT_MS));
            EXPECT_NE(finished.first().first().toString(), "");
        }
        EXPECT_EQ(encoder.GetLastFailureHeadline().toStdString(), testCase.strHeadline.toStdString())
            << encoder.GetLastError().toStdString();
        const QString strText = encoder.GetLastFailureText();
        EXPECT_FALSE(strText.isEmpty());
        EXPECT_FALSE(strText.contains(QStringLiteral(".."))) << strText.toStdString();
        if (*testCase.pszNotInText) {
            EXPECT_FALSE(strText.contains(QString::fromUtf8(testCase.pszNotInText))) << strText.toStdString();
        }
        encoder.StallTestSources(false);
        encoder.Stop();
    }
}
