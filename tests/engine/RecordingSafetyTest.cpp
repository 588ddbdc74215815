#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>

#include "engine/Recorder.h"
#include "tests/engine/MediaProbe.h"

// What must never happen to a recording: a second Start truncating it, a
// thread that cannot start taking the program down, a device that stops
// delivering freezing the caller or leaving the file unplayable.

namespace {

constexpr double TWO_FRAMES_AT_30 = 2.0 / 30;

CRecordingRequest RealTimeUntilStop()
{
    CRecordingRequest request;
    request.nWidth = 176;
    request.nHeight = 120;
    request.bFast = false;
    request.dSeconds = 0;
    return request;
}

std::int64_t FileSize(const std::string& strFile)
{
    std::error_code error;
    const auto nSize = std::filesystem::file_size(strFile, error);
    return error ? -1 : static_cast<std::int64_t>(nSize);
}

::testing::AssertionResult IsWholeRecording(const std::string& strFile, double dAtLeastSeconds)
{
    const QString strErrors = DecodeErrors(strFile);
    if (!strErrors.isEmpty())
        return ::testing::AssertionFailure() << strFile << " does not decode cleanly: " << strErrors.toStdString();
    const double dSeconds = StreamSpanSeconds(strFile, "v");
    if (dSeconds < dAtLeastSeconds)
        return ::testing::AssertionFailure()
            << strFile << " holds " << dSeconds << " s, expected at least " << dAtLeastSeconds;
    return ::testing::AssertionSuccess();
}

} // namespace

TEST(RecordingSafety, StartOverTheFileBeingWrittenLeavesTheRecordingWhole)
{
    const QTemporaryDir folder;
    const std::string strFile = folder.filePath("running.mpg").toStdString();
    CRecorder recorder;
    ASSERT_TRUE(ConfigureRecorder(recorder, RealTimeUntilStop(), strFile));
    ASSERT_NE(recorder.Start(), -1) << recorder.GetLastError();
    ASSERT_TRUE(WaitForElapsed(recorder, 1.0)) << recorder.GetLastError();

    // The same file, also under another spelling of its path.
    for (const std::string& strSameFile : { strFile, folder.path().toStdString() + "/./running.mpg" }) {
        SCOPED_TRACE(strSameFile);
        recorder.Profile().strFileName = strSameFile;
        EXPECT_EQ(recorder.Start(), -1);
        EXPECT_EQ(recorder.GetLastFailure(), EFailure::eFileBeingRecorded) << recorder.GetLastError();
        EXPECT_TRUE(recorder.IsRunning());
    }
    const std::int64_t nSizeAtRefusal = FileSize(strFile);
    // The file grows by whole write blocks: wait, by the recording's own
    // clock, until the next one has had time to fill.
    for (double dUntil = 2.0; FileSize(strFile) <= nSizeAtRefusal && dUntil <= 10.0; dUntil += 0.5)
        ASSERT_TRUE(WaitForElapsed(recorder, dUntil)) << recorder.GetLastError();
    EXPECT_GT(FileSize(strFile), nSizeAtRefusal) << "the recording went on writing";
    const double dElapsed = recorder.GetStatus().dElapsedSeconds;
    recorder.Stop();
    EXPECT_TRUE(IsWholeRecording(strFile, dElapsed - 0.3));
}

TEST(RecordingSafety, StartWithAnotherFileClosesTheFirstWhole)
{
    const QTemporaryDir folder;
    const std::string strFirst = folder.filePath("first.mpg").toStdString();
    const std::string strSecond = folder.filePath("second.mpg").toStdString();
    CRecorder recorder;
    ASSERT_TRUE(ConfigureRecorder(recorder, RealTimeUntilStop(), strFirst));
    ASSERT_NE(recorder.Start(), -1) << recorder.GetLastError();
    ASSERT_TRUE(WaitForElapsed(recorder, 1.0)) << recorder.GetLastError();
    const double dFirstElapsed = recorder.GetStatus().dElapsedSeconds;

    recorder.Profile().strFileName = strSecond;
    ASSERT_NE(recorder.Start(), -1) << recorder.GetLastError();
    const std::int64_t nFirstSize = FileSize(strFirst);
    ASSERT_TRUE(WaitForElapsed(recorder, 1.0)) << recorder.GetLastError();
    recorder.Stop();

    EXPECT_EQ(FileSize(strFirst), nFirstSize) << "the first file was closed, not written on";
    EXPECT_TRUE(IsWholeRecording(strFirst, dFirstElapsed - 0.3));
    EXPECT_TRUE(IsWholeRecording(strSecond, 0.7));
}

