#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/CompressorCatalog.h"
#include "engine/Recorder.h"

namespace {

const CCompressorOption* FindOption(const std::vector<CCompressorOption>& options, const std::string& strName)
{
    const auto found = std::find_if(options.begin(), options.end(),
                                    [&strName](const CCompressorOption& option) { return option.strName == strName; });
    return found == options.end() ? nullptr : &*found;
}

bool HasNamedValue(const CCompressorOption& option, const std::string& strValue)
{
    return std::any_of(option.namedValues.begin(), option.namedValues.end(),
                       [&strValue](const CNamedValue& named) { return named.strName == strValue; });
}

} // namespace

TEST(CompressorOptions, GenericEncodingOptionsOfTheEncodersMedia)
{
    const std::vector<CCompressorOption> video = ListCompressorOptions("mpeg2video");
    ASSERT_NE(FindOption(video, "intra_vlc"), nullptr) << "the encoder's own options stay";
    for (const char* pszGeneric : { "g", "bf", "trellis", "qmin", "last_pred" }) {
        SCOPED_TRACE(pszGeneric);
        EXPECT_NE(FindOption(video, pszGeneric), nullptr);
    }
    const CCompressorOption* pDecision = FindOption(video, "mbd");
    ASSERT_NE(pDecision, nullptr);
    EXPECT_TRUE(HasNamedValue(*pDecision, "rd"));
    const CCompressorOption* pFlags = FindOption(video, "flags");
    ASSERT_NE(pFlags, nullptr);
    EXPECT_EQ(pFlags->strType, "flags");
    EXPECT_TRUE(HasNamedValue(*pFlags, "ildct"));
    EXPECT_FALSE(HasNamedValue(*pFlags, "unaligned")) << "a decoding flag";
    EXPECT_EQ(FindOption(video, "skip_frame"), nullptr) << "a decoding option";
    EXPECT_EQ(FindOption(video, "ar"), nullptr) << "an audio option";

    const std::vector<CCompressorOption> audio = ListCompressorOptions("aac");
    EXPECT_NE(FindOption(audio, "b"), nullptr);
    EXPECT_EQ(FindOption(audio, "g"), nullptr) << "a video option";
    EXPECT_EQ(FindOption(audio, "ar"), nullptr) << "the recording profile sets the sample rate";
    EXPECT_TRUE(ListCompressorOptions("pcm_s16le").empty()) << "no settings of its own, none at all";
}

TEST(CompressorOptions, GenericValuesAreCheckedAndPutBack)
{
    CRecorder recorder;
    const short nMpeg2 = recorder.GetVideoCompressors().FindIndex("MPEG-2 video (mpeg2video)");
    const short nAac = recorder.GetAudioCompressors().FindIndex("AAC (Advanced Audio Coding) (aac)");
    ASSERT_GE(nMpeg2, 0);
    ASSERT_GE(nAac, 0);
    std::string strReason;
    EXPECT_TRUE(recorder.SetCompressorOption(ECompressorKind::eVideo, nMpeg2, "g", "6", strReason)) << strReason;
    EXPECT_TRUE(recorder.SetCompressorOption(ECompressorKind::eVideo, nMpeg2, "flags", "+ildct+ilme", strReason))
        << strReason;
    EXPECT_EQ(recorder.GetCompressorOption(ECompressorKind::eVideo, nMpeg2, "g"), "6");

    struct CRefusal
    {
        ECompressorKind eKind;
        short nIndex;
        const char* pszOption;
        const char* pszValue;
        const char* pszCause;
    } const refusals[] = {
        { ECompressorKind::eVideo, nMpeg2, "bf", "many", "refuses bf=many" },
        { ECompressorKind::eVideo, nMpeg2, "flags", "+nosuchflag", "refuses flags=+nosuchflag" },
        { ECompressorKind::eVideo, nMpeg2, "skip_frame", "all", "has no option skip_frame" },
        { ECompressorKind::eAudio, nAac, "ar", "48000", "ar follows the recording profile" },
    };
    for (const CRefusal& refusal : refusals) {
        SCOPED_TRACE(refusal.pszOption);
        strReason.clear();
        EXPECT_FALSE(recorder.SetCompressorOption(refusal.eKind, refusal.nIndex, refusal.pszOption, refusal.pszValue,
                                                  strReason));
        EXPECT_NE(strReason.find(refusal.pszCause), std::string::npos) << strReason;
    }

    recorder.ResetCompressorOption(ECompressorKind::eVideo, nMpeg2, "g");
    EXPECT_EQ(recorder.GetCompressorOption(ECompressorKind::eVideo, nMpeg2, "g"), "");
    EXPECT_EQ(recorder.GetCompressorOption(ECompressorKind::eVideo, nMpeg2, "flags"), "+ildct+ilme");
}

TEST(CompressorOptions, NamedValuesCarryTheirHelpAndValue)
{
    const std::vector<CCompressorOption> video = ListCompressorOptions("mpeg2video");
    struct CChoiceCase
    {
        const char* pszOption;
        bool bOnlyNamedValues;
    } const cases[] = {
        { "motion_est", true }, // zero, epzs and xone are 0 to 2
        { "mbd", true },
        { "threads", false },  // "auto" besides any count
        { "skip_cmp", false }, // compare functions combine with "chroma"
    };
    for (const CChoiceCase& choice : cases) {
        SCOPED_TRACE(choice.pszOption);
        const CCompressorOption* pOption = FindOption(video, choice.pszOption);
        ASSERT_NE(pOption, nullptr);
        EXPECT_FALSE(pOption->namedValues.empty());
        EXPECT_EQ(pOption->bOnlyNamedValues, choice.bOnlyNamedValues);
    }
    const CCompressorOption* pMotion = FindOption(video, "motion_est");
    ASSERT_NE(pMotion, nullptr);
    ASSERT_TRUE(HasNamedValue(*pMotion, "xone"));
    EXPECT_EQ(std::find_if(pMotion->namedValues.begin(), pMotion->namedValues.end(),
                           [](const CNamedValue& named) { return named.strName == "xone"; })
                  ->nValue,
              2);
    const CCompressorOption* pFlags = FindOption(video, "mpv_flags");
    ASSERT_NE(pFlags, nullptr);
    EXPECT_EQ(pFlags->strType, "flags");
    EXPECT_FALSE(pFlags->bOnlyNamedValues);
    EXPECT_TRUE(std::all_of(pFlags->namedValues.begin(), pFlags->namedValues.end(),
                            [](const CNamedValue& named) { return named.nValue != 0 && !named.strHelp.empty(); }));
}
