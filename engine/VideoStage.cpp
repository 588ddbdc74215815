#include "engine/VideoStage.h"

#include <algorithm>
#include <chrono>
#include <span>
#include <utility>

extern "C" {
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
#include <libavutil/pixdesc.h>
}

#include "engine/CompressorCatalog.h"
#include "engine/DiscStandard.h"
#include "engine/Encoding.h"
#include "engine/MpegPictureChoices.h"
#include "engine/PictureFit.h"

namespace {

constexpr auto PREVIEW_INTERVAL = std::chrono::milliseconds(33);
constexpr AVPixelFormat CODED_PIXEL_FORMAT = AV_PIX_FMT_YUV420P;
constexpr AVPixelFormat PREVIEW_PIXEL_FORMAT = AV_PIX_FMT_RGB32;
constexpr std::size_t FOURCC_LENGTH = 4;
// Beyond this many missing frames the capture had a real break; the gap is
// left in the timestamps rather than filled with a frozen picture.
constexpr std::int64_t MAX_REPEATED_FRAMES = 60;
// The best MPEG-1 quality: trellis quantisation, which costs about three
// times the encoding time yet keeps up live at the usual MPEG-1 sizes.
// MPEG-2 at DVD sizes cannot afford trellis live; the rate-distortion
// macroblock decision costs half again and gains less.
constexpr COptionValue MPEG1_BEST_OPTIONS[] = { { "trellis", "1" } };
constexpr COptionValue MPEG2_BEST_OPTIONS[] = { { "mbd", "rd" } };
// The GOPs DVD and VCD players and authoring tools expect: closed, so each
// can be cut out on its own, and at most 15 pictures long at the PAL rates
// and 18 at the NTSC and film ones, with two B-pictures between anchors,
// which cost little time and give the most picture per bit.
constexpr int PAL_GOP_LENGTH = 15;
constexpr int NTSC_GOP_LENGTH = 18;
constexpr int MPEG_B_FRAMES = 2;
// The encoder's own value for "never": no difference between pictures reaches it.
constexpr std::int64_t NO_SCENE_CHANGE_DETECTION = 1000000000;

// JPEG's pictures use the whole range of values: its encoders refuse
// video's narrower range unless told to write a non-standard file.
AVPixelFormat WantedPixelFormat(const AVCodec* pCodec)
{
    return pCodec->id == AV_CODEC_ID_MJPEG || pCodec->id == AV_CODEC_ID_LJPEG ? AV_PIX_FMT_YUVJ420P
                                                                              : CODED_PIXEL_FORMAT;
}

CFramePtr AllocateFrame(int nWidth, int nHeight, AVPixelFormat eFormat)
{
    CFramePtr pFrame(av_frame_alloc());
    if (!pFrame)
        return nullptr;
    pFrame->width = nWidth;
    pFrame->height = nHeight;
    pFrame->format = eFormat;
    if (av_frame_get_buffer(pFrame.get(), 0) < 0)
        return nullptr;
    return pFrame;
}

// A frame still referenced elsewhere (the encoder keeps input pictures for
// reference) gets fresh buffers instead of being overwritten.
bool MakeFrameWritable(CFramePtr& pFrame)
{
    if (av_frame_is_writable(pFrame.get()))
        return true;
    CFramePtr pFresh = AllocateFrame(pFrame->width, pFrame->height, static_cast<AVPixelFormat>(pFrame->format));
    if (!pFresh)
        return false;
    pFrame = std::move(pFresh);
    return true;
}

// The planes of pFrame from the area's top left corner on.
void AreaPlanes(const AVFrame* pFrame, const CPictureArea& area, std::uint8_t* planes[AV_NUM_DATA_POINTERS])
{
    const AVPixFmtDescriptor* pFormat = av_pix_fmt_desc_get(static_cast<AVPixelFormat>(pFrame->format));
    std::copy_n(pFrame->data, AV_NUM_DATA_POINTERS, planes);
    bool moved[AV_NUM_DATA_POINTERS] = {};
    for (int nComponent = 0; nComponent < pFormat->nb_components; ++nComponent) {
        const AVComponentDescriptor& component = pFormat->comp[nComponent];
        if (moved[component.plane])
            continue;
        moved[component.plane] = true;
        // The two chroma components may have fewer samples than the picture has pixels.
        const bool bChroma = nComponent == 1 || nComponent == 2;
        const int nLeft = bChroma ? area.nLeft >> pFormat->log2_chroma_w : area.nLeft;
        const int nTop = bChroma ? area.nTop >> pFormat->log2_chroma_h : area.nTop;
        planes[component.plane] += static_cast<std::ptrdiff_t>(nTop) * pFrame->linesize[component.plane]
            + static_cast<std::ptrdiff_t>(nLeft) * component.step;
    }
}

bool FillBlack(AVFrame* pFrame, const CPictureArea& rectangle)
{
    if (rectangle.nWidth <= 0 || rectangle.nHeight <= 0)
        return true;
    std::uint8_t* planes[AV_NUM_DATA_POINTERS] = {};
    AreaPlanes(pFrame, rectangle, planes);
    ptrdiff_t linesizes[4] = {};
    std::copy_n(pFrame->linesize, 4, linesizes);
    return av_image_fill_black(planes, linesizes, static_cast<AVPixelFormat>(pFrame->format), AVCOL_RANGE_MPEG,
                               rectangle.nWidth, rectangle.nHeight)
        >= 0;
}

// Blackens what lies around the area: frame pictures were laid over it, and
// the scaler writes whole blocks of pixels, past the area's right edge.
bool FillBars(AVFrame* pFrame, const CPictureArea& area)
{
    const int nBelow = area.nTop + area.nHeight;
    const int nRightOf = area.nLeft + area.nWidth;
    return FillBlack(pFrame, { 0, 0, pFrame->width, area.nTop })
        && FillBlack(pFrame, { 0, nBelow, pFrame->width, pFrame->height - nBelow })
        && FillBlack(pFrame, { 0, area.nTop, area.nLeft, area.nHeight })
        && FillBlack(pFrame, { nRightOf, area.nTop, pFrame->width - nRightOf, area.nHeight });
}

// Scales a picture into the area of pTarget, black around it, through a
// scaler kept for the next picture. pTarget, of nWidth x nHeight, is made on
// first use and renewed while an encoder still holds it.
AVFrame* ScaleInto(CSwsPtr& pScaler, CFramePtr& pTarget, const AVFrame* pSource, const CPictureArea& area, int nWidth,
                   int nHeight, AVPixelFormat eFormat)
{
    pScaler.reset(sws_getCachedContext(pScaler.release(), pSource->width, pSource->height,
                                       static_cast<AVPixelFormat>(pSource->format), area.nWidth, area.nHeight, eFormat,
                                       SWS_BICUBIC, nullptr, nullptr, nullptr));
    if (!pScaler)
        return nullptr;
    if (!pTarget)
        pTarget = AllocateFrame(nWidth, nHeight, eFormat);
    if (!pTarget || !MakeFrameWritable(pTarget))
        return nullptr;
    std::uint8_t* planes[AV_NUM_DATA_POINTERS] = {};
    AreaPlanes(pTarget.get(), area, planes);
    if (sws_scale(pScaler.get(), pSource->data, pSource->linesize, 0, pSource->height, planes, pTarget->linesize) < 0)
        return nullptr;
    return FillBars(pTarget.get(), area) ? pTarget.get() : nullptr;
}

// The preview shows the picture as a player would, in the recording's
// display shape, as large as fits in the size asked; without one it is the
// coded picture.
CPictureArea PreviewArea(const CRecordingSettings& settings, int nBoxWidth, int nBoxHeight)
{
    if (nBoxWidth <= 0 || nBoxHeight <= 0)
        return CPictureArea { 0, 0, settings.nVideoWidth, settings.nVideoHeight };
    return FitPicture(settings.displayAspect, nBoxWidth, nBoxHeight,
                      DisplayAspect(nBoxWidth, nBoxHeight, SQUARE_PIXELS));
}

// 25 and 50 pictures a second, where the other rates MPEG carries are NTSC's
// and film's.
bool IsPalRate(AVRational rate)
{
    return rate.den == 1 && rate.num % 25 == 0;
}

} // namespace

