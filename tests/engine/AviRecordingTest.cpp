#include <QJsonArray>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "engine/CompressorCatalog.h"
#include "engine/Recorder.h"
#include "engine/RecordingProfile.h"
#include "tests/engine/MediaProbe.h"

namespace {

// The AVI part of a recording; empty compressor names keep the recorder's own
// choice.
struct CAviRequest
{
    const char* pszVideoCompressor = "";
    const char* pszAudioCompressor = "";
    bool bVideoCapture = true;
    bool bAudioCapture = true;
    int nWorkMode = WORK_MODE_AVI;
    bool bUseCustomFrame = false; // CUSTOM_WIDTH x CUSTOM_HEIGHT
};

constexpr short CUSTOM_WIDTH = 176;
constexpr short CUSTOM_HEIGHT = 144;

bool ConfigureAvi(CRecorder& recorder, const CRecordingRequest& request, const CAviRequest& avi,
                  const std::string& strFile)
{
    if (!ConfigureRecorder(recorder, request, strFile))
        return false;
    CRecordingProfile& profile = recorder.Profile();
    profile.nWorkMode = avi.nWorkMode;
    profile.bVideoCapture = avi.bVideoCapture;
    profile.bAudioCapture = avi.bAudioCapture;
    if (*avi.pszVideoCompressor)
        profile.nVideoCompressor = static_cast<short>(FindCompressor(ECompressorKind::eVideo, avi.pszVideoCompressor));
    if (*avi.pszAudioCompressor)
        profile.nAudioCompressor = static_cast<short>(FindCompressor(ECompressorKind::eAudio, avi.pszAudioCompressor));
    profile.bUseCustomFrame = avi.bUseCustomFrame;
    profile.nCustomFrameWidth = CUSTOM_WIDTH;
    profile.nCustomFrameHeight = CUSTOM_HEIGHT;
    return true;
}

// Records one request to the end of its duration; the recorder's reason on failure.
::testing::AssertionResult RecordAvi(const CRecordingRequest& request, const CAviRequest& avi,
                                     const std::string& strFile)
{
    CRecorder recorder;
    if (!ConfigureAvi(recorder, request, avi, strFile))
        return ::testing::AssertionFailure() << "device missing";
    if (recorder.Start() == -1)
        return ::testing::AssertionFailure() << "Start failed: " << recorder.GetLastError();
    if (!recorder.WaitUntilFinished(30000))
        return ::testing::AssertionFailure() << "the recording did not end";
    recorder.Stop();
    if (!recorder.GetStatus().strError.empty())
        return ::testing::AssertionFailure() << "recording failed: " << recorder.GetStatus().strError;
    return ::testing::AssertionSuccess();
}

std::vector<std::string> Codecs(ECompressorKind eKind)
{
    std::vector<std::string> codecs;
    for (const CCompressorInfo& compressor : ListCompressors(eKind))
        codecs.push_back(compressor.strCodec);
    return codecs;
}

bool Contains(const std::vector<std::string>& items, const char* pszItem)
{
    return std::find(items.begin(), items.end(), pszItem) != items.end();
}

} // namespace

TEST(AviRecording, CompressorListsHoldOnlyWhatAviCarries)
{
    const std::vector<std::string> video = Codecs(ECompressorKind::eVideo);
    const std::vector<std::string> audio = Codecs(ECompressorKind::eAudio);
    for (const char* pszCarried : { "mpeg4", "ffv1", "mpeg2video", "mjpeg" })
        EXPECT_TRUE(Contains(video, pszCarried)) << pszCarried;
    for (const char* pszCarried : { "pcm_s16le", "flac", "mp2" })
        EXPECT_TRUE(Contains(audio, pszCarried)) << pszCarried;
    // Not carried, or carried but unable to record the default profile.
    for (const char* pszNotOffered : { "apng", "prores", "h261", "dvvideo", "h264_vaapi" })
        EXPECT_FALSE(Contains(video, pszNotOffered)) << pszNotOffered;
    for (const char* pszNotOffered : { "pcm_s16be", "alac", "g726", "vorbis" })
        EXPECT_FALSE(Contains(audio, pszNotOffered)) << pszNotOffered;

    const CRecorder recorder;
    EXPECT_EQ(ListCompressors(ECompressorKind::eVideo)[recorder.Profile().nVideoCompressor].strCodec, "mpeg4");
    EXPECT_EQ(ListCompressors(ECompressorKind::eAudio)[recorder.Profile().nAudioCompressor].strCodec, "pcm_s16le");
}

