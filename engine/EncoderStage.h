#pragma once

#include "engine/BoundedQueue.h"
#include "engine/RecordingSettings.h"
#include "engine/SessionState.h"

#include <cstddef>
#include <string>

// What the audio and video threads of a recording share: the queue of
// captured frames they take, the encoder they open for a file and the muxer
// queue its packets go to.
class CEncoderStage
{
public:
    const AVCodecContext* Encoder() const { return m_pEncoder.get(); }

    // Where encoded packets go, and under which stream number.
    void ConnectMuxer(CBoundedQueue<CEncodedPacket>* pPackets, int nStream);

    CBoundedQueue<CCapturedFrame>& Input() { return m_frames; }

protected:
    // pszStreamName, "audio" or "video", names the stream in reasons.
    CEncoderStage(const CRecordingSettings& settings, CSessionState& state, std::size_t nQueueSize,
                  const char* pszStreamName);
    // Only a part of a stage, never deleted as itself.
    ~CEncoderStage() = default;

    // Finds the encoder of that name and makes its context; nullptr with the
    // reason when either fails.
    const AVCodec* AllocateEncoder(const std::string& strEncoderName, std::string& strReason);
    bool HasMuxer() const { return m_pPackets != nullptr; }
    // Sends one frame (nullptr flushes) and queues what the encoder returns;
    // a failure, already reported to the session, stops the stage.
    bool EncodeToMuxer(const AVFrame* pFrame);

    const CRecordingSettings& m_settings;
    CSessionState& m_state;
    CCodecContextPtr m_pEncoder;
    bool m_bFailed = false;

private:
    const char* m_pszStreamName;
    CBoundedQueue<CCapturedFrame> m_frames;
    CBoundedQueue<CEncodedPacket>* m_pPackets = nullptr;
    int m_nStream = 0;
};
