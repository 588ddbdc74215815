#include <QJsonArray>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/FramePicture.h"
#include "engine/RecordingProfile.h"
#include "tests/engine/MediaProbe.h"
#include "tools/syncprobe/SyncMarks.h"

namespace {

const QString MPEGREC = MPEGREC_PATH;

// The video rate the stream's header announces: MPEG-1's one rate, the
// peak of MPEG-2's variable one.
double AnnouncedVideoBitrate(const QJsonObject& video)
{
    for (const QJsonValue& sideData : video["side_data_list"].toArray()) {
        if (sideData["side_data_type"].toString() == "CPB properties")
            return JsonNumber(sideData.toObject(), "max_bitrate");
    }
    return JsonNumber(video, "bit_rate");
}

} // namespace

TEST(Mpegrec, ListsEveryList)
{
    int nExitCode = -1;
    const QString output = QString::fromUtf8(RunProgram(MPEGREC, { "--list" }, &nExitCode));
    EXPECT_EQ(nExitCode, 0);
    for (const char* pszExpected : { "Video devices:", "Test Pattern", "Video formats of Test Pattern:", "I420 720x480",
                                     "Audio devices:", "Test Tone", "Audio inputs of Test Tone:", "Video compressors:",
                                     "MPEG-2 video (mpeg2video)", "Audio compressors:", "(mp2)" }) {
        EXPECT_TRUE(output.contains(pszExpected)) << pszExpected;
    }
}

TEST(Mpegrec, RecordsAndSummarises)
{
    struct CCommandCase
    {
        QStringList arguments;
        const char* pszVideoCodec;
        const char* pszAudioCodec;
        int nWidth;
        double dFrames;
        const char* pszDisplayAspect = nullptr;
    } const cases[] = {
        { { "--type", "mpeg1", "--size", "352x240", "--frame-rate", "25", "--video-bitrate", "1150000", "--sample-rate",
            "44100", "--duration", "1" },
          "mpeg1video",
          "mp2",
          352,
          25 },
        { { "--type", "mpeg2", "--size", "320x240", "--frame-rate", "29", "--channels", "1", "--audio-bitrate",
            "128000", "--sync-mode", "2", "--audio-offset", "100", "--duration", "0.5" },
          "mpeg2video",
          "mp2",
          320,
          15,
          "4:3" },
        { { "--type", "mpeg2", "--size", "320x240", "--aspect", "16:9", "--frame-rate", "25", "--duration", "1" },
          "mpeg2video",
          "mp2",
          320,
          25,
          "16:9" },
        { { "--type", "avi", "--size", "320x240", "--frame-rate", "25", "--video-compressor", "ffv1",
            "--audio-compressor", "flac", "--duration", "1" },
          "ffv1",
          "flac",
          320,
          25 },
        { { "--type", "avi", "--size", "176x144", "--frame-rate", "15", "--no-audio", "--duration", "1" },
          "mpeg4",
          "",
          176,
          15 },
        { { "--type", "avi", "--no-video", "--audio-compressor", "mp2", "--duration", "1" }, "", "mp2", 0, 0 },
    };
    const QTemporaryDir folder;
    const QString strFile = folder.filePath("cli.mpg");
    for (const CCommandCase& testCase : cases) {
        SCOPED_TRACE(testCase.arguments.join(' ').toStdString());
        int nExitCode = -1;
        QByteArray errors;
        const QByteArray output =
            RunProgram(MPEGREC, QStringList { "-o", strFile, "--fast" } + testCase.arguments, &nExitCode, &errors);
        ASSERT_EQ(nExitCode, 0) << errors.toStdString();
        const std::map<std::string, double> summary = ParseNameValueLines(output);
        EXPECT_EQ(summary.at("frames"), testCase.dFrames);
        EXPECT_EQ(summary.at("dropped"), 0);
        EXPECT_EQ(summary.at("bytes"), static_cast<double>(std::filesystem::file_size(strFile.toStdString())));
        EXPECT_GT(summary.at("seconds"), 0);
        const QJsonObject probe = ProbeFile(strFile.toStdString());
        const QJsonObject video = FindStream(probe, "video");
        EXPECT_EQ(video["codec_name"].toString(), testCase.pszVideoCodec);
        EXPECT_EQ(video["width"].toInt(), testCase.nWidth);
        if (testCase.pszDisplayAspect) {
            EXPECT_EQ(video["display_aspect_ratio"].toString().toStdString(), testCase.pszDisplayAspect);
        }
        EXPECT_EQ(FindStream(probe, "audio")["codec_name"].toString(), testCase.pszAudioCodec);
    }
}

