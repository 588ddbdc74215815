#include <QJsonArray>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <thread>

#include "engine/Recorder.h"
#include "tests/engine/MediaProbe.h"

namespace {

struct CProfileCase
{
    const char* pszName;
    CRecordingRequest request;
    const char* pszVideoCodec;
    const char* pszFrameRate;
};

std::string TempFile(const QTemporaryDir& folder, const char* pszName)
{
    return folder.filePath(pszName).toStdString();
}

// Records one request to the end of its duration; the recorder's reason on failure.
::testing::AssertionResult Record(CRecorder& recorder, const CRecordingRequest& request, const std::string& strFile)
{
    if (!ConfigureRecorder(recorder, request, strFile))
        return ::testing::AssertionFailure() << "device missing";
    return RecordToTheEnd(recorder);
}

double FramesPerSecond(const QJsonObject& stream)
{
    const QStringList parts = stream["r_frame_rate"].toString().split('/');
    return parts.size() == 2 ? parts[0].toDouble() / parts[1].toDouble() : 0;
}

} // namespace

TEST(Recording, ProfilesGiveTheAskedStreams)
{
    CRecordingRequest mpeg1Vcd;
    mpeg1Vcd.nOutputType = 5;
    mpeg1Vcd.nFrameRate = 25;
    mpeg1Vcd.nVideoBitrate = 1150000;
    mpeg1Vcd.nAudioBitrate = 224000;
    mpeg1Vcd.nSampleRate = 44100;
    mpeg1Vcd.nHeight = 288;
    CRecordingRequest mpeg1Film = mpeg1Vcd;
    mpeg1Film.nFrameRate = 23;
    mpeg1Film.nChannels = 1;
    mpeg1Film.nAudioBitrate = 128000;
    mpeg1Film.nSampleRate = 32000;
    mpeg1Film.nWidth = 320;
    mpeg1Film.nHeight = 240;
    CRecordingRequest dvdNtsc;
    dvdNtsc.nWidth = 720;
    dvdNtsc.nHeight = 480;
    dvdNtsc.nVideoBitrate = 4600000;
    dvdNtsc.nAudioBitrate = 224000;
    dvdNtsc.dSeconds = 1.5;
    CRecordingRequest dvdHalfPal = dvdNtsc;
    dvdHalfPal.nFrameRate = 50;
    dvdHalfPal.nWidth = 352;
    dvdHalfPal.nHeight = 576;
    dvdHalfPal.nSampleRate = 44100;
    dvdHalfPal.nSyncMode = 0;
    CRecordingRequest dvd60 = dvdNtsc;
    dvd60.nFrameRate = 59;
    dvd60.nWidth = 352;
    dvd60.nHeight = 240;
    dvd60.dSeconds = 0.8;

    const CProfileCase cases[] = {
        { "MPEG-1 VCD-like", mpeg1Vcd, "mpeg1video", "25/1" },
        { "MPEG-1 film rate, mono", mpeg1Film, "mpeg1video", "24000/1001" },
        { "MPEG-2 DVD NTSC", dvdNtsc, "mpeg2video", "30000/1001" },
        { "MPEG-2 50 fps, no sync", dvdHalfPal, "mpeg2video", "50/1" },
        { "MPEG-2 59.94", dvd60, "mpeg2video", "60000/1001" },
    };
    const QTemporaryDir folder;
    for (const CProfileCase& testCase : cases) {
        SCOPED_TRACE(testCase.pszName);
        const CRecordingRequest& request = testCase.request;
        const std::string strFile = TempFile(folder, "profile.mpg");
        CRecorder recorder;
        ASSERT_TRUE(Record(recorder, request, strFile));

        const QJsonObject probe = ProbeFile(strFile);
        const QJsonObject video = FindStream(probe, "video");
        const QJsonObject audio = FindStream(probe, "audio");
        EXPECT_EQ(video["codec_name"].toString(), testCase.pszVideoCodec);
        EXPECT_EQ(video["width"].toInt(), request.nWidth);
        EXPECT_EQ(video["height"].toInt(), request.nHeight);
        EXPECT_EQ(video["r_frame_rate"].toString(), testCase.pszFrameRate);
        EXPECT_EQ(audio["codec_name"].toString(), "mp2");
        EXPECT_EQ(JsonNumber(audio, "sample_rate"), request.nSampleRate);
        EXPECT_EQ(audio["channels"].toInt(), request.nChannels);
        const double dFrameSeconds = 1.0 / FramesPerSecond(video);
        EXPECT_NEAR(StreamSpanSeconds(strFile, "v"), request.dSeconds, dFrameSeconds);
        // Audio ends on a whole layer II frame (up to 36 ms at 32 kHz).
        EXPECT_NEAR(StreamSpanSeconds(strFile, "a"), request.dSeconds + 0.018, 0.02);
        EXPECT_NEAR(JsonNumber(video, "start_time"), JsonNumber(audio, "start_time"), dFrameSeconds);
        if (request.nOutputType == 6) {
            EXPECT_EQ(probe["streams"].toArray().size(), 3) << "video, audio and DVD navigation packets";
            EXPECT_EQ(video["display_aspect_ratio"].toString(), "4:3");
        } else {
            EXPECT_EQ(probe["streams"].toArray().size(), 2);
        }
    }
}

