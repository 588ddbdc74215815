#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdint>

#include <QTemporaryDir>

#include "engine/AudioLevel.h"
#include "engine/AvPtr.h"
#include "engine/Recorder.h"
#include "tests/engine/MediaProbe.h"

extern "C" {
#include <libavutil/channel_layout.h>
}

namespace {

// lavfi's sine source plays at an eighth of full scale.
constexpr double TEST_TONE_DBFS = -18.06;

CFramePtr MakeFrame(AVSampleFormat eFormat, int nChannels, int nSamples)
{
    CFramePtr pFrame(av_frame_alloc());
    pFrame->format = eFormat;
    pFrame->nb_samples = nSamples;
    av_channel_layout_default(&pFrame->ch_layout, nChannels);
    EXPECT_EQ(av_frame_get_buffer(pFrame.get(), 0), 0);
    EXPECT_GE(av_samples_set_silence(pFrame->extended_data, 0, nSamples, nChannels, eFormat), 0);
    return pFrame;
}

} // namespace

TEST(AudioLevel, PeakOfEverySampleLayout)
{
    // Interleaved: the loudest sample is the second channel's, negative.
    CFramePtr pPacked = MakeFrame(AV_SAMPLE_FMT_S16, 2, 4);
    reinterpret_cast<std::int16_t*>(pPacked->data[0])[5] = -16384;
    EXPECT_FLOAT_EQ(PeakAmplitude(pPacked.get()), 0.5f);

    // Planar: only the last plane holds sound.
    CFramePtr pPlanar = MakeFrame(AV_SAMPLE_FMT_FLTP, 2, 4);
    reinterpret_cast<float*>(pPlanar->extended_data[1])[3] = 0.25f;
    EXPECT_FLOAT_EQ(PeakAmplitude(pPlanar.get()), 0.25f);

    // Unsigned 8-bit silence sits at 128, not 0.
    CFramePtr pUnsigned = MakeFrame(AV_SAMPLE_FMT_U8, 1, 8);
    EXPECT_FLOAT_EQ(PeakAmplitude(pUnsigned.get()), 0.0f);
    pUnsigned->data[0][2] = 0;
    EXPECT_FLOAT_EQ(PeakAmplitude(pUnsigned.get()), 1.0f);

    // Floating point beyond full scale is full scale.
    CFramePtr pLoud = MakeFrame(AV_SAMPLE_FMT_FLT, 1, 2);
    reinterpret_cast<float*>(pLoud->data[0])[0] = 3.0f;
    EXPECT_FLOAT_EQ(PeakAmplitude(pLoud.get()), 1.0f);
}

TEST(AudioLevel, DecibelsOfFullScale)
{
    EXPECT_DOUBLE_EQ(AmplitudeToDbfs(1.0f), 0.0);
    EXPECT_NEAR(AmplitudeToDbfs(0.5f), -6.02, 0.01);
    EXPECT_DOUBLE_EQ(AmplitudeToDbfs(0.0f), SILENCE_DBFS);
}

// The status carries the tone's level until Mute, silence after it, and the
// file holds sound before the click and silence after it.
TEST(AudioLevel, MuteSilencesTheRecordingAtOnceAndTheLevelShowsIt)
{
    const QTemporaryDir folder;
    const std::string strFile = folder.filePath("muted.mpg").toStdString();
    std::atomic<double> dLastLevel = SILENCE_DBFS;
    std::atomic<int> nReports = 0;
    CRecorder recorder;
    recorder.SetStatusCallback([&](const CRecorderStatus& status) {
        if (!status.bFinished)
            dLastLevel = status.dAudioLevelDbfs;
        ++nReports;
    });
    CRecordingRequest request;
    request.bFast = false;
    request.dSeconds = 0;
    request.nWidth = 176;
    request.nHeight = 120;
    ASSERT_TRUE(ConfigureRecorder(recorder, request, strFile));
    ASSERT_NE(recorder.Start(), -1) << recorder.GetLastError();
    ASSERT_TRUE(WaitForElapsed(recorder, 1.0)) << recorder.GetLastError();
    EXPECT_NEAR(dLastLevel, TEST_TONE_DBFS, 1.0);

    const double dMutedAt = recorder.GetStatus().dElapsedSeconds;
    recorder.SetAudioMute(true);
    ASSERT_TRUE(WaitForElapsed(recorder, dMutedAt + 1.0)) << recorder.GetLastError();
    EXPECT_EQ(dLastLevel, SILENCE_DBFS);
    recorder.Stop();
    EXPECT_EQ(recorder.GetStatus().dAudioLevelDbfs, SILENCE_DBFS) << "an ended recording shows no level";

    // The status trails the media by up to one interval and a queue. The
    // mono tone reaches both stereo channels 3 dB lower.
    EXPECT_GT(MaxVolumeDb(strFile, 0.1, dMutedAt - 0.3), TEST_TONE_DBFS - 4.0);
    EXPECT_LT(MaxVolumeDb(strFile, dMutedAt + 0.5, dMutedAt + 0.9), -80.0);
    EXPECT_NEAR(StreamSpanSeconds(strFile, "a"), StreamSpanSeconds(strFile, "v"), 0.1) << "the audio stream goes on";
}