TEST(Mpegrec, ErrorsSayWhyAndExitNonZero)
{
    const QTemporaryDir folder;
    const QString strFile = folder.filePath("bad.mpg");
    const QStringList cases[] = {
        {},
        { "--bogus" },
        { "-o", strFile, "--size", "352" },
        { "-o", strFile, "--aspect", "16" },
        { "-o", strFile, "--aspect", "0:9" },
        { "-o", strFile, "--type", "avix" },
        { "-o", strFile, "--video-compressor", "mpeg4" },
        { "-o", strFile, "--type", "avi", "--no-video", "--no-audio" },
        { "-o", strFile, "--type", "avi", "--video-compressor", "prores", "--fast", "--duration", "1" },
        { "-o", strFile, "--type", "avi", "--video-compressor", "libx264", "--size", "321x240", "--fast", "--duration",
          "1" },
        { "-o", strFile, "--frame-rate", "abc" },
        { "-o", strFile, "--clock-skew", "0.5" },
        { "-o", strFile, "--fast", "--duration", "1", "--clock-skew", "200000" },
        { "-o", strFile, "--duration", "-1" },
        { "-o", strFile, "--fast", "--duration", "1", "--frame-rate", "15" },
        { "-o", strFile, "--fast", "--duration", "1", "--audio-bitrate", "1000" },
        { "-o", strFile, "--video-device", "No Such Camera" },
        { "-o", folder.filePath("missing/x.mpg"), "--fast", "--duration", "1" },
        { "-o", "/dev/full", "--fast", "--duration", "2" },
    };
    for (const QStringList& arguments : cases) {
        SCOPED_TRACE(arguments.join(' ').toStdString());
        int nExitCode = 0;
        QByteArray errors;
        RunProgram(MPEGREC, arguments, &nExitCode, &errors);
        EXPECT_NE(nExitCode, 0);
        EXPECT_TRUE(errors.startsWith("mpegrec: ")) << errors.toStdString();
    }
    EXPECT_FALSE(std::filesystem::exists(strFile.toStdString()));
}

TEST(Mpegrec, WithoutSyncTheAudioOfASkewedClockDrifts)
{
    struct CDriftCase
    {
        const char* pszSkewPpm;
        double dDriftPerSecond;
    } const cases[] = {
        { "2000", 0.002 },
        { "-2000", -0.002 },
    };
    const QTemporaryDir folder;
    const QString strFile = folder.filePath("drift.mpg");
    for (const CDriftCase& testCase : cases) {
        SCOPED_TRACE(std::string("skew ") + testCase.pszSkewPpm);
        int nExitCode = -1;
        QByteArray errors;
        RunProgram(MPEGREC,
                   { "-o", strFile, "--fast", "--type", "mpeg1", "--size", "176x144", "--frame-rate", "25",
                     "--video-bitrate", "400000", "--sync-mode", "0", "--sync-marks", "--clock-skew",
                     testCase.pszSkewPpm, "--duration", "20" },
                   &nExitCode, &errors);
        ASSERT_EQ(nExitCode, 0) << errors.toStdString();
        std::string strError;
        const std::optional<CSyncMarks> marks = FindSyncMarks(strFile.toStdString(), strError);
        ASSERT_TRUE(marks) << strError;
        const std::vector<CSyncOffset> offsets = PairSyncMarks(*marks);
        ASSERT_GE(offsets.size(), 19u);
        // The tone's samples are recorded as they come, so its bursts fall
        // behind (or ahead of) the flashes by the skew: 40 ms after 20 s.
        const double dStart = offsets.front().dVideoSeconds;
        for (const CSyncOffset& offset : offsets)
            EXPECT_NEAR(offset.dOffsetSeconds, (offset.dVideoSeconds - dStart) * testCase.dDriftPerSecond, 0.005)
                << "at " << offset.dVideoSeconds << " s";
    }
}

