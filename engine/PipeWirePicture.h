#pragma once

#include "engine/AvPtr.h"

#include <memory>
#include <optional>

#include <spa/buffer/buffer.h>
#include <spa/pod/builder.h>

extern "C" {
#include <libavutil/buffer.h>
}

// The pictures of a PipeWire video stream: the formats the engine offers
// for them, and the copy of one out of a stream's buffer into a frame of
// its own, so the buffer goes back to the producer at once.

// The pool goes once its last picture is freed, wherever that picture is.
struct CBufferPoolUninit
{
    void operator()(AVBufferPool* pPool) const { av_buffer_pool_uninit(&pPool); }
};
using CBufferPoolPtr = std::unique_ptr<AVBufferPool, CBufferPoolUninit>;

// The size and pixel layout a stream agreed on.
struct CStreamPicture
{
    AVPixelFormat ePixelFormat = AV_PIX_FMT_NONE;
    int nWidth = 0;
    int nHeight = 0;
};

// Raw video in each packed RGB layout we take, of any size and rate.
const spa_pod* BuildRawVideoFormats(spa_pod_builder& builder);
// Buffers in shared memory, which is all CopyPicture reads: DMA-BUF is not
// offered, so a screen cast falls back to memory it maps for us.
const spa_pod* BuildSharedMemoryBuffers(spa_pod_builder& builder);

// The agreed format, when it is raw video in one of our layouts and of a
// size a recording takes.
std::optional<CStreamPicture> ParseStreamPicture(const spa_pod* pParam);

// The picture in a buffer's first block, copied into a frame from pPool
// (made for that format's size), square pixels; null when the block holds
// no whole picture.
CFramePtr CopyPicture(const spa_data& data, const CStreamPicture& picture, AVBufferPool* pPool);
