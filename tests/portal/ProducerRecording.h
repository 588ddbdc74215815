#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "tests/engine/MediaProbe.h"
#include "tests/engine/PipeWireProducer.h"

// What a recording of the test producer (tests/engine/PipeWireProducer.h)
// shared through the desktop portal holds: sound and picture over the same
// span, within a frame, the producer's red and blue thirds and its white bar
// moving along the grey band between them.
struct CProducerRecording
{
    int nWidth = 0; // the recording's coded picture, which the producer fills
    int nHeight = 0;
    int nRate = 0; // the producer's and the recording's frames a second
};

inline const std::uint8_t* RgbPixel(const std::vector<std::uint8_t>& rgb, int nWidth, int nX, int nY)
{
    return &rgb[(static_cast<std::size_t>(nY) * nWidth + nX) * 3];
}

// Where the bar begins on the band's middle row; -1 when there is none.
inline int ProducerBarColumn(const std::vector<std::uint8_t>& rgb, int nWidth, int nHeight)
{
    constexpr int BRIGHT = 180;
    for (int nX = 1; nX < nWidth; ++nX) {
        if (RgbPixel(rgb, nWidth, nX, nHeight / 2)[1] > BRIGHT
            && RgbPixel(rgb, nWidth, nX - 1, nHeight / 2)[1] <= BRIGHT)
            return nX;
    }
    return -1;
}

// The bar moves a 64th of the width a picture (PipeWireProducer.h): how far
// it moved between two instants of the recording, less how far it should
// have, in pictures. Whole turns of the bar are left out.
inline double BarLagPictures(int nEarlyColumn, int nLateColumn, double dSeconds, int nRate, int nWidth)
{
    const double dStep = static_cast<double>(nWidth) / CPipeWireProducer::PRODUCER_BAR_STEP_DIVISOR;
    double dLag = (nLateColumn - nEarlyColumn) / dStep - dSeconds * nRate;
    const double dTurn = CPipeWireProducer::PRODUCER_BAR_STEP_DIVISOR;
    dLag -= dTurn * std::round(dLag / dTurn);
    return dLag;
}

// The recording is dMinSeconds to dMaxSeconds long. Sound and picture are
// in step within a frame: they end together, and the pictures between them
// lie as far apart in the file as they were sent (the sound keeps real time).
inline void ExpectProducerRecording(const std::string& strFile, const CProducerRecording& shape, double dMinSeconds,
                                    double dMaxSeconds)
{
    constexpr int BRIGHT = 180;
    constexpr int DARK = 60;
    // The first picture comes once the stream runs, a moment after the start.
    constexpr double MAX_START_SECONDS = 0.5;
    // The sound ends on a whole MP2 packet, 1152 samples.
    constexpr double AUDIO_PACKET_SECONDS = 1152.0 / 44100;
    constexpr int LAG_PAIRS = 5;
    constexpr double LAG_PAIR_STEP_SECONDS = 0.1;
    const double dFrameSeconds = 1.0 / shape.nRate;
    EXPECT_EQ(DecodeErrors(strFile), "");
    const double dAudioSeconds = StreamSpanSeconds(strFile, "a");
    const double dVideoSeconds = StreamSpanSeconds(strFile, "v");
    EXPECT_GE(dAudioSeconds, dMinSeconds);
    EXPECT_LE(dAudioSeconds, dMaxSeconds);
    EXPECT_GE(dVideoSeconds, dAudioSeconds - MAX_START_SECONDS);
    const QJsonObject probe = ProbeFile(strFile);
    const double dAudioStart = JsonNumber(FindStream(probe, "audio"), "start_time");
    const double dVideoStart = JsonNumber(FindStream(probe, "video"), "start_time");
    EXPECT_NEAR(dAudioStart + dAudioSeconds, dVideoStart + dVideoSeconds, dFrameSeconds + AUDIO_PACKET_SECONDS)
        << "the streams end together";

    const std::vector<std::uint8_t> first = DecodePictureRgb(strFile, dMinSeconds * 0.3);
    ASSERT_EQ(first.size(), static_cast<std::size_t>(shape.nWidth * shape.nHeight * 3));
    const std::uint8_t* pTop = RgbPixel(first, shape.nWidth, shape.nWidth / 2, shape.nHeight / 6);
    const std::uint8_t* pBottom = RgbPixel(first, shape.nWidth, shape.nWidth / 2, shape.nHeight * 5 / 6);
    EXPECT_TRUE(pTop[0] > BRIGHT && pTop[1] < DARK && pTop[2] < DARK) << "red above";
    EXPECT_TRUE(pBottom[2] > BRIGHT && pBottom[0] < DARK && pBottom[1] < DARK) << "blue below";
    // Each picture shows the one sent just before or after its instant, so
    // the lag of one pair may be a picture either way; of several, the
    // middle one is the recording's.
    std::vector<double> lags;
    for (int nPair = 0; nPair < LAG_PAIRS; ++nPair) {
        const double dEarly = dMinSeconds * 0.2 + nPair * LAG_PAIR_STEP_SECONDS;
        const double dLate = dEarly + dMinSeconds * 0.5;
        const int nEarlyBar = ProducerBarColumn(DecodePictureRgb(strFile, dEarly), shape.nWidth, shape.nHeight);
        const int nLateBar = ProducerBarColumn(DecodePictureRgb(strFile, dLate), shape.nWidth, shape.nHeight);
        ASSERT_GE(nEarlyBar, 0) << "the white bar at " << dEarly << " s";
        ASSERT_GE(nLateBar, 0) << "the white bar at " << dLate << " s";
        EXPECT_NE(nEarlyBar, nLateBar) << "the picture moves";
        lags.push_back(BarLagPictures(nEarlyBar, nLateBar, dLate - dEarly, shape.nRate, shape.nWidth));
    }
    std::sort(lags.begin(), lags.end());
    EXPECT_LE(std::abs(lags[LAG_PAIRS / 2]), 1.0)
        << "the pictures keep time; lags " << lags.front() << " to " << lags.back() << " pictures";
}