TEST(Mpegrec, TargetRecordsWhatTheDiscNeeds)
{
    struct CTargetCase
    {
        QStringList arguments;
        const char* pszVideoCodec;
        int nWidth;
        int nHeight;
        const char* pszFrameRate;
        const char* pszSampleRate;
        double dAnnouncedVideoBitrate;
        const char* pszDisplayAspect;
    } const cases[] = {
        { { "--target", "vcd" }, "mpeg1video", 352, 288, "25/1", "44100", 1150000, nullptr },
        { { "--target", "vcd", "--frame-rate", "29.97" },
          "mpeg1video",
          352,
          240,
          "30000/1001",
          "44100",
          1150000,
          nullptr },
        { { "--target", "svcd", "--frame-rate", "30000:1001" },
          "mpeg2video",
          480,
          480,
          "30000/1001",
          "44100",
          2554000,
          "4:3" },
        { { "--target", "dvd", "--frame-rate", "30" }, "mpeg2video", 720, 480, "30000/1001", "48000", 9000000, "4:3" },
        // What DVD allows beside its preset: another of its sizes, 16:9, a lower rate.
        { { "--target", "dvd", "--size", "704x576", "--aspect", "16:9", "--video-bitrate", "3000000" },
          "mpeg2video",
          704,
          576,
          "25/1",
          "48000",
          9000000,
          "16:9" },
    };
    const QTemporaryDir folder;
    const QString strFile = folder.filePath("disc.mpg");
    for (const CTargetCase& testCase : cases) {
        SCOPED_TRACE(testCase.arguments.join(' ').toStdString());
        int nExitCode = -1;
        QByteArray errors;
        RunProgram(MPEGREC, QStringList { "-o", strFile, "--fast", "--duration", "1" } + testCase.arguments, &nExitCode,
                   &errors);
        ASSERT_EQ(nExitCode, 0) << errors.toStdString();
        const QJsonObject probe = ProbeFile(strFile.toStdString());
        const QJsonObject video = FindStream(probe, "video");
        EXPECT_EQ(video["codec_name"].toString(), testCase.pszVideoCodec);
        EXPECT_EQ(video["width"].toInt(), testCase.nWidth);
        EXPECT_EQ(video["height"].toInt(), testCase.nHeight);
        EXPECT_EQ(video["r_frame_rate"].toString(), testCase.pszFrameRate);
        EXPECT_EQ(AnnouncedVideoBitrate(video), testCase.dAnnouncedVideoBitrate);
        if (testCase.pszDisplayAspect) {
            EXPECT_EQ(video["display_aspect_ratio"].toString(), testCase.pszDisplayAspect);
        }
        const QJsonObject audio = FindStream(probe, "audio");
        EXPECT_EQ(audio["codec_name"].toString(), "mp2");
        EXPECT_EQ(audio["sample_rate"].toString(), testCase.pszSampleRate);
        EXPECT_EQ(audio["channels"].toInt(), 2);
        EXPECT_EQ(JsonNumber(audio, "bit_rate"), 224000);
    }
}

TEST(Mpegrec, TargetRefusesWhatTheDiscDoesNotAllow)
{
    const QTemporaryDir folder;
    const QString strFile = folder.filePath("refused.mpg");
    const QStringList cases[] = {
        { "--target", "cd" },
        { "--target", "vcd", "--frame-rate", "24" },
        { "--target", "dvd", "--frame-rate", "23.976" },
        { "--target", "dvd", "--type", "avi" },
        { "--target", "dvd", "--type", "mpeg1" },
        { "--target", "vcd", "--type", "mpeg2" },
        { "--target", "vcd", "--video-bitrate", "2000000" },
        { "--target", "vcd", "--aspect", "16:9" },
        { "--target", "svcd", "--size", "720x576" },
        { "--target", "svcd", "--video-bitrate", "2700000" },
        { "--target", "dvd", "--sample-rate", "44100" },
        { "--target", "dvd", "--channels", "6" },
    };
    for (const QStringList& arguments : cases) {
        SCOPED_TRACE(arguments.join(' ').toStdString());
        int nExitCode = 0;
        QByteArray errors;
        RunProgram(MPEGREC, QStringList { "-o", strFile, "--fast", "--duration", "1" } + arguments, &nExitCode,
                   &errors);
        EXPECT_EQ(nExitCode, 2);
        EXPECT_TRUE(errors.startsWith("mpegrec: ")) << errors.toStdString();
    }
    EXPECT_FALSE(std::filesystem::exists(strFile.toStdString()));
}

// What a user reads: each message names mpegrec's option as it was written
// and suggests no option of the ffmpeg command.
TEST(Mpegrec, MessagesQuoteTheOptionsAsWritten)
{
    const QTemporaryDir folder;
    const QString strFile = folder.filePath("quoted.mpg");
    const QStringList SHORT = { "-o", strFile, "--fast", "--duration", "1" };
    struct CMessageCase
    {
        QStringList arguments;
        int nExitCode;
        const char* pszExpected;
    } const cases[] = {
        { { "--bogus" }, 2, "mpegrec: unknown option --bogus\n" },
        { { "-o", strFile, "--bogus", "1" }, 2, "mpegrec: unknown option --bogus\n" },
        { { "-o", strFile, "--video-bitrate", "9x" }, 2, "mpegrec: --video-bitrate 9x: " },
        { { "-o", strFile, "--size", "100000x20" }, 2, "mpegrec: --size 100000x20: " },
        { SHORT + QStringList { "--audio-bitrate", "100000" }, 1, " bit/s, not 100000\n" },
        { SHORT + QStringList { "--audio-bitrate", "224500" }, 1, " bit/s, not 224500\n" },
        { SHORT + QStringList { "--type", "mpeg2", "--video-bitrate", "99999999" }, 1, " 99999999 bit/s " },
        { SHORT + QStringList { "--frame-rate", "15" }, 2, "mpegrec: --frame-rate 15: " },
        // An experimental encoder is not offered.
        { SHORT + QStringList { "--type", "avi", "--no-video", "--audio-compressor", "sonic" }, 2,
          "mpegrec: no compressor sonic " },
        { SHORT
              + QStringList { "--type", "avi", "--no-audio", "--video-compressor", "mpeg1video", "--frame-rate", "15" },
          1, "does not support 15/1 fps" },
    };
    for (const CMessageCase& testCase : cases) {
        SCOPED_TRACE(testCase.arguments.join(' ').toStdString());
        int nExitCode = -1;
        QByteArray errors;
        RunProgram(MPEGREC, testCase.arguments, &nExitCode, &errors);
        EXPECT_EQ(nExitCode, testCase.nExitCode);
        const QByteArray firstLine = errors.left(errors.indexOf('\n') + 1);
        EXPECT_TRUE(firstLine.contains(testCase.pszExpected)) << errors.toStdString();
        for (const char* pszFfmpegOption : { "-strict", "strict_std_compliance", "-b:", "-pix_fmt", " -s ", " -r " })
            EXPECT_FALSE(firstLine.contains(pszFfmpegOption)) << firstLine.toStdString();
    }
    EXPECT_FALSE(std::filesystem::exists(strFile.toStdString()));
}