TEST(RecordingSafety, AThreadThatCannotStartLeavesNothingRunningAndNoFile)
{
    const QTemporaryDir folder;
    const std::string strFile = folder.filePath("threads.mpg").toStdString();
    // A recording to a file starts six threads; each may be the one that fails.
    for (int nLimit = 0; nLimit < 6; ++nLimit) {
        SCOPED_TRACE(nLimit);
        CRecorder recorder;
        ASSERT_TRUE(ConfigureRecorder(recorder, RealTimeUntilStop(), strFile));
        recorder.Profile().test.nThreadLimit = nLimit;
        EXPECT_EQ(recorder.Start(), -1);
        EXPECT_EQ(recorder.GetLastFailure(), EFailure::eThreadStart) << recorder.GetLastError();
        EXPECT_FALSE(recorder.IsRunning());
        EXPECT_FALSE(std::filesystem::exists(strFile));
        // The recorder is still usable once threads can be had again.
        recorder.Profile().test.nThreadLimit = -1;
        ASSERT_NE(recorder.Start(), -1) << recorder.GetLastError();
        recorder.Stop();
        EXPECT_TRUE(std::filesystem::remove(strFile));
    }
}

TEST(RecordingSafety, AStalledSourceEndsTheRecordingKeepingWhatWasRecorded)
{
    const QTemporaryDir folder;
    const std::string strFile = folder.filePath("stalled.mpg").toStdString();
    CRecorder recorder;
    ASSERT_TRUE(ConfigureRecorder(recorder, RealTimeUntilStop(), strFile));
    ASSERT_NE(recorder.Start(), -1) << recorder.GetLastError();
    ASSERT_TRUE(WaitForElapsed(recorder, 1.0)) << recorder.GetLastError();
    recorder.StallTestSources(true);
    const double dElapsedAtStall = recorder.GetStatus().dElapsedSeconds;

    ASSERT_TRUE(recorder.WaitUntilFinished(15000)) << "a stalled device ends the recording by itself";
    EXPECT_EQ(recorder.GetLastFailure(), EFailure::eDeviceStalled) << recorder.GetLastError();
    recorder.Stop();
    EXPECT_TRUE(IsWholeRecording(strFile, dElapsedAtStall - 0.3));
}

TEST(RecordingSafety, StopReturnsSoonWhileASourceStalls)
{
    const QTemporaryDir folder;
    const std::string strFile = folder.filePath("stopped.mpg").toStdString();
    CRecorder recorder;
    ASSERT_TRUE(ConfigureRecorder(recorder, RealTimeUntilStop(), strFile));
    ASSERT_NE(recorder.Start(), -1) << recorder.GetLastError();
    ASSERT_TRUE(WaitForElapsed(recorder, 0.5)) << recorder.GetLastError();
    recorder.StallTestSources(true);

    const auto stopAsked = std::chrono::steady_clock::now();
    recorder.Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - stopAsked, std::chrono::seconds(2));
    EXPECT_FALSE(recorder.IsRunning());
    EXPECT_EQ(recorder.GetLastFailure(), EFailure::eNone)
        << "Stop ended it, not the stall: " << recorder.GetLastError();
    EXPECT_TRUE(IsWholeRecording(strFile, 0.3));
}

TEST(RecordingSafety, PauseHoldsThePreviewButNotARecordingsPreview)
{
    const QTemporaryDir folder;
    for (const bool bToFile : { false, true }) {
        SCOPED_TRACE(bToFile ? "recording to a file" : "preview only");
        std::atomic<int> nPreviews = 0;
        std::atomic<int> nPausedReports = 0;
        CRecorder recorder;
        recorder.SetPreviewSize(88, 60);
        recorder.SetPreviewCallback([&](const CPreviewFrame&) { ++nPreviews; });
        recorder.SetStatusCallback([&](const CRecorderStatus& status) { nPausedReports += status.bPaused ? 1 : 0; });
        ASSERT_TRUE(
            ConfigureRecorder(recorder, RealTimeUntilStop(), bToFile ? folder.filePath("p.mpg").toStdString() : ""));
        ASSERT_NE(recorder.Start(), -1) << recorder.GetLastError();
        ASSERT_TRUE(WaitForCount(nPreviews, 3));

        recorder.Pause();
        // A picture already on its way when Pause came may still arrive.
        ASSERT_TRUE(WaitForCount(nPausedReports, 4));
        const int nPreviewsHeld = nPreviews;
        ASSERT_TRUE(WaitForCount(nPausedReports, 12));
        if (bToFile)
            EXPECT_GT(nPreviews, nPreviewsHeld) << "a paused recording still shows what Resume would record";
        else
            EXPECT_EQ(nPreviews, nPreviewsHeld) << "the picture is held";

        recorder.Resume();
        EXPECT_TRUE(WaitForCount(nPreviews, nPreviews + 3));
        recorder.Stop();
    }
}

