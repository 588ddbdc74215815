#pragma once

#include "engine/FieldOrder.h"

// What only tests, benchmarks and mpegrec's test options set on a
// recording: how the built-in sources behave (see engine/TestSources.h),
// and a fault to meet. The defaults leave a recording as the program makes
// it.
struct CTestSettings
{
    // The built-in sources run as fast as the encoders can instead of in
    // real time; real devices always run in real time.
    bool bFastSources = false;
    // The built-in sources show and sound a mark at every whole second, and
    // the test tone's clock runs off by this many parts per million.
    bool bSyncMarks = false;
    int nClockSkewPpm = 0;
    // The Test Pattern is a square that a test can measure.
    bool bSquarePattern = false;
    // The Test Pattern's own size, square pixels, as a device of another
    // shape than the recording's would deliver; 0: its format's.
    short nPatternWidth = 0;
    short nPatternHeight = 0;
    // The Test Pattern counts as interlaced with this field order, as a TV
    // card's picture does.
    EFieldOrder ePatternFields = EFieldOrder::eProgressive;
    // How many threads a session may start before the next one fails as
    // when the system has none left; -1: no limit.
    int nThreadLimit = -1;
};