TEST(Mpegrec, AFramePastTheFramePicturesIsRefused)
{
    // Run from the test's folder, mpegrec takes the pictures beside it.
    const std::filesystem::path frames = std::filesystem::path(MPEGREC_PATH).parent_path() / "Frame";
    if (!std::filesystem::is_directory(frames))
        GTEST_SKIP() << "no Frame folder beside mpegrec";
    const std::size_t nCount = ListFramePictures(frames).size();
    ASSERT_GT(nCount, 0u);
    const QTemporaryDir folder;
    const QString strFile = folder.filePath("framed.mpg");
    const QStringList SHORT = { "-o", strFile, "--fast", "--duration", "0.5", "--size", "176x144" };

    int nExitCode = -1;
    QByteArray errors;
    const QString strPastLast = QString::number(nCount + 1);
    RunProgram(MPEGREC, SHORT + QStringList { "--frame", strPastLast }, &nExitCode, &errors);
    EXPECT_EQ(nExitCode, 2);
    EXPECT_TRUE(errors.startsWith(("mpegrec: --frame " + strPastLast + ": ").toUtf8())) << errors.toStdString();
    EXPECT_TRUE(errors.contains(QStringLiteral(" has %1 pictures (1 to %1, or 0 for none)").arg(nCount).toUtf8()))
        << errors.toStdString();
    EXPECT_FALSE(std::filesystem::exists(strFile.toStdString()));

    RunProgram(MPEGREC, SHORT + QStringList { "--frame", QString::number(nCount) }, &nExitCode, &errors);
    EXPECT_EQ(nExitCode, 0) << errors.toStdString();
}

// The window starts on MPEG-1 with the recorder's profile; mpegrec records
// the same without options, and --help says so.
TEST(Mpegrec, DefaultsAreTheWindowsAndHelpListsThem)
{
    const CRecordingProfile defaults;
    int nExitCode = -1;
    const QString strHelp = QString::fromUtf8(RunProgram(MPEGREC, { "--help" }, &nExitCode));
    EXPECT_EQ(nExitCode, 0);
    for (const QString& strLine :
         { QStringLiteral("  --type mpeg1\n"), QStringLiteral("  --frame-rate 23.976\n"),
           QStringLiteral("  --sample-rate %1\n").arg(defaults.nAudioSampleRate),
           QStringLiteral("  --video-bitrate %1\n").arg(defaults.nVideoBitrate),
           QStringLiteral("  --size %1x%2\n").arg(defaults.nVideoWidth).arg(defaults.nVideoHeight) })
        EXPECT_TRUE(strHelp.contains(strLine)) << strLine.toStdString();

    const QTemporaryDir folder;
    const QString strFile = folder.filePath("defaults.mpg");
    QByteArray errors;
    RunProgram(MPEGREC, { "-o", strFile, "--fast", "--duration", "0.5" }, &nExitCode, &errors);
    ASSERT_EQ(nExitCode, 0) << errors.toStdString();
    const QJsonObject probe = ProbeFile(strFile.toStdString());
    const QJsonObject video = FindStream(probe, "video");
    EXPECT_EQ(video["codec_name"].toString(), "mpeg1video");
    EXPECT_EQ(video["r_frame_rate"].toString(), "24000/1001");
    EXPECT_EQ(video["width"].toInt(), defaults.nVideoWidth);
    EXPECT_EQ(FindStream(probe, "audio")["sample_rate"].toString(), QString::number(defaults.nAudioSampleRate));
}
