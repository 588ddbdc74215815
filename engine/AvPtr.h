#pragma once

#include <memory>
#include <string>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavfilter/avfilter.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libavutil/frame.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

// Owners for the FFmpeg objects the engine creates, so each has exactly one
// cleanup path whatever way a function leaves.
struct CFrameFree
{
    void operator()(AVFrame* pFrame) const { av_frame_free(&pFrame); }
};
struct CPacketFree
{
    void operator()(AVPacket* pPacket) const { av_packet_free(&pPacket); }
};
struct CCodecContextFree
{
    void operator()(AVCodecContext* pContext) const { avcodec_free_context(&pContext); }
};
struct CInputContextClose
{
    void operator()(AVFormatContext* pContext) const { avformat_close_input(&pContext); }
};
// An output context whose file, if open, was already closed by its user.
struct COutputContextFree
{
    void operator()(AVFormatContext* pContext) const { avformat_free_context(pContext); }
};
struct CSwsFree
{
    void operator()(SwsContext* pContext) const { sws_freeContext(pContext); }
};
struct CSwrFree
{
    void operator()(SwrContext* pContext) const { swr_free(&pContext); }
};
struct CAudioFifoFree
{
    void operator()(AVAudioFifo* pFifo) const { av_audio_fifo_free(pFifo); }
};

using CFramePtr = std::unique_ptr<AVFrame, CFrameFree>;
using CPacketPtr = std::unique_ptr<AVPacket, CPacketFree>;
using CCodecContextPtr = std::unique_ptr<AVCodecContext, CCodecContextFree>;
using CInputContextPtr = std::unique_ptr<AVFormatContext, CInputContextClose>;
using COutputContextPtr = std::unique_ptr<AVFormatContext, COutputContextFree>;
using CSwsPtr = std::unique_ptr<SwsContext, CSwsFree>;
using CSwrPtr = std::unique_ptr<SwrContext, CSwrFree>;
using CAudioFifoPtr = std::unique_ptr<AVAudioFifo, CAudioFifoFree>;

// FFmpeg's error text for a return code, for the reasons the engine hands out.
std::string AvErrorText(int nError);
