#include <gtest/gtest.h>

#include <thread>

#include "engine/SessionState.h"

// The audio and video stages raise the elapsed time at once; a plain
// read-then-store let a stage that was behind overwrite the other's later
// time, so the clock on screen could step back.
TEST(SessionState, ElapsedTimeNeverGoesBackWhenStagesRaiseItTogether)
{
    constexpr std::int64_t STEPS = 200000;
    CSessionState state;
    // One stage runs on even times, the other on odd ones, both climbing.
    auto raise = [&state](std::int64_t nFirst) {
        for (std::int64_t nTime = nFirst; nTime < STEPS * 2; nTime += 2)
            state.RaiseElapsed(nTime);
    };
    std::thread video(raise, 0);
    std::thread audio(raise, 1);
    video.join();
    audio.join();
    EXPECT_EQ(state.m_nElapsedUs, STEPS * 2 - 1);

    SCOPED_TRACE("an earlier time leaves the furthest one standing");
    state.RaiseElapsed(5);
    EXPECT_EQ(state.m_nElapsedUs, STEPS * 2 - 1);
}
