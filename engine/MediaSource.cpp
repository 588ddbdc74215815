#include "engine/MediaSource.h"

extern "C" {
#include <libavdevice/avdevice.h>
#include <libavutil/pixdesc.h>
#include <libavutil/samplefmt.h>
}

#include <mutex>

void RegisterCaptureDevices()
{
    static std::once_flag s_once;
    std::call_once(s_once, [] { avdevice_register_all(); });
}

std::string AvErrorText(int nError)
{
    char szText[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(nError, szText, sizeof(szText));
    return szText;
}

std::string CFrameSource::EndCause(int nResult) const
{
    return AvErrorText(nResult);
}

int CMediaSource::InterruptCallback(void* pOpaque)
{
    return static_cast<CMediaSource*>(pOpaque)->m_bInterrupted ? 1 : 0;
}

bool CMediaSource::Open(const std::string& strFormat, const std::string& strUrl, const COptionList& options,
                        AVMediaType eType, std::string& strReason)
{
    RegisterCaptureDevices();

    const AVInputFormat* pFormat = av_find_input_format(strFormat.c_str());
    if (!pFormat) {
        strReason = "FFmpeg has no " + strFormat + " input";
        return false;
    }
    AVDictionary* pOptions = nullptr;
    for (const auto& [strKey, strValue] : options)
        av_dict_set(&pOptions, strKey.c_str(), strValue.c_str(), 0);
    AVFormatContext* pRawInput = avformat_alloc_context();
    if (!pRawInput) {
        av_dict_free(&pOptions);
        strReason = "out of memory";
        return false;
    }
    pRawInput->interrupt_callback = { &CMediaSource::InterruptCallback, this };
    // A stalled camera or sound card must not hold a capture thread in a
    // read it cannot leave; the capture loop waits between tries instead.
    pRawInput->flags |= AVFMT_FLAG_NONBLOCK;
    // avformat_open_input frees the context itself when it fails.
    int nResult = avformat_open_input(&pRawInput, strUrl.c_str(), pFormat, &pOptions);
    av_dict_free(&pOptions);
    if (nResult < 0) {
        strReason = "cannot open " + strFormat + " input \"" + strUrl + "\": " + AvErrorText(nResult);
        return false;
    }
    m_pInput.reset(pRawInput);
    nResult = avformat_find_stream_info(m_pInput.get(), nullptr);
    if (nResult < 0) {
        strReason = "cannot read from " + strFormat + " input \"" + strUrl + "\": " + AvErrorText(nResult);
        return false;
    }
    const AVCodec* pDecoderCodec = nullptr;
    m_nStream = av_find_best_stream(m_pInput.get(), eType, -1, -1, &pDecoderCodec, 0);
    if (m_nStream < 0 || !pDecoderCodec) {
        strReason = strFormat + " input \"" + strUrl + "\" has no decodable "
            + (eType == AVMEDIA_TYPE_VIDEO ? "video" : "audio") + " stream";
        return false;
    }
    const AVStream* pStream = m_pInput->streams[m_nStream];
    m_timeBase = pStream->time_base;
    m_pDecoder.reset(avcodec_alloc_context3(pDecoderCodec));
    m_pPacket.reset(av_packet_alloc());
    if (!m_pDecoder || !m_pPacket) {
        strReason = "out of memory";
        return false;
    }
    nResult = avcodec_parameters_to_context(m_pDecoder.get(), pStream->codecpar);
    if (nResult < 0) {
        strReason = "cannot set up the " + strFormat + " decoder: " + AvErrorText(nResult);
        return false;
    }
    m_pDecoder->pkt_timebase = m_timeBase;
    nResult = avcodec_open2(m_pDecoder.get(), pDecoderCodec, nullptr);
    if (nResult < 0) {
        strReason = "cannot decode " + strFormat + " input: " + AvErrorText(nResult);
        return false;
    }
    return true;
}

std::string CMediaSource::Describe() const
{
    if (!m_pDecoder)
        return "not open";
    const AVCodecContext& decoder = *m_pDecoder;
    std::string strText = avcodec_get_name(decoder.codec_id);
    if (decoder.codec_type == AVMEDIA_TYPE_VIDEO) {
        const char* pszPixels = av_get_pix_fmt_name(decoder.pix_fmt);
        strText += " " + std::to_string(decoder.width) + "x" + std::to_string(decoder.height) + " "
            + (pszPixels ? pszPixels : "unknown pixels");
    } else {
        const char* pszSamples = av_get_sample_fmt_name(decoder.sample_fmt);
        strText += " " + std::to_string(decoder.sample_rate) + " Hz, " + std::to_string(decoder.ch_layout.nb_channels)
            + " channels, " + (pszSamples ? pszSamples : "unknown samples");
    }
    return strText + ", time base " + std::to_string(m_timeBase.num) + "/" + std::to_string(m_timeBase.den);
}

int CMediaSource::ReadFrame(AVFrame* pFrame)
{
    for (;;) {
        int nResult = avcodec_receive_frame(m_pDecoder.get(), pFrame);
        if (nResult != AVERROR(EAGAIN))
            return nResult;
        if (m_bInputEnded)
            return AVERROR_EOF;
        nResult = av_read_frame(m_pInput.get(), m_pPacket.get());
        if (nResult == AVERROR(EAGAIN))
            return nResult;
        if (nResult < 0) {
            if (nResult != AVERROR_EOF && !m_bInterrupted)
                return nResult;
            // Let the decoder hand out what it still holds.
            m_bInputEnded = true;
            avcodec_send_packet(m_pDecoder.get(), nullptr);
            continue;
        }
        if (m_pPacket->stream_index == m_nStream)
            nResult = avcodec_send_packet(m_pDecoder.get(), m_pPacket.get());
        av_packet_unref(m_pPacket.get());
        if (nResult < 0 && nResult != AVERROR(EAGAIN))
            return nResult;
    }
}
