#include <gtest/gtest.h>

#include <string>

#include <linux/videodev2.h>

#include "engine/MpegPictureChoices.h"
#include "engine/V4l2Device.h"

namespace {

CCodecContextPtr MakeEncoder(const char* pszName)
{
    const AVCodec* pCodec = avcodec_find_encoder_by_name(pszName);
    return CCodecContextPtr(pCodec ? avcodec_alloc_context3(pCodec) : nullptr);
}

} // namespace

TEST(FieldOrder, V4l2LayoutsAndTvStandards)
{
    struct CLayoutCase
    {
        const char* pszName;
        std::uint32_t nField;
        std::uint64_t nStandard;
        EFieldOrder eExpected;
    } const cases[] = {
        { "progressive", V4L2_FIELD_NONE, V4L2_STD_PAL, EFieldOrder::eProgressive },
        { "top first", V4L2_FIELD_INTERLACED_TB, V4L2_STD_NTSC, EFieldOrder::eTopFirst },
        { "bottom first", V4L2_FIELD_INTERLACED_BT, V4L2_STD_PAL, EFieldOrder::eBottomFirst },
        { "woven NTSC", V4L2_FIELD_INTERLACED, V4L2_STD_NTSC_M, EFieldOrder::eBottomFirst },
        { "woven PAL", V4L2_FIELD_INTERLACED, V4L2_STD_PAL_B, EFieldOrder::eTopFirst },
        { "woven, no standard", V4L2_FIELD_INTERLACED, 0, EFieldOrder::eTopFirst },
        { "one field a buffer", V4L2_FIELD_ALTERNATE, V4L2_STD_PAL, EFieldOrder::eProgressive },
        { "fields one above the other", V4L2_FIELD_SEQ_TB, V4L2_STD_PAL, EFieldOrder::eProgressive },
    };
    for (const CLayoutCase& layout : cases) {
        SCOPED_TRACE(layout.pszName);
        EXPECT_EQ(FieldOrderOfV4l2(layout.nField, layout.nStandard), layout.eExpected);
    }
}

TEST(FieldOrder, OnlyMpeg2CodesInterlacedPictures)
{
    struct CEncoderCase
    {
        const char* pszEncoder;
        EFieldOrder eSource;
        EFieldOrder eCoded;
        AVFieldOrder eStreamOrder;
    } const cases[] = {
        { "mpeg2video", EFieldOrder::eTopFirst, EFieldOrder::eTopFirst, AV_FIELD_TT },
        { "mpeg2video", EFieldOrder::eBottomFirst, EFieldOrder::eBottomFirst, AV_FIELD_BB },
        { "mpeg2video", EFieldOrder::eProgressive, EFieldOrder::eProgressive, AV_FIELD_PROGRESSIVE },
        { "mpeg1video", EFieldOrder::eTopFirst, EFieldOrder::eProgressive, AV_FIELD_PROGRESSIVE },
    };
    constexpr int INTERLACED_FLAGS = AV_CODEC_FLAG_INTERLACED_DCT | AV_CODEC_FLAG_INTERLACED_ME;
    for (const CEncoderCase& encoderCase : cases) {
        SCOPED_TRACE(std::string(encoderCase.pszEncoder) + " " + std::to_string(static_cast<int>(encoderCase.eSource)));
        const CCodecContextPtr pEncoder = MakeEncoder(encoderCase.pszEncoder);
        ASSERT_NE(pEncoder, nullptr);
        EXPECT_EQ(UseFieldOrder(pEncoder.get(), encoderCase.eSource), encoderCase.eCoded);
        EXPECT_EQ(pEncoder->field_order, encoderCase.eStreamOrder);
        const bool bInterlaced = encoderCase.eCoded != EFieldOrder::eProgressive;
        EXPECT_EQ((pEncoder->flags & INTERLACED_FLAGS) == INTERLACED_FLAGS, bInterlaced);
    }
}

TEST(FieldOrder, PicturesCarryTheCodedOrder)
{
    const CFramePtr pFrame(av_frame_alloc());
    ASSERT_NE(pFrame, nullptr);
    MarkFields(pFrame.get(), EFieldOrder::eBottomFirst);
    EXPECT_TRUE(pFrame->interlaced_frame);
    EXPECT_FALSE(pFrame->top_field_first);
    MarkFields(pFrame.get(), EFieldOrder::eTopFirst);
    EXPECT_TRUE(pFrame->interlaced_frame);
    EXPECT_TRUE(pFrame->top_field_first);
    MarkFields(pFrame.get(), EFieldOrder::eProgressive);
    EXPECT_FALSE(pFrame->interlaced_frame);
}

TEST(MpegQuality, DefaultsAreSetBeforeTheUsersOptions)
{
    for (const char* pszEncoder : { "mpeg1video", "mpeg2video" }) {
        SCOPED_TRACE(pszEncoder);
        const CCodecContextPtr pEncoder = MakeEncoder(pszEncoder);
        ASSERT_NE(pEncoder, nullptr);
        const int nDefaultPredictors = pEncoder->last_predictor_count;
        std::string strReason;
        ASSERT_TRUE(UseMpegQualityDefaults(pEncoder.get(), strReason)) << strReason;
        EXPECT_GT(pEncoder->last_predictor_count, nDefaultPredictors);
        EXPECT_GT(pEncoder->b_quant_factor, 1.25f);
    }
}
