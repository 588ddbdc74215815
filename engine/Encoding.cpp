#include "engine/Encoding.h"

#include <utility>

#include "engine/FfmpegLog.h"

bool EncodeAndQueue(AVCodecContext* pEncoder, const AVFrame* pFrame, int nStream,
                    CBoundedQueue<CEncodedPacket>& packets, CSessionState& state, const char* pszStreamName)
{
    int nResult = avcodec_send_frame(pEncoder, pFrame);
    if (nResult < 0 && nResult != AVERROR_EOF) {
        state.Fail(EFailure::eProcessing,
                   std::string("the ") + pszStreamName + " encoder refused a frame: " + AvErrorText(nResult));
        return false;
    }
    for (;;) {
        CPacketPtr pPacket(av_packet_alloc());
        if (!pPacket) {
            state.Fail(EFailure::eOutOfMemory, "out of memory");
            return false;
        }
        nResult = avcodec_receive_packet(pEncoder, pPacket.get());
        if (nResult == AVERROR(EAGAIN) || nResult == AVERROR_EOF)
            return true;
        if (nResult < 0) {
            state.Fail(EFailure::eProcessing,
                       std::string("the ") + pszStreamName + " encoder failed: " + AvErrorText(nResult));
            return false;
        }
        // An empty packet only carries side data (FLAC's final header update),
        // which neither container can take once its header is written.
        if (pPacket->size == 0)
            continue;
        // A closed queue means the muxer is gone; the packet is dropped with it.
        packets.Push(CEncodedPacket { std::move(pPacket), nStream });
    }
}

const AVCodec* FindEncoder(const std::string& strName, const char* pszKind, std::string& strReason)
{
    if (strName.empty()) {
        strReason = std::string("no ") + pszKind + " compressor is chosen";
        return nullptr;
    }
    const AVCodec* pCodec = avcodec_find_encoder_by_name(strName.c_str());
    if (!pCodec)
        strReason = "FFmpeg has no " + strName + " encoder";
    return pCodec;
}

bool OpenEncoderWithOptions(AVCodecContext* pEncoder, const AVCodec* pCodec,
                            const CCompressorOptions& compressorOptions, std::string& strReason)
{
    TakeLastFfmpegError();
    AVDictionary* pOptions = nullptr;
    if (const auto options = compressorOptions.find(pCodec->name); options != compressorOptions.end()) {
        for (const auto& [strName, strValue] : options->second)
            av_dict_set(&pOptions, strName.c_str(), strValue.c_str(), 0);
    }
    const int nResult = avcodec_open2(pEncoder, pCodec, &pOptions);
    const AVDictionaryEntry* pLeftOver = av_dict_get(pOptions, "", nullptr, AV_DICT_IGNORE_SUFFIX);
    const std::string strLeftOver = pLeftOver ? pLeftOver->key : "";
    av_dict_free(&pOptions);
    if (nResult < 0) {
        const std::string strDetail = TakeLastFfmpegError();
        strReason = std::string(pCodec->name)
            + " refuses the settings: " + (strDetail.empty() ? AvErrorText(nResult) : strDetail);
        return false;
    }
    if (!strLeftOver.empty()) {
        strReason = std::string(pCodec->name) + " has no option " + strLeftOver;
        return false;
    }
    return true;
}