TEST(Recording, ManualSyncShiftsTheAudioByTheOffset)
{
    struct CSyncCase
    {
        short nSyncMode;
        short nOffsetMs;
        double dExpectedAudioLeadSeconds; // audio start minus video start
    } const cases[] = {
        { 0, 300, 0 },
        { 1, 300, 0 },
        { 2, 300, 0.3 },
        { 2, -200, -0.2 },
    };
    const QTemporaryDir folder;
    for (const CSyncCase& testCase : cases) {
        SCOPED_TRACE("sync mode " + std::to_string(testCase.nSyncMode) + ", offset "
                     + std::to_string(testCase.nOffsetMs));
        CRecordingRequest request;
        request.nSyncMode = testCase.nSyncMode;
        request.nAudioOffsetMs = testCase.nOffsetMs;
        const std::string strFile = TempFile(folder, "sync.mpg");
        CRecorder recorder;
        ASSERT_TRUE(Record(recorder, request, strFile));
        const QJsonObject probe = ProbeFile(strFile);
        const double dShift =
            JsonNumber(FindStream(probe, "audio"), "start_time") - JsonNumber(FindStream(probe, "video"), "start_time");
        EXPECT_NEAR(dShift, testCase.dExpectedAudioLeadSeconds, 1.001 / 30);
    }
}

TEST(Recording, PauseLeavesNoGap)
{
    const QTemporaryDir folder;
    const std::string strFile = TempFile(folder, "pause.mpg");
    CRecordingRequest request;
    request.nOutputType = 5;
    request.nFrameRate = 25;
    request.nWidth = 176;
    request.nHeight = 144;
    request.bFast = false;
    request.dSeconds = 0;
    CRecorder recorder;
    std::atomic<int> nPausedReports = 0;
    recorder.SetStatusCallback([&](const CRecorderStatus& status) { nPausedReports += status.bPaused ? 1 : 0; });
    ASSERT_TRUE(ConfigureRecorder(recorder, request, strFile));
    ASSERT_NE(recorder.Start(), -1) << recorder.GetLastError();
    ASSERT_TRUE(WaitForElapsed(recorder, 0.7)) << recorder.GetLastError();
    recorder.Pause();
    // Paused for fifteen status reports, about 0.75 s of capture left out.
    ASSERT_TRUE(WaitForCount(nPausedReports, 15));
    const double dElapsedAtResume = recorder.GetStatus().dElapsedSeconds;
    recorder.Resume();
    ASSERT_TRUE(WaitForElapsed(recorder, dElapsedAtResume + 0.7)) << recorder.GetLastError();
    recorder.Stop();
    ASSERT_EQ(recorder.GetStatus().strError, "");

    std::vector<double> times = VideoFrameTimes(strFile);
    ASSERT_GT(times.size(), 20u);
    std::sort(times.begin(), times.end());
    for (std::size_t nIndex = 1; nIndex < times.size(); ++nIndex)
        ASSERT_NEAR(times[nIndex] - times[nIndex - 1], 0.04, 0.001)
            << "between frames " << nIndex - 1 << " and " << nIndex;
    const QJsonObject probe = ProbeFile(strFile);
    // About 1.4 s recorded of 2.2 s running; the paused 0.8 s are not in the file.
    EXPECT_LT(StreamSpanSeconds(strFile, "v"), 1.9);
    EXPECT_NEAR(StreamSpanSeconds(strFile, "v"), StreamSpanSeconds(strFile, "a"), 0.1);
    EXPECT_EQ(recorder.GetStatus().nVideoFramesEncoded, static_cast<std::int64_t>(times.size()));
}

