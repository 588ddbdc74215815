#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>

#include "engine/CaptureClock.h"

namespace {

constexpr std::int64_t BLOCK_US = 21333; // 1024 samples at 48 kHz
constexpr std::int64_t BLOCKS_PER_MINUTE = 60 * 1000000 / BLOCK_US;

} // namespace

// A real sound card: its blocks count samples by a crystal 2000 ppm fast
// and reach us 1 to 9 ms after they were filled. Tracked, their times land
// on the recording clock within a millisecond, where the card's own count
// would be 120 ms off after a minute.
TEST(CaptureClock, TrackerFollowsAFastSoundCardThroughItsJitter)
{
    constexpr double RECORDING_PER_DEVICE = 1 / 1.002;
    constexpr std::int64_t LATENCY_US = 5000;
    std::mt19937 random(7);
    std::uniform_int_distribution<std::int64_t> jitterUs(-4000, 4000);
    CDeviceClockTracker tracker;
    double dWorstErrorUs = 0;
    for (std::int64_t nBlock = 0; nBlock < BLOCKS_PER_MINUTE; ++nBlock) {
        const std::int64_t nDeviceUs = nBlock * BLOCK_US;
        const double dTrueUs = static_cast<double>(nDeviceUs) * RECORDING_PER_DEVICE;
        const std::int64_t nArrivalUs = std::llround(dTrueUs) + LATENCY_US + jitterUs(random);
        const std::int64_t nTrackedUs = tracker.Track(nDeviceUs, nArrivalUs);
        // The first blocks teach the tracker; then it has to hold.
        if (nBlock > BLOCKS_PER_MINUTE / 2)
            dWorstErrorUs = std::max(dWorstErrorUs, std::fabs(nTrackedUs - LATENCY_US - dTrueUs));
    }
    EXPECT_LT(dWorstErrorUs, 1000);
}

TEST(CaptureClock, PausesCutSpansAndCountWholeFrames)
{
    CPauseTimeline timeline;
    timeline.SetFrameRate({ 25, 1 });
    // Judged before the pause: the whole block is recorded.
    EXPECT_EQ(timeline.Recorded(0, 100000).nToUs, 100000);
    timeline.Pause(50000); // after what was judged already: at 100 ms
    EXPECT_EQ(timeline.Recorded(90000, 20000).nToUs, 100000);
    timeline.Resume(130000); // 30 ms paused, made a whole frame: until 140 ms

    struct CSpanCase
    {
        std::int64_t nStartUs;
        std::int64_t nDurationUs;
        bool bRecorded;
        std::int64_t nFromUs;
        std::int64_t nToUs;
        std::int64_t nPausedBeforeUs;
    } const cases[] = {
        { 80000, 30000, true, 80000, 100000, 0 },       // the pause begins inside: its start is kept
        { 110000, 20000, false, 0, 0, 0 },              // inside the pause
        { 120000, 30000, true, 140000, 150000, 40000 }, // the pause ends inside: its end is kept
        { 200000, 0, true, 200000, 200000, 40000 },     // a picture after it
        { 100000, 0, false, 0, 0, 0 },                  // a picture at its start
        { 140000, 0, true, 140000, 140000, 40000 },     // a picture at its end
    };
    for (const CSpanCase& testCase : cases) {
        SCOPED_TRACE("span at " + std::to_string(testCase.nStartUs) + " lasting "
                     + std::to_string(testCase.nDurationUs));
        const CRecordedSpan span = timeline.Recorded(testCase.nStartUs, testCase.nDurationUs);
        ASSERT_EQ(span.bRecorded, testCase.bRecorded);
        if (!span.bRecorded)
            continue;
        EXPECT_EQ(span.nFromUs, testCase.nFromUs);
        EXPECT_EQ(span.nToUs, testCase.nToUs);
        EXPECT_EQ(span.nPausedBeforeUs, testCase.nPausedBeforeUs);
    }
}