CVideoStage::CVideoStage(const CRecordingSettings& settings, CSessionState& state, CPreviewCallback previewCallback,
                         int nPreviewWidth, int nPreviewHeight)
    : CEncoderStage(settings, state, FRAME_QUEUE_SIZE, "video")
    , m_previewCallback(std::move(previewCallback))
{
    const CPictureArea preview = PreviewArea(settings, nPreviewWidth, nPreviewHeight);
    m_nPreviewWidth = preview.nWidth;
    m_nPreviewHeight = preview.nHeight;
}

bool CVideoStage::CheckMpegBitrate(std::string& strReason) const
{
    if (m_settings.nVideoBitrate <= 0) {
        strReason = "the video bitrate must be positive, not " + std::to_string(m_settings.nVideoBitrate);
        return false;
    }
    const int nDvdLimit = DiscStandard(EDiscStandard::eDvd).nMaxVideoBitrate;
    if (m_settings.nOutputType != OUTPUT_TYPE_MPEG1 && m_settings.nVideoBitrate > nDvdLimit) {
        strReason = "a video bitrate of " + std::to_string(m_settings.nVideoBitrate)
            + " bit/s exceeds the DVD limit of " + std::to_string(nDvdLimit) + " bit/s";
        return false;
    }
    return true;
}

