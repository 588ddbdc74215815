#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <string>

#include "engine/Recorder.h"
#include "tests/engine/MediaProbe.h"
#include "tools/syncprobe/SyncMarks.h"

namespace {

constexpr double FRAME_SECONDS = 0.04; // at the 25 pictures a second these tests record
constexpr int MAX_SKEW_PPM = 2000;     // the worst sound card we promise to follow
// Between two marks a second apart the offset moves by the drift the
// resampler has yet to take up, a millisecond or two at 1000 ppm; a pause
// cutting the streams apart would move it by up to half a frame.
constexpr int PAUSED_SKEW_PPM = 1000;
constexpr double MAX_OFFSET_STEP_SECONDS = 0.0025;

// A small, fast recording with the sync marks on and the tone's clock skewed.
CRecordingRequest SkewedRequest(short nSyncMode, int nSkewPpm)
{
    CRecordingRequest request;
    request.nOutputType = 5;
    request.nFrameRate = 25;
    request.nWidth = 176;
    request.nHeight = 144;
    request.nVideoBitrate = 400000;
    request.nSyncMode = nSyncMode;
    request.bSyncMarks = true;
    request.nClockSkewPpm = nSkewPpm;
    request.dSeconds = 30;
    return request;
}

// The offsets at the marks, of which at most nCut lost their flash or burst
// to a cut (a pause's start or the end). A flash left without a burst
// otherwise means the offset jumped beyond where its pairing looks.
std::vector<CSyncOffset> MeasureOffsets(const std::string& strFile, std::size_t nCut)
{
    std::string strError;
    const std::optional<CSyncMarks> marks = FindSyncMarks(strFile, strError);
    EXPECT_TRUE(marks) << strError;
    if (!marks)
        return {};
    std::vector<CSyncOffset> offsets = PairSyncMarks(*marks);
    EXPECT_GE(offsets.size() + nCut, marks->flashSeconds.size()) << "flashes without their burst";
    return offsets;
}

// Every offset within a frame of the expected one.
::testing::AssertionResult StaysWithinAFrame(const std::vector<CSyncOffset>& offsets, double dExpectedSeconds)
{
    for (const CSyncOffset& offset : offsets) {
        if (std::fabs(offset.dOffsetSeconds - dExpectedSeconds) > FRAME_SECONDS)
            return ::testing::AssertionFailure()
                << "audio " << offset.dOffsetSeconds * 1000 << " ms behind the picture at " << offset.dVideoSeconds
                << " s, expected " << dExpectedSeconds * 1000 << " ms";
    }
    return ::testing::AssertionSuccess();
}

// No offset differs from the one before by more than dSeconds: the sync
// only moves as slowly as the sound card's clock drifts.
::testing::AssertionResult NeverJumps(const std::vector<CSyncOffset>& offsets, double dSeconds)
{
    for (std::size_t nIndex = 1; nIndex < offsets.size(); ++nIndex) {
        const double dStep = offsets[nIndex].dOffsetSeconds - offsets[nIndex - 1].dOffsetSeconds;
        if (std::fabs(dStep) > dSeconds)
            return ::testing::AssertionFailure()
                << "the offset moved by " << dStep * 1000 << " ms between " << offsets[nIndex - 1].dVideoSeconds
                << " s and " << offsets[nIndex].dVideoSeconds << " s";
    }
    return ::testing::AssertionSuccess();
}

} // namespace

TEST(Sync, AudioFollowsThePictureWhateverTheSoundCardsClock)
{
    struct CSyncCase
    {
        short nSyncMode;
        short nAudioOffsetMs;
        int nSkewPpm;
    } const cases[] = {
        { 1, 0, MAX_SKEW_PPM },
        { 1, 0, -MAX_SKEW_PPM },
        { 2, 200, MAX_SKEW_PPM },
        { 2, -150, -MAX_SKEW_PPM },
    };
    const QTemporaryDir folder;
    const std::string strFile = folder.filePath("skewed.mpg").toStdString();
    for (const CSyncCase& testCase : cases) {
        SCOPED_TRACE("sync mode " + std::to_string(testCase.nSyncMode) + ", offset "
                     + std::to_string(testCase.nAudioOffsetMs) + " ms, skew " + std::to_string(testCase.nSkewPpm)
                     + " ppm");
        CRecordingRequest request = SkewedRequest(testCase.nSyncMode, testCase.nSkewPpm);
        request.nAudioOffsetMs = testCase.nAudioOffsetMs;
        CRecorder recorder;
        ASSERT_TRUE(ConfigureRecorder(recorder, request, strFile));
        ASSERT_NE(recorder.Start(), -1) << recorder.GetLastError();
        recorder.WaitUntilFinished(-1);
        ASSERT_EQ(recorder.GetStatus().strError, "");

        const std::vector<CSyncOffset> offsets = MeasureOffsets(strFile, 1);
        EXPECT_GE(offsets.size(), static_cast<std::size_t>(request.dSeconds) - 1);
        EXPECT_TRUE(StaysWithinAFrame(offsets, testCase.nAudioOffsetMs / 1000.0));
    }
}

TEST(Sync, PausesCutBothStreamsAtTheSameInstants)
{
    const QTemporaryDir folder;
    const std::string strFile = folder.filePath("paused.mpg").toStdString();
    CRecordingRequest request = SkewedRequest(1, PAUSED_SKEW_PPM);
    request.dSeconds = 0;
    CRecorder recorder;
    std::atomic<int> nPausedReports = 0;
    recorder.SetStatusCallback([&](const CRecorderStatus& status) { nPausedReports += status.bPaused ? 1 : 0; });
    ASSERT_TRUE(ConfigureRecorder(recorder, request, strFile));
    ASSERT_NE(recorder.Start(), -1) << recorder.GetLastError();
    // The sources run ahead of real time, so each pause leaves out seconds
    // of them; each begins and ends anywhere between two marks.
    constexpr int PAUSES = 3;
    constexpr double SECONDS_BETWEEN_PAUSES = 3.3;
    constexpr int REPORTS_PER_PAUSE = 3;
    for (int nPause = 1; nPause <= PAUSES; ++nPause) {
        const double dElapsed = recorder.GetStatus().dElapsedSeconds;
        ASSERT_TRUE(WaitForElapsed(recorder, dElapsed + SECONDS_BETWEEN_PAUSES)) << recorder.GetLastError();
        recorder.Pause();
        ASSERT_TRUE(WaitForCount(nPausedReports, nPause * REPORTS_PER_PAUSE));
        recorder.Resume();
    }
    ASSERT_TRUE(WaitForElapsed(recorder, recorder.GetStatus().dElapsedSeconds + SECONDS_BETWEEN_PAUSES));
    recorder.Stop();
    ASSERT_EQ(recorder.GetStatus().strError, "");
    // Pauses of whole frames keep the pictures on their grid: none falls
    // into another's slot, none is missing.
    EXPECT_EQ(recorder.GetStatus().nVideoFramesSkipped, 0);
    EXPECT_EQ(recorder.GetStatus().nVideoFramesRepeated, 0);

    const std::vector<CSyncOffset> offsets = MeasureOffsets(strFile, PAUSES + 1);
    EXPECT_GE(offsets.size(), static_cast<std::size_t>(PAUSES * 3));
    EXPECT_TRUE(StaysWithinAFrame(offsets, 0));
    EXPECT_TRUE(NeverJumps(offsets, MAX_OFFSET_STEP_SECONDS));
}