TEST(AviRecording, CompressorsAndSwitchesGiveTheAskedStreams)
{
    struct CAviCase
    {
        const char* pszName;
        CAviRequest avi;
        const char* pszVideoCodec; // "" for no video stream
        const char* pszVideoTag;
        const char* pszAudioCodec; // "" for no audio stream
        int nWidth;
        int nHeight;
        int nStreams;
        double dAudioFrameSeconds; // the audio span is whole frames of the encoder
        const char* pszPixelFormat;
        const char* pszSampleFormat;
        const char* pszDisplayAspect = ""; // "" where the codec does not carry it
    } const cases[] = {
        { "default compressors", {}, "mpeg4", "DIVX", "pcm_s16le", 352, 240, 2, 0, "yuv420p", "s16", "4:3" },
        { "ffv1 and flac", { "ffv1", "flac" }, "ffv1", "FFV1", "flac", 352, 240, 2, 0.1, "yuv420p", "s16" },
        // Neither takes YUV 4:2:0 or 16-bit samples.
        { "huffyuv and AC-3", { "huffyuv", "ac3" }, "huffyuv", "", "ac3", 352, 240, 2, 0.035, "yuv422p", "fltp" },
        { "custom frame",
          { "mpeg4", "mp2", true, true, WORK_MODE_AVI, true },
          "mpeg4",
          "DIVX",
          "mp2",
          CUSTOM_WIDTH,
          CUSTOM_HEIGHT,
          2,
          0.025,
          "yuv420p",
          "s16p",
          "11:9" },
        { "video only", { "", "", true, false }, "mpeg4", "DIVX", "", 352, 240, 1, 0, "yuv420p", "" },
        { "audio only", { "", "", false, true }, "", "", "pcm_s16le", 0, 0, 1, 0, "", "s16" },
        // video, audio and DVD navigation packets
        { "MPEG ignores the switches",
          { "", "", false, false, WORK_MODE_MPEG },
          "mpeg2video",
          "",
          "mp2",
          352,
          240,
          3,
          0.025,
          "yuv420p",
          "s16p" },
    };
    const QTemporaryDir folder;
    for (const CAviCase& testCase : cases) {
        SCOPED_TRACE(testCase.pszName);
        const std::string strFile = folder.filePath("profile.avi").toStdString();
        CRecordingRequest request;
        request.nFrameRate = 25;
        ASSERT_TRUE(RecordAvi(request, testCase.avi, strFile));

        const QJsonObject probe = ProbeFile(strFile);
        const QJsonObject video = FindStream(probe, "video");
        const QJsonObject audio = FindStream(probe, "audio");
        EXPECT_EQ(probe["streams"].toArray().size(), testCase.nStreams);
        EXPECT_EQ(video["codec_name"].toString(), testCase.pszVideoCodec);
        EXPECT_EQ(audio["codec_name"].toString(), testCase.pszAudioCodec);
        if (*testCase.pszVideoCodec) {
            EXPECT_NEAR(StreamSpanSeconds(strFile, "v"), request.dSeconds, 1.0 / 25);
            EXPECT_EQ(video["width"].toInt(), testCase.nWidth);
            EXPECT_EQ(video["height"].toInt(), testCase.nHeight);
            EXPECT_EQ(video["r_frame_rate"].toString(), "25/1");
            EXPECT_EQ(video["pix_fmt"].toString(), testCase.pszPixelFormat);
            if (*testCase.pszVideoTag) {
                EXPECT_EQ(video["codec_tag_string"].toString(), testCase.pszVideoTag);
            }
            if (*testCase.pszDisplayAspect) {
                EXPECT_EQ(video["display_aspect_ratio"].toString(), testCase.pszDisplayAspect);
            }
        }
        if (*testCase.pszAudioCodec) {
            EXPECT_NEAR(StreamSpanSeconds(strFile, "a"), request.dSeconds, testCase.dAudioFrameSeconds + 0.01);
            EXPECT_EQ(JsonNumber(audio, "sample_rate"), request.nSampleRate);
            EXPECT_EQ(audio["channels"].toInt(), request.nChannels);
            EXPECT_EQ(audio["sample_fmt"].toString(), testCase.pszSampleFormat);
        }
        EXPECT_EQ(DecodeErrors(strFile), "");
    }
}

TEST(AviRecording, LateStreamsStartAtZero)
{
    // AVI keeps no timestamps: a stream the offset starts late begins with
    // silence or with its first picture, so both still span the recording.
    struct COffsetCase
    {
        short nOffsetMs;
    } const cases[] = { { 0 }, { 400 }, { -400 } };
    const QTemporaryDir folder;
    for (const COffsetCase& testCase : cases) {
        SCOPED_TRACE(testCase.nOffsetMs);
        const std::string strFile = folder.filePath("offset.avi").toStdString();
        CRecordingRequest request;
        request.nFrameRate = 25;
        request.nSyncMode = SYNC_MODE_MANUAL;
        request.nAudioOffsetMs = testCase.nOffsetMs;
        request.dSeconds = 2;
        ASSERT_TRUE(RecordAvi(request, {}, strFile));
        EXPECT_NEAR(StreamSpanSeconds(strFile, "v"), request.dSeconds, 0.05);
        EXPECT_NEAR(StreamSpanSeconds(strFile, "a"), request.dSeconds, 0.05);
    }
}

