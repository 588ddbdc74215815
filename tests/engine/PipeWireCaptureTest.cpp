#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <unistd.h>

#include "engine/ProfileLimits.h"
#include "engine/RecordingSession.h"
#include "tests/engine/MediaProbe.h"
#include "tests/engine/PipeWireProducer.h"
#include "tools/syncprobe/SyncMarks.h"

// Runs under tests/pipewire-exec.sh, beside a PipeWire daemon of its own;
// the producer stands for the desktop's screen cast.

namespace {

constexpr int WIDTH = 352;
constexpr int HEIGHT = 240;
constexpr int RATE = 25;
constexpr double FRAME_SECONDS = 1.0 / RATE;
constexpr int WAIT_MS = 30000;
// The first picture comes once the stream runs, a moment after the start.
constexpr double MAX_START_SECONDS = 0.5;
// A frame apart at most: a picture that reached the recorder late on a
// loaded machine lands in the next frame slot. (The burst's start is found
// to within a millisecond.)
constexpr double MAX_SYNC_OFFSET_SECONDS = FRAME_SECONDS + 0.001;
constexpr int BRIGHT = 180;
constexpr int DARK = 60;
constexpr int BLACK = 24;

#define SKIP_WITHOUT_PIPEWIRE()                                                                                        \
    do {                                                                                                               \
        std::string strWhyNot;                                                                                         \
        if (!IsPipeWireReachable(strWhyNot))                                                                           \
            GTEST_SKIP() << strWhyNot;                                                                                 \
    } while (false)

// An MPEG-2 recording of the stream with the test tone, as the recorder
// makes it for a device of the PipeWire kind.
CRecordingSettings StreamSettings(const CPipeWireStream& stream, const std::string& strFile, double dSeconds)
{
    CRecordingSettings settings;
    settings.videoDevice = { "PipeWire stream", ESourceKind::ePipeWire, "", {}, {} };
    settings.audioDevice = { "Test Tone", ESourceKind::eTestTone, "", {}, false };
    settings.pipeWireStream = stream;
    settings.nVideoWidth = WIDTH;
    settings.nVideoHeight = HEIGHT;
    settings.frameRate = { RATE, 1 };
    settings.nAudioSampleRate = 48000;
    settings.strVideoEncoder = "mpeg2video";
    settings.strAudioEncoder = MPEG_AUDIO_ENCODER;
    settings.bSaveToFile = true;
    settings.strFileName = strFile;
    settings.dDurationLimitSeconds = dSeconds;
    return settings;
}

// Waits until the recording has dSeconds of media or ended.
void WaitForRecorded(CRecordingSession& session, double dSeconds)
{
    const auto nUs = static_cast<std::int64_t>(dSeconds * 1e6);
    for (int nWaitedMs = 0; session.State().m_nElapsedUs < nUs && nWaitedMs < WAIT_MS; nWaitedMs += 20) {
        if (session.WaitUntilFinished(20))
            return;
    }
}

const std::uint8_t* Pixel(const std::vector<std::uint8_t>& rgb, int nX, int nY)
{
    return &rgb[(static_cast<std::size_t>(nY) * WIDTH + nX) * 3];
}

bool IsRed(const std::uint8_t* pPixel)
{
    return pPixel[0] > BRIGHT && pPixel[1] < DARK && pPixel[2] < DARK;
}

bool IsBlue(const std::uint8_t* pPixel)
{
    return pPixel[2] > BRIGHT && pPixel[0] < DARK && pPixel[1] < DARK;
}

bool IsBlack(const std::uint8_t* pPixel)
{
    return std::max({ pPixel[0], pPixel[1], pPixel[2] }) < BLACK;
}

// The column where the producer's white bar begins on a row of its grey band.
int BarColumn(const std::vector<std::uint8_t>& rgb, int nRow)
{
    for (int nX = 1; nX < WIDTH; ++nX) {
        if (Pixel(rgb, nX, nRow)[0] > BRIGHT && Pixel(rgb, nX - 1, nRow)[0] <= BRIGHT)
            return nX;
    }
    return -1;
}

} // namespace