bool CVideoStage::OpenEncoder(std::string& strReason)
{
    const bool bMpeg = m_settings.nWorkMode == WORK_MODE_MPEG;
    if (bMpeg && !CheckMpegBitrate(strReason))
        return false;
    const AVCodec* pCodec = AllocateEncoder(m_settings.strVideoEncoder, strReason);
    if (!pCodec)
        return false;
    AVCodecContext* pEncoder = m_pEncoder.get();
    pEncoder->width = m_settings.nVideoWidth;
    pEncoder->height = m_settings.nVideoHeight;
    pEncoder->pix_fmt = pCodec->pix_fmts
        ? avcodec_find_best_pix_fmt_of_list(pCodec->pix_fmts, WantedPixelFormat(pCodec), 0, nullptr)
        : CODED_PIXEL_FORMAT;
    pEncoder->framerate = m_settings.frameRate;
    pEncoder->time_base = av_inv_q(m_settings.frameRate);
    if (m_settings.nVideoBitrate > 0)
        pEncoder->bit_rate = RecordedVideoBitrate(m_settings);
    pEncoder->thread_count = 0;
    if (m_settings.nVideoWidth > 0 && m_settings.nVideoHeight > 0) {
        av_reduce(&pEncoder->sample_aspect_ratio.num, &pEncoder->sample_aspect_ratio.den,
                  static_cast<std::int64_t>(m_settings.displayAspect.num) * m_settings.nVideoHeight,
                  static_cast<std::int64_t>(m_settings.displayAspect.den) * m_settings.nVideoWidth, 255);
    }
    if (bMpeg && !UseStandardGops(pEncoder, strReason))
        return false;
    if (bMpeg && !UseStreamLayout(pEncoder, strReason))
        return false;
    if (bMpeg && !UseMpegQualityDefaults(pEncoder, strReason))
        return false;
    if (bMpeg && m_settings.bBestQuality && !UseBestQuality(pEncoder, strReason))
        return false;
    if (!bMpeg && !SetEncoderOptions(pEncoder, LiveEncodingOptions(pCodec->name), strReason))
        return false;
    m_eCodedFields = UseFieldOrder(pEncoder, SourceFieldOrder(m_settings));
    const std::string& strFourCc = m_settings.strVideoFourCc;
    if (strFourCc.size() == FOURCC_LENGTH)
        pEncoder->codec_tag = MKTAG(strFourCc[0], strFourCc[1], strFourCc[2], strFourCc[3]);
    return OpenEncoderWithOptions(pEncoder, pCodec, m_settings.compressorOptions, strReason);
}

bool CVideoStage::UseStandardGops(AVCodecContext* pEncoder, std::string& strReason) const
{
    // A closed GOP ends on an anchor, so with two B-pictures the encoder
    // makes it 13 or 16 pictures long: within the standards' 15 and 18.
    pEncoder->gop_size = IsPalRate(m_settings.frameRate) ? PAL_GOP_LENGTH : NTSC_GOP_LENGTH;
    pEncoder->max_b_frames = MPEG_B_FRAMES;
    pEncoder->flags |= AV_CODEC_FLAG_CLOSED_GOP;
    // An I-picture at every scene change would break the fixed length;
    // the encoder also refuses closed GOPs with it.
    const int nResult = av_opt_set_int(pEncoder, "sc_threshold", NO_SCENE_CHANGE_DETECTION, AV_OPT_SEARCH_CHILDREN);
    if (nResult < 0) {
        strReason = "the encoder refuses fixed GOPs: " + AvErrorText(nResult);
        return false;
    }
    return true;
}