TEST(AviRecording, RefusedSettingsFailStartWithTheReasonAndNoFile)
{
    struct CRefusalCase
    {
        const char* pszName;
        EFailure eCause;
        const char* pszNamed; // what the reason must name
        std::function<void(CRecordingRequest&, CAviRequest&)> change;
    } const cases[] = {
        { "rate MPEG-1 lacks", EFailure::eEncoderSettings, "mpeg1video",
          [](CRecordingRequest& request, CAviRequest& avi) {
              avi.pszVideoCompressor = "mpeg1video";
              request.nFrameRate = 15;
          } },
        { "sample rate AC-3 lacks", EFailure::eEncoderSettings, "ac3",
          [](CRecordingRequest& request, CAviRequest& avi) {
              avi.pszAudioCompressor = "ac3";
              request.nSampleRate = 8000;
          } },
        { "nothing to record", EFailure::eNoStream, "",
          [](CRecordingRequest&, CAviRequest& avi) { avi.bVideoCapture = avi.bAudioCapture = false; } },
    };
    const QTemporaryDir folder;
    const std::string strFile = folder.filePath("refused.avi").toStdString();
    for (const CRefusalCase& testCase : cases) {
        SCOPED_TRACE(testCase.pszName);
        CRecordingRequest request;
        CAviRequest avi;
        testCase.change(request, avi);
        CRecorder recorder;
        ASSERT_TRUE(ConfigureAvi(recorder, request, avi, strFile));
        EXPECT_EQ(recorder.Start(), -1);
        EXPECT_EQ(recorder.GetLastFailure(), testCase.eCause) << recorder.GetLastError();
        EXPECT_NE(recorder.GetLastError().find(testCase.pszNamed), std::string::npos) << recorder.GetLastError();
        EXPECT_FALSE(recorder.IsRunning());
        EXPECT_FALSE(std::filesystem::exists(strFile));
    }
}

TEST(AviRecording, TheTitleGoesIntoTheFile)
{
    const QTemporaryDir folder;
    const std::string strFile = folder.filePath("titled.avi").toStdString();
    CRecorder recorder;
    ASSERT_TRUE(ConfigureAvi(recorder, CRecordingRequest(), {}, strFile));
    recorder.Profile().strTitle = "Evening news: part 1";
    ASSERT_NE(recorder.Start(), -1) << recorder.GetLastError();
    ASSERT_TRUE(recorder.WaitUntilFinished(30000));
    recorder.Stop();
    EXPECT_EQ(ProbeFile(strFile)["format"].toObject()["tags"].toObject()["title"].toString(),
              QStringLiteral("Evening news: part 1"));
}

// MJPEG was offered yet refused its start ("Non full-range YUV is
// non-standard"), as were others the lists held. Each listed compressor
// records a second of the default profile's rates with its own defaults,
// into a file that decodes whole.
TEST(AviRecording, EveryListedCompressorRecordsWithItsDefaults)
{
    const QTemporaryDir folder;
    for (const ECompressorKind eKind : { ECompressorKind::eVideo, ECompressorKind::eAudio }) {
        const bool bVideo = eKind == ECompressorKind::eVideo;
        for (const CCompressorInfo& compressor : ListCompressors(eKind)) {
            SCOPED_TRACE(compressor.strName);
            const std::string strFile =
                folder.filePath(QString::fromStdString(compressor.strCodec + ".avi")).toStdString();
            const CRecordingProfile defaults;
            CRecordingRequest request;
            request.nFrameRate = defaults.nFrameRate;
            request.nSampleRate = defaults.nAudioSampleRate;
            request.nChannels = defaults.nAudioChannels;
            CAviRequest avi;
            avi.bVideoCapture = bVideo;
            avi.bAudioCapture = !bVideo;
            (bVideo ? avi.pszVideoCompressor : avi.pszAudioCompressor) = compressor.strCodec.c_str();
            const ::testing::AssertionResult recorded = RecordAvi(request, avi, strFile);
            EXPECT_TRUE(recorded);
            if (!recorded)
                continue;
            // Some streams go under a relative's tag (H.263+ as H.263, lossless JPEG as MJPEG).
            EXPECT_FALSE(FindStream(ProbeFile(strFile), bVideo ? "video" : "audio").isEmpty());
            // Audio ends on a whole block of the encoder's; WMA's decoder
            // also leaves out its first, priming, blocks.
            EXPECT_NEAR(StreamSpanSeconds(strFile, bVideo ? "v" : "a"), request.dSeconds, 0.15);
            EXPECT_EQ(DecodeErrors(strFile), "");
        }
    }
}
