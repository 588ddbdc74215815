#include "engine/PipeWirePicture.h"

#include <algorithm>
#include <array>

#include <spa/param/video/format-utils.h>
#include <sys/mman.h>

extern "C" {
#include <libavutil/imgutils.h>
}

#include "engine/PictureFit.h"

namespace {

constexpr int MAX_PICTURE_SIDE = 8192;
constexpr std::uint32_t SHARED_MEMORY_TYPES = (1U << SPA_DATA_MemFd) | (1U << SPA_DATA_MemPtr);

// The packed RGB layouts we take, each in PipeWire's name and FFmpeg's; both
// name the bytes in memory order. The first is the one we prefer.
struct CPixelLayout
{
    spa_video_format eSpaFormat;
    AVPixelFormat eAvFormat;
};
constexpr std::array<CPixelLayout, 10> PIXEL_LAYOUTS { {
    { SPA_VIDEO_FORMAT_BGRx, AV_PIX_FMT_BGR0 },
    { SPA_VIDEO_FORMAT_RGBx, AV_PIX_FMT_RGB0 },
    { SPA_VIDEO_FORMAT_xRGB, AV_PIX_FMT_0RGB },
    { SPA_VIDEO_FORMAT_xBGR, AV_PIX_FMT_0BGR },
    { SPA_VIDEO_FORMAT_BGRA, AV_PIX_FMT_BGRA },
    { SPA_VIDEO_FORMAT_RGBA, AV_PIX_FMT_RGBA },
    { SPA_VIDEO_FORMAT_ARGB, AV_PIX_FMT_ARGB },
    { SPA_VIDEO_FORMAT_ABGR, AV_PIX_FMT_ABGR },
    { SPA_VIDEO_FORMAT_RGB, AV_PIX_FMT_RGB24 },
    { SPA_VIDEO_FORMAT_BGR, AV_PIX_FMT_BGR24 },
} };

AVPixelFormat AvFormatOf(std::uint32_t nSpaFormat)
{
    const auto pLayout =
        std::find_if(PIXEL_LAYOUTS.begin(), PIXEL_LAYOUTS.end(),
                     [nSpaFormat](const CPixelLayout& layout) { return layout.eSpaFormat == nSpaFormat; });
    return pLayout == PIXEL_LAYOUTS.end() ? AV_PIX_FMT_NONE : pLayout->eAvFormat;
}

// A buffer's memory mapped for one read, when PipeWire left it unmapped.
class CMappedMemory
{
public:
    explicit CMappedMemory(const spa_data& data)
    {
        if (data.data || data.type != SPA_DATA_MemFd || data.fd < 0)
            return;
        m_nLength = data.maxsize + data.mapoffset;
        void* pMapped = mmap(nullptr, m_nLength, PROT_READ, MAP_SHARED, static_cast<int>(data.fd), 0);
        if (pMapped != MAP_FAILED)
            m_pBase = static_cast<std::uint8_t*>(pMapped);
    }
    ~CMappedMemory()
    {
        if (m_pBase)
            munmap(m_pBase, m_nLength);
    }
    CMappedMemory(const CMappedMemory&) = delete;
    CMappedMemory& operator=(const CMappedMemory&) = delete;

    const std::uint8_t* Base() const { return m_pBase; }

private:
    std::uint8_t* m_pBase = nullptr;
    std::size_t m_nLength = 0;
};

} // namespace

const spa_pod* BuildRawVideoFormats(spa_pod_builder& builder)
{
    spa_pod_frame objectFrame {};
    spa_pod_builder_push_object(&builder, &objectFrame, SPA_TYPE_OBJECT_Format, SPA_PARAM_EnumFormat);
    spa_pod_builder_add(&builder, SPA_FORMAT_mediaType, SPA_POD_Id(SPA_MEDIA_TYPE_video), SPA_FORMAT_mediaSubtype,
                        SPA_POD_Id(SPA_MEDIA_SUBTYPE_raw), 0);
    spa_pod_builder_prop(&builder, SPA_FORMAT_VIDEO_format, 0);
    spa_pod_frame choiceFrame {};
    spa_pod_builder_push_choice(&builder, &choiceFrame, SPA_CHOICE_Enum, 0);
    // An enumeration's first value is its default, then come all it allows.
    spa_pod_builder_id(&builder, PIXEL_LAYOUTS.front().eSpaFormat);
    for (const CPixelLayout& layout : PIXEL_LAYOUTS)
        spa_pod_builder_id(&builder, layout.eSpaFormat);
    spa_pod_builder_pop(&builder, &choiceFrame);
    const spa_rectangle defaultSize { 1920, 1080 };
    const spa_rectangle minimumSize { 1, 1 };
    const spa_rectangle maximumSize { MAX_PICTURE_SIDE, MAX_PICTURE_SIDE };
    const spa_fraction defaultRate { 30, 1 };
    const spa_fraction minimumRate { 0, 1 };
    const spa_fraction maximumRate { 1000, 1 };
    spa_pod_builder_add(
        &builder, SPA_FORMAT_VIDEO_size, SPA_POD_CHOICE_RANGE_Rectangle(&defaultSize, &minimumSize, &maximumSize),
        SPA_FORMAT_VIDEO_framerate, SPA_POD_CHOICE_RANGE_Fraction(&defaultRate, &minimumRate, &maximumRate), 0);
    return static_cast<const spa_pod*>(spa_pod_builder_pop(&builder, &objectFrame));
}

