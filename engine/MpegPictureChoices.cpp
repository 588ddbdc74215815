#include "engine/MpegPictureChoices.h"

extern "C" {
#include <libavutil/opt.h>
}

#include "engine/V4l2Device.h"

namespace {

// Chosen by measuring SSIM per bit and CPU time (bench/quality.sh), with
// B-pictures and closed GOPs already set. Three motion vector candidates
// from the previous picture find motion the default search misses (about
// +0.8 dB for a sixth more time). B-pictures quantised a fifth coarser leave
// bits to the anchors they are predicted from (+0.15 dB, 1 % fewer bits).
// The rate-distortion macroblock decision gains another 0.2 dB but costs half
// again the time, and trellis quantisation twice that; comparing vectors by
// SATD instead of SAD loses.
constexpr COptionValue MPEG_QUALITY_OPTIONS[] = { { "last_pred", "3" }, { "b_qfactor", "1.5" } };

} // namespace

bool UseMpegQualityDefaults(AVCodecContext* pEncoder, std::string& strReason)
{
    return SetEncoderOptions(pEncoder, MPEG_QUALITY_OPTIONS, strReason);
}

bool SetEncoderOptions(AVCodecContext* pEncoder, std::span<const COptionValue> options, std::string& strReason)
{
    for (const auto& [pszOption, pszValue] : options) {
        const int nResult = av_opt_set(pEncoder, pszOption, pszValue, AV_OPT_SEARCH_CHILDREN);
        if (nResult < 0) {
            strReason = std::string("the encoder refuses ") + pszOption + "=" + pszValue + ": " + AvErrorText(nResult);
            return false;
        }
    }
    return true;
}

EFieldOrder SourceFieldOrder(const CRecordingSettings& settings)
{
    switch (settings.videoDevice.eKind) {
    case ESourceKind::eV4l2:
        return V4l2FieldOrder(settings.videoDevice.strUrl);
    case ESourceKind::eTestPattern:
        return settings.test.ePatternFields;
    default:
        return EFieldOrder::eProgressive;
    }
}

EFieldOrder UseFieldOrder(AVCodecContext* pEncoder, EFieldOrder eSource)
{
    if (eSource == EFieldOrder::eProgressive || pEncoder->codec_id != AV_CODEC_ID_MPEG2VIDEO) {
        pEncoder->field_order = AV_FIELD_PROGRESSIVE;
        return EFieldOrder::eProgressive;
    }
    // Field DCT and field motion search let each macroblock code its two
    // fields apart where they differ, as moving interlaced pictures do.
    pEncoder->flags |= AV_CODEC_FLAG_INTERLACED_DCT | AV_CODEC_FLAG_INTERLACED_ME;
    pEncoder->field_order = eSource == EFieldOrder::eTopFirst ? AV_FIELD_TT : AV_FIELD_BB;
    return eSource;
}

void MarkFields(AVFrame* pFrame, EFieldOrder eFields)
{
    pFrame->interlaced_frame = eFields != EFieldOrder::eProgressive;
    pFrame->top_field_first = eFields == EFieldOrder::eTopFirst;
}
