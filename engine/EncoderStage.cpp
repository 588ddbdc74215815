#include "engine/EncoderStage.h"

#include "engine/Encoding.h"

CEncoderStage::CEncoderStage(const CRecordingSettings& settings, CSessionState& state, std::size_t nQueueSize,
                             const char* pszStreamName)
    : m_settings(settings)
    , m_state(state)
    , m_pszStreamName(pszStreamName)
    , m_frames(nQueueSize)
{
}

void CEncoderStage::ConnectMuxer(CBoundedQueue<CEncodedPacket>* pPackets, int nStream)
{
    m_pPackets = pPackets;
    m_nStream = nStream;
}

const AVCodec* CEncoderStage::AllocateEncoder(const std::string& strEncoderName, std::string& strReason)
{
    const AVCodec* pCodec = FindEncoder(strEncoderName, m_pszStreamName, strReason);
    if (!pCodec)
        return nullptr;
    m_pEncoder.reset(avcodec_alloc_context3(pCodec));
    if (!m_pEncoder) {
        strReason = "out of memory";
        return nullptr;
    }
    return pCodec;
}

bool CEncoderStage::EncodeToMuxer(const AVFrame* pFrame)
{
    if (!EncodeAndQueue(m_pEncoder.get(), pFrame, m_nStream, *m_pPackets, m_state, m_pszStreamName)) {
        m_bFailed = true;
        return false;
    }
    return true;
}
