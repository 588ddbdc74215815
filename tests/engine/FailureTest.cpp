#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <thread>

#include <sys/resource.h>

#include "engine/Recorder.h"
#include "tests/engine/MediaProbe.h"

namespace {

struct CStartFailureCase
{
    const char* pszName;
    EFailure eCause;
    std::function<void(CRecorder&, CRecordingRequest&, std::string&)> change;
};

} // namespace

TEST(RecordingFailure, StartRefusesWithAReason)
{
    const QTemporaryDir folder;
    const std::string strGoodFile = folder.filePath("out.mpg").toStdString();
    const CStartFailureCase cases[] = {
        { "missing folder", EFailure::eFolderMissing,
          [&](CRecorder&, CRecordingRequest&, std::string& strFile) {
              strFile = folder.filePath("no/such/dir/x.mpg").toStdString();
          } },
        { "unwritable place", EFailure::eOutputFile,
          [](CRecorder&, CRecordingRequest&, std::string& strFile) { strFile = "/proc/x.mpg"; } },
        { "frame rate MPEG cannot carry", EFailure::eFrameRate,
          [](CRecorder&, CRecordingRequest& request, std::string&) { request.nFrameRate = 15; } },
        { "frame rate 0", EFailure::eFrameRate,
          [](CRecorder&, CRecordingRequest& request, std::string&) { request.nFrameRate = 0; } },
        { "video bitrate 0", EFailure::eEncoderSettings,
          [](CRecorder&, CRecordingRequest& request, std::string&) { request.nVideoBitrate = 0; } },
        { "negative video bitrate", EFailure::eEncoderSettings,
          [](CRecorder&, CRecordingRequest& request, std::string&) { request.nVideoBitrate = -5; } },
        { "video bitrate over the DVD limit", EFailure::eEncoderSettings,
          [](CRecorder&, CRecordingRequest& request, std::string&) { request.nVideoBitrate = 15000000; } },
        { "audio bitrate layer II lacks", EFailure::eEncoderSettings,
          [](CRecorder&, CRecordingRequest& request, std::string&) { request.nAudioBitrate = 100000; } },
        { "sample rate layer II lacks", EFailure::eEncoderSettings,
          [](CRecorder&, CRecordingRequest& request, std::string&) { request.nSampleRate = 8000; } },
        { "six channels", EFailure::eEncoderSettings,
          [](CRecorder&, CRecordingRequest& request, std::string&) { request.nChannels = 6; } },
        { "no channels", EFailure::eEncoderSettings,
          [](CRecorder&, CRecordingRequest& request, std::string&) { request.nChannels = 0; } },
        { "picture size 0", EFailure::ePictureSize,
          [](CRecorder&, CRecordingRequest& request, std::string&) { request.nWidth = 0; } },
        { "picture too large for MPEG-1", EFailure::eEncoderSettings,
          [](CRecorder&, CRecordingRequest& request, std::string&) {
              request.nOutputType = 5;
              request.nWidth = 5000;
          } },
        { "unknown output type", EFailure::eOutputType,
          [](CRecorder&, CRecordingRequest& request, std::string&) { request.nOutputType = 3; } },
        { "work mode other than MPEG", EFailure::eWorkMode,
          [](CRecorder& recorder, CRecordingRequest&, std::string&) { recorder.Profile().nWorkMode = 1; } },
        { "video device out of range", EFailure::eNoSuchDevice,
          [](CRecorder& recorder, CRecordingRequest&, std::string&) { recorder.SetVideoDevice(99); } },
    };
    for (const CStartFailureCase& testCase : cases) {
        SCOPED_TRACE(testCase.pszName);
        CRecorder recorder;
        CRecordingRequest request;
        std::string strFile = strGoodFile;
        testCase.change(recorder, request, strFile);
        ASSERT_TRUE(ConfigureRecorder(recorder, request, strFile));
        testCase.change(recorder, request, strFile); // the recorder-level changes again, after configuring
        EXPECT_EQ(recorder.Start(), -1);
        EXPECT_EQ(recorder.GetLastFailure(), testCase.eCause) << recorder.GetLastError();
        EXPECT_NE(recorder.GetLastError(), "");
        EXPECT_FALSE(recorder.IsRunning());
        EXPECT_FALSE(std::filesystem::exists(strGoodFile)) << "no file left behind";
    }
}

TEST(RecordingFailure, FullDeviceStopsCleanlyWithAReason)
{
    CRecorder recorder;
    CRecordingRequest request;
    request.dSeconds = 2;
    ASSERT_TRUE(ConfigureRecorder(recorder, request, "/dev/full"));
    if (recorder.Start() != -1) {
        ASSERT_TRUE(recorder.WaitUntilFinished(30000));
        recorder.Stop();
        EXPECT_NE(recorder.GetStatus().strError, "");
    }
    EXPECT_NE(recorder.GetLastError(), "");
    const EFailure eCause = recorder.GetLastFailure();
    EXPECT_EQ(eCause, EFailure::eDiskFull) << recorder.GetLastError();
    EXPECT_FALSE(recorder.IsRunning());
}

// A disk that fills up mid-recording, made with a file size limit: the
// recording stops with a reason and what reached the disk still plays.
TEST(RecordingFailure, DiskFullLeavesAPlayableFile)
{
    const QTemporaryDir folder;
    const std::string strFile = folder.filePath("full.mpg").toStdString();
    constexpr rlim_t FILE_LIMIT_BYTES = 600 * 1024;
    rlimit oldLimit {};
    getrlimit(RLIMIT_FSIZE, &oldLimit);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = oldLimit;
    limit.rlim_cur = FILE_LIMIT_BYTES;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);

    CRecorder recorder;
    CRecordingRequest request;
    request.dSeconds = 10;
    ASSERT_TRUE(ConfigureRecorder(recorder, request, strFile));
    const short nStarted = recorder.Start();
    if (nStarted != -1) {
        recorder.WaitUntilFinished(60000);
        recorder.Stop();
    }
    setrlimit(RLIMIT_FSIZE, &oldLimit);
    std::signal(SIGXFSZ, oldHandler);

    ASSERT_NE(nStarted, -1) << recorder.GetLastError();
    EXPECT_NE(recorder.GetLastError(), "");
    const QJsonObject probe = ProbeFile(strFile);
    const QJsonObject video = FindStream(probe, "video");
    EXPECT_EQ(video["codec_name"].toString(), "mpeg2video");
    EXPECT_GT(JsonNumber(video, "duration"), 0.5);
    EXPECT_FALSE(DecodePictureRgb(strFile, 0.2).empty());
}

TEST(RecordingFailure, StopWhileRunningClosesTheFile)
{
    const QTemporaryDir folder;
    const std::string strFile = folder.filePath("stopped.mpg").toStdString();
    CRecorder recorder;
    CRecordingRequest request;
    request.bFast = false;
    request.dSeconds = 0;
    ASSERT_TRUE(ConfigureRecorder(recorder, request, strFile));
    ASSERT_NE(recorder.Start(), -1) << recorder.GetLastError();
    EXPECT_TRUE(recorder.IsRunning());
    ASSERT_TRUE(WaitForElapsed(recorder, 0.8)) << recorder.GetLastError();
    recorder.Stop();
    EXPECT_FALSE(recorder.IsRunning());
    EXPECT_EQ(recorder.GetLastError(), "");
    const QJsonObject probe = ProbeFile(strFile);
    EXPECT_GT(JsonNumber(FindStream(probe, "video"), "duration"), 0.3);
    EXPECT_EQ(recorder.GetStatus().nBytesWritten, static_cast<std::int64_t>(std::filesystem::file_size(strFile)));
}