bool CVideoStage::UseStreamLayout(AVCodecContext* pEncoder, std::string& strReason) const
{
    // The buffer a disc player has, filled no faster than it reads.
    const CStreamLayout layout = MpegStreamLayout(m_settings);
    pEncoder->rc_min_rate = layout.nMinVideoRateBits;
    pEncoder->rc_max_rate = layout.nMaxVideoRateBits;
    pEncoder->rc_buffer_size = layout.nVbvBufferBits;
    // An average at the peak leaves the rate control no room to vary
    // (the encoder warns that it will break the buffer): the stream is coded
    // at that constant rate instead, which the buffer always takes.
    if (pEncoder->rc_max_rate > 0 && pEncoder->bit_rate >= pEncoder->rc_max_rate)
        pEncoder->rc_min_rate = pEncoder->rc_max_rate;
    if (!layout.bScanOffsets)
        return true;
    const int nResult = av_opt_set_int(pEncoder, "scan_offset", 1, AV_OPT_SEARCH_CHILDREN);
    if (nResult < 0) {
        strReason = "the encoder refuses to reserve scan offsets: " + AvErrorText(nResult);
        return false;
    }
    return true;
}

bool CVideoStage::UseBestQuality(AVCodecContext* pEncoder, std::string& strReason) const
{
    const bool bMpeg1 = m_settings.nOutputType == OUTPUT_TYPE_MPEG1;
    // Set before the user's own options, which still have the last word.
    return SetEncoderOptions(pEncoder, bMpeg1 ? std::span(MPEG1_BEST_OPTIONS) : std::span(MPEG2_BEST_OPTIONS),
                             strReason);
}

void CVideoStage::Run()
{
    while (std::optional<CCapturedFrame> captured = Input().Pop()) {
        if (m_bFailed)
            continue;
        // The picture comes ready: reading it here would hold up the capture.
        const CFrameOverlay* pOverlay = m_state.m_frameOverlay.Take();
        AVFrame* pFrame = ToCodedPicture(*captured, pOverlay != nullptr);
        if (!pFrame) {
            m_bFailed = true;
            m_state.Fail(EFailure::eProcessing, "cannot convert the captured video");
            continue;
        }
        if (pOverlay)
            pOverlay->Apply(pFrame);
        // A paused preview holds its picture; a paused recording keeps
        // showing what Resume would record.
        if (m_previewCallback && (captured->bRecord || m_settings.bSaveToFile))
            SendPreview(pFrame);
        if (captured->bRecord) {
            m_state.RaiseElapsed(captured->nTimeUs);
            if (m_pEncoder && HasMuxer())
                Record(pFrame, captured->nTimeUs);
        }
    }
    if (m_pEncoder && HasMuxer() && !m_bFailed)
        EncodeToMuxer(nullptr);
}

AVFrame* CVideoStage::ToCodedPicture(CCapturedFrame& captured, bool bWritable)
{
    AVFrame* pSource = captured.pFrame.get();
    const int nWidth = m_settings.nVideoWidth;
    const int nHeight = m_settings.nVideoHeight;
    const CPictureArea area = FitPicture(DisplayAspect(pSource->width, pSource->height, pSource->sample_aspect_ratio),
                                         nWidth, nHeight, m_settings.displayAspect);
    const bool bWhole = area == CPictureArea { 0, 0, nWidth, nHeight };
    if (bWhole && pSource->width == nWidth && pSource->height == nHeight && pSource->format == CODED_PIXEL_FORMAT) {
        // Already the coded picture: only the overlay may need its own copy.
        if (bWritable && av_frame_make_writable(pSource) < 0)
            return nullptr;
        pSource->pict_type = AV_PICTURE_TYPE_NONE;
        return pSource;
    }
    return ScaleInto(m_pScaler, m_pScaled, pSource, area, nWidth, nHeight, CODED_PIXEL_FORMAT);
}

