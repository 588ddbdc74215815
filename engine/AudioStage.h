#pragma once

#include "engine/EncoderStage.h"

#include <string>

// The audio thread of a recording: resamples captured audio to the encoder's
// profile (correcting the device's drift against its timestamps in the sync
// modes), cuts it into the encoder's frame size and encodes it.
class CAudioStage : public CEncoderStage
{
public:
    static constexpr std::size_t FRAME_QUEUE_SIZE = 64;

    CAudioStage(const CRecordingSettings& settings, CSessionState& state);

    // Opens the audio encoder the settings name, in its own sample format.
    bool OpenEncoder(std::string& strReason);

    // Thread body: runs until the input is closed and drained, then encodes
    // the rest (padded with silence to a whole frame) and flushes.
    void Run();

private:
    // Muting keeps the stream and its timing: the samples become silence.
    static bool Silence(AVFrame* pFrame);
    bool CheckMpegProfile(std::string& strReason) const;
    bool SetUpResampler(const AVFrame* pFrame);
    void Resample(const AVFrame* pFrame, std::int64_t nTimeUs);
    bool LeadInSilence();
    bool EncodeWholeFrames(bool bPadLast);

    CSwrPtr m_pResampler;
    int m_nInputSampleRate = 0;
    int m_nFrameSize = 0; // samples the encoder takes at a time
    CAudioFifoPtr m_pFifo;
    CFramePtr m_pConverted;
    std::int64_t m_nNextPts = 0; // in samples
    bool m_bFirstRecorded = true;
};