// The stream's pictures reach the file whole and moving, in the recording's
// shape, as long as asked, in step with the audio; over the daemon's own
// socket and over a connection handed in, as the desktop portal does.
TEST(PipeWireCapture, RecordsTheStream)
{
    SKIP_WITHOUT_PIPEWIRE();
    struct CStreamCase
    {
        const char* pszName;
        bool bHandedConnection;
        int nWidth;
        int nHeight;
        int nTop; // where the producer's picture begins in the recording
        int nHeightShown;
    } const cases[] = {
        { "4:3 stream on the default daemon", false, 640, 480, 0, HEIGHT },
        { "16:9 stream over a handed connection", true, 1280, 720, 30, 180 },
    };
    const QTemporaryDir folder;
    for (const CStreamCase& testCase : cases) {
        SCOPED_TRACE(testCase.pszName);
        CPipeWireProducer producer;
        std::string strReason;
        ASSERT_TRUE(producer.Start(testCase.nWidth, testCase.nHeight, RATE, strReason)) << strReason;
        const int nFd = testCase.bHandedConnection ? ConnectToPipeWire() : -1;
        ASSERT_TRUE(!testCase.bHandedConnection || nFd >= 0);
        const std::string strFile = folder.filePath(QString("%1.mpg").arg(testCase.nWidth)).toStdString();
        CRecordingSettings settings = StreamSettings({ nFd, producer.NodeId() }, strFile, 3.0);
        settings.test.bSyncMarks = true;
        CRecordingSession session(settings, nullptr, nullptr, 0, 0);
        EFailure eCause = EFailure::eNone;
        ASSERT_TRUE(session.Start(eCause, strReason)) << strReason;
        // The tone marks whole seconds of the recording clock, the producer
        // the same instants on the monotonic clock.
        producer.MarkSeconds(session.State().m_startTime);
        // The recorder works on a copy: the caller's descriptor stays its own.
        if (nFd >= 0) {
            EXPECT_EQ(close(nFd), 0);
        }
        ASSERT_TRUE(session.WaitUntilFinished(WAIT_MS));
        EXPECT_EQ(session.State().Failure(), EFailure::eNone) << session.State().Error();

        EXPECT_EQ(DecodeErrors(strFile), "");
        EXPECT_NEAR(StreamSpanSeconds(strFile, "a"), 3.0, FRAME_SECONDS);
        const double dVideoSeconds = StreamSpanSeconds(strFile, "v");
        EXPECT_LE(dVideoSeconds, 3.0 + FRAME_SECONDS);
        EXPECT_GE(dVideoSeconds, 3.0 - MAX_START_SECONDS);
        // A white picture is told by its mean brightness, which bars lower.
        if (testCase.nTop == 0) {
            std::string strError;
            const std::optional<CSyncMarks> marks = FindSyncMarks(strFile, strError);
            ASSERT_TRUE(marks) << strError;
            const std::vector<CSyncOffset> offsets = PairSyncMarks(*marks);
            // A mark whose one picture a loaded machine lost has no pair.
            EXPECT_FALSE(offsets.empty()) << "the marks at 1 s and 2 s";
            for (const CSyncOffset& offset : offsets)
                EXPECT_LE(std::abs(offset.dOffsetSeconds), MAX_SYNC_OFFSET_SECONDS)
                    << "at " << offset.dVideoSeconds << " s";
        }
        // Between the marks.
        const std::vector<std::uint8_t> early = DecodePictureRgb(strFile, 1.5);
        const std::vector<std::uint8_t> late = DecodePictureRgb(strFile, 2.5);
        ASSERT_EQ(early.size(), static_cast<std::size_t>(WIDTH * HEIGHT * 3));
        ASSERT_EQ(late.size(), early.size());
        const int nThird = testCase.nHeightShown / 3;
        EXPECT_TRUE(IsRed(Pixel(early, WIDTH / 2, testCase.nTop + nThird / 2)));
        EXPECT_TRUE(IsBlue(Pixel(early, WIDTH / 2, testCase.nTop + 5 * nThird / 2)));
        if (testCase.nTop > 0) {
            EXPECT_TRUE(IsBlack(Pixel(early, WIDTH / 2, testCase.nTop / 2))) << "a bar above";
            EXPECT_TRUE(IsBlack(Pixel(early, WIDTH / 2, HEIGHT - testCase.nTop / 2))) << "a bar below";
        }
        const int nBandRow = testCase.nTop + testCase.nHeightShown / 2;
        EXPECT_NE(BarColumn(early, nBandRow), BarColumn(late, nBandRow)) << "the picture moves";
    }
}

// A shared window resized mid-stream brings a new format: the recording goes
// on with the new picture, fitted into the same coded picture.
TEST(PipeWireCapture, KeepsRecordingThroughASizeChange)
{
    SKIP_WITHOUT_PIPEWIRE();
    CPipeWireProducer producer;
    std::string strReason;
    ASSERT_TRUE(producer.Start(640, 480, RATE, strReason)) << strReason;
    const QTemporaryDir folder;
    const std::string strFile = folder.filePath("resized.mpg").toStdString();
    CRecordingSession session(StreamSettings({ -1, producer.NodeId() }, strFile, 3.0), nullptr, nullptr, 0, 0);
    EFailure eCause = EFailure::eNone;
    ASSERT_TRUE(session.Start(eCause, strReason)) << strReason;
    WaitForRecorded(session, 1.0);
    // Square: 4:3 less an eighth of the width on each side.
    producer.Resize(480, 480);
    ASSERT_TRUE(session.WaitUntilFinished(WAIT_MS));
    EXPECT_EQ(session.State().Failure(), EFailure::eNone) << session.State().Error();
    EXPECT_EQ(producer.LastPictureWidth(), 480);

    EXPECT_GE(StreamSpanSeconds(strFile, "v"), 3.0 - MAX_START_SECONDS);
    const std::vector<std::uint8_t> before = DecodePictureRgb(strFile, 0.5);
    const std::vector<std::uint8_t> after = DecodePictureRgb(strFile, 2.8);
    ASSERT_EQ(after.size(), static_cast<std::size_t>(WIDTH * HEIGHT * 3));
    ASSERT_EQ(before.size(), after.size());
    EXPECT_TRUE(IsRed(Pixel(before, 10, 20))) << "the 4:3 picture fills the recording";
    EXPECT_TRUE(IsBlack(Pixel(after, 10, 20))) << "the square one has bars beside it";
    EXPECT_TRUE(IsRed(Pixel(after, WIDTH / 2, 20)));
    EXPECT_TRUE(IsBlue(Pixel(after, WIDTH / 2, HEIGHT - 20)));
}