TEST(Recording, PreviewAndStatusReachTheirCallbacks)
{
    std::atomic<int> nPreviews = 0;
    std::atomic<bool> bPreviewOk = true;
    std::atomic<int> nFinished = 0;
    std::atomic<std::int64_t> nLastBytes = 0;
    CRecorder recorder;
    recorder.SetPreviewSize(160, 120);
    recorder.SetPreviewCallback([&](const CPreviewFrame& frame) {
        ++nPreviews;
        // Opaque 32-bit pixels of the asked size.
        if (frame.nWidth != 160 || frame.nHeight != 120 || frame.nStride < 160 * 4 || (frame.pPixels[3] != 0xFF))
            bPreviewOk = false;
    });
    recorder.SetStatusCallback([&](const CRecorderStatus& status) {
        if (status.bFinished)
            ++nFinished;
        nLastBytes = status.nBytesWritten;
    });
    const QTemporaryDir folder;
    CRecordingRequest request;
    request.bFast = false;
    request.dSeconds = 0.5;
    ASSERT_TRUE(Record(recorder, request, TempFile(folder, "preview.mpg")));
    EXPECT_GE(nPreviews, 3);
    EXPECT_TRUE(bPreviewOk);
    EXPECT_EQ(nFinished, 1);
    EXPECT_EQ(nLastBytes, static_cast<std::int64_t>(std::filesystem::file_size(TempFile(folder, "preview.mpg"))));
    EXPECT_FALSE(recorder.IsRunning());
}

TEST(Recording, CaptureWithoutFileOnlyPreviews)
{
    std::atomic<int> nPreviews = 0;
    CRecorder recorder;
    recorder.SetPreviewCallback([&](const CPreviewFrame&) { ++nPreviews; });
    CRecordingRequest request;
    request.bFast = false;
    request.dSeconds = 0.3;
    ASSERT_TRUE(Record(recorder, request, ""));
    EXPECT_GT(nPreviews, 0);
    EXPECT_EQ(recorder.GetStatus().nBytesWritten, 0);
    EXPECT_EQ(recorder.GetStatus().nVideoFramesEncoded, 0);
}

TEST(Recording, CaptureSizeIsScaledToThePicture)
{
    struct CCaptureSizeCase
    {
        const char* pszName;
        bool bCustomFrame;
        short nFormat; // -1: device default
    } const cases[] = {
        { "custom frame 160x120, which MPEG files ignore", true, -1 },
        { "format I420 720x576", false, 4 },
    };
    const QTemporaryDir folder;
    for (const CCaptureSizeCase& testCase : cases) {
        SCOPED_TRACE(testCase.pszName);
        CRecorder recorder;
        CRecordingRequest request;
        request.dSeconds = 0.5;
        const std::string strFile = TempFile(folder, "scaled.mpg");
        ASSERT_TRUE(ConfigureRecorder(recorder, request, strFile));
        recorder.Profile().bUseCustomFrame = testCase.bCustomFrame;
        recorder.Profile().nCustomFrameWidth = 160;
        recorder.Profile().nCustomFrameHeight = 120;
        recorder.Profile().nVideoFormat = testCase.nFormat;
        ASSERT_NE(recorder.Start(), -1) << recorder.GetLastError();
        recorder.WaitUntilFinished(-1);
        recorder.Stop();
        const QJsonObject video = FindStream(ProbeFile(strFile), "video");
        EXPECT_EQ(video["width"].toInt(), 352);
        EXPECT_EQ(video["height"].toInt(), 240);
        EXPECT_EQ(recorder.GetStatus().nVideoFramesEncoded, 15);
    }
}