const spa_pod* BuildSharedMemoryBuffers(spa_pod_builder& builder)
{
    return static_cast<const spa_pod*>(spa_pod_builder_add_object(&builder, SPA_TYPE_OBJECT_ParamBuffers,
                                                                  SPA_PARAM_Buffers, SPA_PARAM_BUFFERS_dataType,
                                                                  SPA_POD_CHOICE_FLAGS_Int(SHARED_MEMORY_TYPES)));
}

std::optional<CStreamPicture> ParseStreamPicture(const spa_pod* pParam)
{
    std::uint32_t nMediaType = 0;
    std::uint32_t nMediaSubtype = 0;
    spa_video_info_raw info {};
    if (spa_format_parse(pParam, &nMediaType, &nMediaSubtype) < 0 || nMediaType != SPA_MEDIA_TYPE_video
        || nMediaSubtype != SPA_MEDIA_SUBTYPE_raw || spa_format_video_raw_parse(pParam, &info) < 0
        || AvFormatOf(info.format) == AV_PIX_FMT_NONE || info.size.width == 0 || info.size.height == 0
        || info.size.width > MAX_PICTURE_SIDE || info.size.height > MAX_PICTURE_SIDE)
        return std::nullopt;
    return CStreamPicture { AvFormatOf(info.format), static_cast<int>(info.size.width),
                            static_cast<int>(info.size.height) };
}

CFramePtr CopyPicture(const spa_data& data, const CStreamPicture& picture, AVBufferPool* pPool)
{
    const spa_chunk* pChunk = data.chunk;
    if (!pChunk || pChunk->size == 0 || data.maxsize == 0 || (pChunk->flags & SPA_CHUNK_FLAG_CORRUPTED))
        return nullptr;
    const CMappedMemory mapped(data);
    const std::uint8_t* pMapped = mapped.Base() ? mapped.Base() + data.mapoffset : nullptr;
    const std::uint8_t* pMemory = data.data ? static_cast<const std::uint8_t*>(data.data) : pMapped;
    const int nRowBytes = av_image_get_linesize(picture.ePixelFormat, picture.nWidth, 0);
    const int nStride = pChunk->stride != 0 ? pChunk->stride : nRowBytes;
    // The last row must end inside the buffer, however the producer filled it.
    const std::int64_t nEnd = static_cast<std::int64_t>(pChunk->offset % data.maxsize)
        + static_cast<std::int64_t>(nStride) * (picture.nHeight - 1) + nRowBytes;
    if (!pMemory || nStride < nRowBytes || nEnd > data.maxsize)
        return nullptr;
    CFramePtr pFrame(av_frame_alloc());
    if (!pFrame)
        return nullptr;
    pFrame->buf[0] = av_buffer_pool_get(pPool);
    if (!pFrame->buf[0])
        return nullptr;
    pFrame->format = picture.ePixelFormat;
    pFrame->width = picture.nWidth;
    pFrame->height = picture.nHeight;
    pFrame->sample_aspect_ratio = SQUARE_PIXELS;
    av_image_fill_arrays(pFrame->data, pFrame->linesize, pFrame->buf[0]->data, picture.ePixelFormat, picture.nWidth,
                         picture.nHeight, 1);
    av_image_copy_plane(pFrame->data[0], pFrame->linesize[0], pMemory + pChunk->offset % data.maxsize, nStride,
                        nRowBytes, picture.nHeight);
    return pFrame;
}