void CVideoStage::SendPreview(const AVFrame* pFrame)
{
    const CSteadyTime now = std::chrono::steady_clock::now();
    if (now - m_lastPreviewTime < PREVIEW_INTERVAL)
        return;
    m_lastPreviewTime = now;
    m_pPreviewScaler.reset(sws_getCachedContext(
        m_pPreviewScaler.release(), pFrame->width, pFrame->height, static_cast<AVPixelFormat>(pFrame->format),
        m_nPreviewWidth, m_nPreviewHeight, PREVIEW_PIXEL_FORMAT, SWS_BILINEAR, nullptr, nullptr, nullptr));
    if (!m_pPreview)
        m_pPreview = AllocateFrame(m_nPreviewWidth, m_nPreviewHeight, PREVIEW_PIXEL_FORMAT);
    if (!m_pPreviewScaler || !m_pPreview)
        return;
    // A picture that does not scale is left out of the preview only.
    if (sws_scale(m_pPreviewScaler.get(), pFrame->data, pFrame->linesize, 0, pFrame->height, m_pPreview->data,
                  m_pPreview->linesize)
        < 0)
        return;
    const CPreviewFrame preview { m_nPreviewWidth, m_nPreviewHeight, m_pPreview->linesize[0], m_pPreview->data[0] };
    m_previewCallback(preview);
}

void CVideoStage::Record(AVFrame* pFrame, std::int64_t nTimeUs)
{
    if (m_settings.nSyncMode == SYNC_MODE_NONE) {
        Encode(pFrame, m_nNextPts++);
        return;
    }
    // The device clock decides the frame's slot on the constant-rate grid: a
    // frame early for its slot is skipped, a missed slot repeats the previous
    // picture.
    const std::int64_t nSlot = av_rescale_q_rnd(nTimeUs, AVRational { 1, 1000000 }, m_pEncoder->time_base,
                                                static_cast<AVRounding>(AV_ROUND_NEAR_INF | AV_ROUND_PASS_MINMAX));
    if (m_bFirstRecorded) {
        m_bFirstRecorded = false;
        m_nNextPts = std::max<std::int64_t>(nSlot, 0);
        // AVI has no timestamps: a picture that starts late fills the slots
        // before it too.
        for (std::int64_t nPts = 0; m_settings.nWorkMode == WORK_MODE_AVI && nPts < m_nNextPts; ++nPts) {
            if (!Encode(pFrame, nPts))
                return;
            ++m_state.m_nVideoFramesRepeated;
        }
    }
    if (nSlot < m_nNextPts) {
        ++m_state.m_nVideoFramesSkipped;
        return;
    }
    if (m_pLastRecorded && nSlot - m_nNextPts <= MAX_REPEATED_FRAMES) {
        while (m_nNextPts < nSlot) {
            if (!Encode(m_pLastRecorded.get(), m_nNextPts++))
                return;
            ++m_state.m_nVideoFramesRepeated;
        }
    }
    m_nNextPts = nSlot;
    if (Encode(pFrame, m_nNextPts++))
        KeepForRepeating(pFrame);
}

void CVideoStage::KeepForRepeating(const AVFrame* pFrame)
{
    if (!m_pLastRecorded)
        m_pLastRecorded.reset(av_frame_alloc());
    if (!m_pLastRecorded) {
        m_bFailed = true;
        m_state.Fail(EFailure::eOutOfMemory, "out of memory");
        return;
    }
    av_frame_unref(m_pLastRecorded.get());
    const int nResult = av_frame_ref(m_pLastRecorded.get(), pFrame);
    // Without a picture to repeat, a missed slot stays a gap in the
    // timestamps, which players bridge; the recording goes on.
    if (nResult < 0)
        m_pLastRecorded.reset();
}

AVFrame* CVideoStage::ToEncoderFormat(AVFrame* pFrame)
{
    const AVPixelFormat eFormat = m_pEncoder->pix_fmt;
    if (eFormat == CODED_PIXEL_FORMAT)
        return pFrame;
    const CPictureArea whole { 0, 0, pFrame->width, pFrame->height };
    return ScaleInto(m_pConverter, m_pConverted, pFrame, whole, pFrame->width, pFrame->height, eFormat);
}

bool CVideoStage::Encode(AVFrame* pCoded, std::int64_t nPts)
{
    AVFrame* pFrame = ToEncoderFormat(pCoded);
    if (!pFrame) {
        m_bFailed = true;
        m_state.Fail(EFailure::eProcessing, "cannot convert the video to the encoder's pixel format");
        return false;
    }
    pFrame->pts = nPts;
    MarkFields(pFrame, m_eCodedFields);
    if (!EncodeToMuxer(pFrame))
        return false;
    ++m_state.m_nVideoFramesEncoded;
    return true;
}