TEST(Recording, StopWithoutStopFlagKeepsThePreviewRunning)
{
    std::atomic<int> nPreviews = 0;
    CRecorder recorder;
    recorder.SetPreviewCallback([&](const CPreviewFrame&) { ++nPreviews; });
    const QTemporaryDir folder;
    const std::string strFile = TempFile(folder, "stopflag.mpg");
    CRecordingRequest request;
    request.bFast = false;
    request.dSeconds = 0;
    ASSERT_TRUE(ConfigureRecorder(recorder, request, strFile));
    recorder.Profile().bStopFlag = false;
    ASSERT_NE(recorder.Start(), -1) << recorder.GetLastError();
    ASSERT_TRUE(WaitForElapsed(recorder, 0.3)) << recorder.GetLastError();
    recorder.Stop();
    EXPECT_TRUE(recorder.IsRunning()) << "capture and preview go on";
    const std::int64_t nFileSize = static_cast<std::int64_t>(std::filesystem::file_size(strFile));
    EXPECT_GT(FindStream(ProbeFile(strFile), "video")["width"].toInt(), 0) << "the file is closed and playable";
    const int nPreviewsAtStop = nPreviews;
    EXPECT_TRUE(WaitForCount(nPreviews, nPreviewsAtStop + 3));
    EXPECT_EQ(static_cast<std::int64_t>(std::filesystem::file_size(strFile)), nFileSize) << "nothing more is written";
    recorder.Profile().bStopFlag = true;
    recorder.Stop();
    EXPECT_FALSE(recorder.IsRunning());
}

TEST(Recording, BestQualityUsesTheFormatsHighestRate)
{
    struct CQualityCase
    {
        const char* pszName;
        int nOutputType;
        double dMinimumRatio; // Best's file size over Good's at 1.5 Mbit/s
    };
    // MPEG-2 may go up to the DVD limit of 9 Mbit/s, MPEG-1 to 2.5 Mbit/s; the
    // test pattern needs less than either, so the files grow by less.
    const CQualityCase cases[] = { { "MPEG-2", 6, 1.5 }, { "MPEG-1", 5, 1.2 } };
    const QTemporaryDir folder;
    for (const CQualityCase& testCase : cases) {
        SCOPED_TRACE(testCase.pszName);
        CRecordingRequest request;
        request.nOutputType = testCase.nOutputType;
        request.nWidth = 720;
        request.nHeight = 480;
        request.dSeconds = 1.0;
        std::uintmax_t nSizes[2] = {};
        for (const bool bBest : { false, true }) {
            const std::string strFile = TempFile(folder, bBest ? "best.mpg" : "good.mpg");
            CRecorder recorder;
            recorder.Profile().bBestQuality = bBest;
            ASSERT_TRUE(Record(recorder, request, strFile));
            nSizes[bBest] = std::filesystem::file_size(strFile);
        }
        EXPECT_GT(static_cast<double>(nSizes[1]) / static_cast<double>(nSizes[0]), testCase.dMinimumRatio);
    }
}