TEST(RecordingSafety, ASecondRecorderIsRefusedTheFileBeingRecorded)
{
    const QTemporaryDir folder;
    const std::string strFile = folder.filePath("shared.mpg").toStdString();
    CRecorder first;
    ASSERT_TRUE(ConfigureRecorder(first, RealTimeUntilStop(), strFile));
    ASSERT_NE(first.Start(), -1) << first.GetLastError();
    ASSERT_TRUE(WaitForElapsed(first, 1.0)) << first.GetLastError();

    // Another recorder stands for another window or process: the lock is
    // the file's, not the recorder's.
    CRecorder second;
    CRecordingRequest oneSecond;
    oneSecond.nWidth = 176;
    oneSecond.nHeight = 120;
    ASSERT_TRUE(ConfigureRecorder(second, oneSecond, strFile));
    EXPECT_EQ(second.Start(), -1);
    EXPECT_EQ(second.GetLastFailure(), EFailure::eFileBeingRecorded) << second.GetLastError();
    EXPECT_TRUE(first.IsRunning());
    ASSERT_TRUE(WaitForElapsed(first, 1.5)) << first.GetLastError();
    const double dElapsed = first.GetStatus().dElapsedSeconds;
    first.Stop();
    EXPECT_TRUE(IsWholeRecording(strFile, dElapsed - 0.3));

    // Closed, the file may be recorded again.
    EXPECT_TRUE(RecordToTheEnd(second));
}

// Tests running side by side all write to /dev/full: a device is no file
// one recording owns.
TEST(RecordingSafety, ADeviceIsWrittenWhateverElseHoldsIt)
{
    const int nDevice = open("/dev/full", O_WRONLY | O_CLOEXEC);
    if (nDevice < 0)
        GTEST_SKIP() << "no /dev/full";
    struct flock lock
    { };
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    ASSERT_EQ(fcntl(nDevice, F_OFD_SETLK, &lock), 0);
    CRecorder recorder;
    ASSERT_TRUE(ConfigureRecorder(recorder, CRecordingRequest(), "/dev/full"));
    // The device is full: the recording fails at the start or at Stop, but
    // never for being held.
    if (recorder.Start() != -1)
        recorder.Stop();
    EXPECT_NE(recorder.GetLastFailure(), EFailure::eFileBeingRecorded) << recorder.GetLastError();
    close(nDevice);
}

TEST(RecordingSafety, AFileDeletedWhileBeingRecordedEndsWithThatReason)
{
    enum class ELoss {
        eFile,
        eFolder,
        eNoneRenamed,
    };
    for (const ELoss eLoss : { ELoss::eFile, ELoss::eFolder, ELoss::eNoneRenamed }) {
        SCOPED_TRACE(static_cast<int>(eLoss));
        QTemporaryDir folder;
        const std::string strFile = folder.filePath("doomed.mpg").toStdString();
        CRecorder recorder;
        ASSERT_TRUE(ConfigureRecorder(recorder, RealTimeUntilStop(), strFile));
        ASSERT_NE(recorder.Start(), -1) << recorder.GetLastError();
        ASSERT_TRUE(WaitForElapsed(recorder, 0.5)) << recorder.GetLastError();
        std::error_code error;
        if (eLoss == ELoss::eFile)
            std::filesystem::remove(strFile, error);
        else if (eLoss == ELoss::eFolder)
            ASSERT_TRUE(folder.remove());
        else
            std::filesystem::rename(strFile, strFile + ".kept", error);
        ASSERT_FALSE(error) << error.message();
        recorder.Stop();
        EXPECT_EQ(recorder.GetLastFailure(), eLoss == ELoss::eNoneRenamed ? EFailure::eNone : EFailure::eFileDeleted)
            << recorder.GetLastError();
    }
}

TEST(RecordingSafety, ARecordingShorterThanTheAudioOffsetSaysAStreamIsMissing)
{
    struct COffsetCase
    {
        short nOffsetMs;
        EFailure eFailure;
    } const cases[] = {
        { 3000, EFailure::eSyncMode },
        { -3000, EFailure::eSyncMode },
        { 300, EFailure::eNone },
    };
    const QTemporaryDir folder;
    const std::string strFile = folder.filePath("offset.mpg").toStdString();
    for (const COffsetCase& offsetCase : cases) {
        SCOPED_TRACE(offsetCase.nOffsetMs);
        CRecordingRequest request;
        request.nWidth = 176;
        request.nHeight = 120;
        request.nSyncMode = SYNC_MODE_MANUAL;
        request.nAudioOffsetMs = offsetCase.nOffsetMs;
        CRecorder recorder;
        ASSERT_TRUE(ConfigureRecorder(recorder, request, strFile));
        ASSERT_NE(recorder.Start(), -1) << recorder.GetLastError();
        recorder.WaitUntilFinished(-1);
        recorder.Stop();
        EXPECT_EQ(recorder.GetLastFailure(), offsetCase.eFailure) << recorder.GetLastError();
    }
}