// A screen cast sends pictures only when the screen changes: a still screen
// records as a still picture, not as a device that stopped delivering.
TEST(PipeWireCapture, StillScreenIsNotAStalledDevice)
{
    SKIP_WITHOUT_PIPEWIRE();
    CPipeWireProducer producer;
    std::string strReason;
    ASSERT_TRUE(producer.Start(320, 240, RATE, strReason)) << strReason;
    const QTemporaryDir folder;
    const std::string strFile = folder.filePath("still.mpg").toStdString();
    // Longer than the three seconds after which a silent device counts as stalled.
    CRecordingSession session(StreamSettings({ -1, producer.NodeId() }, strFile, 4.5), nullptr, nullptr, 0, 0);
    EFailure eCause = EFailure::eNone;
    ASSERT_TRUE(session.Start(eCause, strReason)) << strReason;
    WaitForRecorded(session, 0.5);
    producer.SetStill(true);
    ASSERT_TRUE(session.WaitUntilFinished(WAIT_MS));
    EXPECT_EQ(session.State().Failure(), EFailure::eNone) << session.State().Error();
    EXPECT_GE(StreamSpanSeconds(strFile, "v"), 4.5 - MAX_START_SECONDS);
    EXPECT_TRUE(IsRed(Pixel(DecodePictureRgb(strFile, 4.0), WIDTH / 2, 20)));
}

// The user stops sharing from the desktop: the node goes, the recording
// ends with that cause, and the file is closed whole.
TEST(PipeWireCapture, EndsWhenSharingStops)
{
    SKIP_WITHOUT_PIPEWIRE();
    CPipeWireProducer producer;
    std::string strReason;
    ASSERT_TRUE(producer.Start(320, 240, RATE, strReason)) << strReason;
    const QTemporaryDir folder;
    const std::string strFile = folder.filePath("ended.mpg").toStdString();
    CRecordingSession session(StreamSettings({ -1, producer.NodeId() }, strFile, 0), nullptr, nullptr, 0, 0);
    EFailure eCause = EFailure::eNone;
    ASSERT_TRUE(session.Start(eCause, strReason)) << strReason;
    WaitForRecorded(session, 1.0);
    producer.Stop();
    ASSERT_TRUE(session.WaitUntilFinished(WAIT_MS));
    EXPECT_EQ(session.State().Failure(), EFailure::eCaptureEnded) << session.State().Error();

    EXPECT_EQ(DecodeErrors(strFile), "");
    EXPECT_GE(StreamSpanSeconds(strFile, "v"), 1.0 - MAX_START_SECONDS);
    EXPECT_EQ(FindStream(ProbeFile(strFile), "audio")["codec_name"].toString(), "mp2");
}

// A stream that cannot be recorded stops Start with the video device's
// failure, and no file is left.
TEST(PipeWireCapture, RefusesStreamsItCannotOpen)
{
    SKIP_WITHOUT_PIPEWIRE();
    CPipeWireProducer producer;
    std::string strReason;
    ASSERT_TRUE(producer.Start(320, 240, RATE, strReason)) << strReason;
    const int nClosedFd = ConnectToPipeWire();
    ASSERT_GE(nClosedFd, 0);
    close(nClosedFd);
    struct CRefusedCase
    {
        const char* pszName;
        CPipeWireStream stream;
    } const cases[] = {
        { "no node chosen", { -1, NO_PIPEWIRE_NODE } },
        { "a node that is not there", { -1, producer.NodeId() + 1000 } },
        { "a connection that is not open", { nClosedFd, producer.NodeId() } },
    };
    const QTemporaryDir folder;
    for (const CRefusedCase& testCase : cases) {
        SCOPED_TRACE(testCase.pszName);
        const std::string strFile = folder.filePath("refused.mpg").toStdString();
        CRecordingSession session(StreamSettings(testCase.stream, strFile, 1.0), nullptr, nullptr, 0, 0);
        EFailure eCause = EFailure::eNone;
        EXPECT_FALSE(session.Start(eCause, strReason));
        EXPECT_EQ(eCause, EFailure::eVideoDevice) << strReason;
        EXPECT_FALSE(QFile::exists(QString::fromStdString(strFile)));
    }
}