TEST(Recording, MpegGopsAreClosedRegularAndWithinTheStandardLength)
{
    struct CGopCase
    {
        const char* pszName;
        int nOutputType;
        short nFrameRate;
        std::size_t nLongestGop;
    };
    const CGopCase cases[] = { { "MPEG-2 PAL", 6, 25, 15 }, { "MPEG-2 NTSC", 6, 29, 18 }, { "MPEG-1 PAL", 5, 25, 15 } };
    const QTemporaryDir folder;
    for (const CGopCase& testCase : cases) {
        SCOPED_TRACE(testCase.pszName);
        CRecordingRequest request;
        request.nOutputType = testCase.nOutputType;
        request.nFrameRate = testCase.nFrameRate;
        request.dSeconds = 2.0;
        const std::string strFile = TempFile(folder, "gop.mpg");
        CRecorder recorder;
        ASSERT_TRUE(Record(recorder, request, strFile));
        const std::string strTypes = VideoPictureTypes(strFile);
        SCOPED_TRACE(strTypes);
        ASSERT_EQ(strTypes.front(), 'I');
        EXPECT_NE(strTypes.find('B'), std::string::npos);
        std::vector<std::size_t> gopStarts;
        for (std::size_t nIndex = 0; nIndex < strTypes.size(); ++nIndex) {
            if (strTypes[nIndex] != 'I')
                continue;
            gopStarts.push_back(nIndex);
            // A closed GOP's B-pictures look at nothing beyond its end, so
            // none stands just before the next GOP's I-picture.
            if (nIndex > 0) {
                EXPECT_NE(strTypes[nIndex - 1], 'B') << "picture " << nIndex - 1;
            }
        }
        // Whole GOPs are all of one length, none longer than the standard's.
        ASSERT_GE(gopStarts.size(), 3u);
        const std::size_t nLength = gopStarts[1] - gopStarts[0];
        EXPECT_LE(nLength, testCase.nLongestGop);
        EXPECT_GE(nLength, testCase.nLongestGop - 3);
        for (std::size_t nGop = 1; nGop < gopStarts.size(); ++nGop)
            EXPECT_EQ(gopStarts[nGop] - gopStarts[nGop - 1], nLength) << "GOP " << nGop;
        EXPECT_LE(strTypes.size() - gopStarts.back(), testCase.nLongestGop);
    }
}

TEST(Recording, CompressorOptionsOverrideTheMpegDefaults)
{
    CRecorder recorder;
    const short nMpeg2 = recorder.GetVideoCompressors().FindIndex("MPEG-2 video (mpeg2video)");
    ASSERT_GE(nMpeg2, 0);
    std::string strReason;
    ASSERT_TRUE(recorder.SetCompressorOption(ECompressorKind::eVideo, nMpeg2, "bf", "0", strReason)) << strReason;
    ASSERT_TRUE(recorder.SetCompressorOption(ECompressorKind::eVideo, nMpeg2, "g", "6", strReason)) << strReason;
    const QTemporaryDir folder;
    const std::string strFile = TempFile(folder, "options.mpg");
    CRecordingRequest request;
    request.dSeconds = 1.0;
    ASSERT_TRUE(Record(recorder, request, strFile));
    const std::string strTypes = VideoPictureTypes(strFile);
    ASSERT_GE(strTypes.size(), 12u);
    EXPECT_EQ(strTypes.substr(0, 12), "IPPPPPIPPPPP");
}

TEST(Recording, InterlacedSourcesKeepTheirFieldOrder)
{
    struct CFieldCase
    {
        const char* pszName;
        int nOutputType;
        EFieldOrder eSource;
        const char* pszExpected; // ffprobe's field_order, which MPEG-1 has none of
    } const cases[] = {
        { "MPEG-2 top first", OUTPUT_TYPE_MPEG2, EFieldOrder::eTopFirst, "tt" },
        { "MPEG-2 bottom first", OUTPUT_TYPE_MPEG2, EFieldOrder::eBottomFirst, "bb" },
        { "MPEG-2 progressive", OUTPUT_TYPE_MPEG2, EFieldOrder::eProgressive, "progressive" },
        { "MPEG-1 top first", OUTPUT_TYPE_MPEG1, EFieldOrder::eTopFirst, "" },
    };
    const QTemporaryDir folder;
    for (const CFieldCase& fieldCase : cases) {
        SCOPED_TRACE(fieldCase.pszName);
        const std::string strFile = TempFile(folder, "fields.mpg");
        CRecordingRequest request;
        request.nOutputType = fieldCase.nOutputType;
        request.nFrameRate = 25;
        request.dSeconds = 0.5;
        CRecorder recorder;
        recorder.Profile().test.ePatternFields = fieldCase.eSource;
        ASSERT_TRUE(Record(recorder, request, strFile));
        EXPECT_EQ(FindStream(ProbeFile(strFile), "video")["field_order"].toString().toStdString(),
                  fieldCase.pszExpected);
        EXPECT_EQ(DecodeErrors(strFile), "");
    }
}
