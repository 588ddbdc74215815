#include "engine/CompressorCatalog.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <set>
#include <string_view>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
}

#include "engine/AvPtr.h"
#include "engine/RecordingProfile.h"

namespace {

constexpr const char* DIVX_FOURCC = "DIVX";

// Encoders whose streams AVI carries but that a recording cannot use, each
// for its reason; the rules in IsOffered catch whole families.
constexpr const char* WITHHELD_ENCODERS[] = {
    "dvvideo",   // DV's few fixed sizes and rates, none of them the profile's
    "h261",      // 176x144 and 352x288 only
    "h263",      // five fixed sizes; H.263+ (h263p) takes any
    "g726",      // 8 kHz mono only
    "dfpwm",     // AVI gives its blocks no timing a decoder can follow
    "eac3",      // likewise: players read minutes into a second's recording
    "libvorbis", // likewise; Vorbis has no mapping into AVI
    "cinepak",   // a picture or two a second at the profile's size
    "librav1e",  // likewise, even at its fastest
    "libsvtav1", // never returns from closing when a failed start left it unfed
    "h264_omx",  // OpenMAX hardware, like the flagged hardware encoders
    "mpeg4_omx",
};

// Settings of encoders whose own defaults are for files made at leisure: a
// recording is encoded as it is captured.
struct CLiveOptions
{
    const char* pszEncoder;
    std::span<const COptionValue> options;
};
constexpr COptionValue AOM_LIVE_OPTIONS[] = { { "usage", "realtime" }, { "cpu-used", "8" } };
constexpr COptionValue VPX_LIVE_OPTIONS[] = { { "deadline", "realtime" }, { "cpu-used", "8" } };
constexpr CLiveOptions LIVE_OPTIONS[] = {
    { "libaom-av1", AOM_LIVE_OPTIONS },
    { "libvpx", VPX_LIVE_OPTIONS },
    { "libvpx-vp9", VPX_LIVE_OPTIONS },
};

// avformat_query_codec answers 1 for a codec the container has a tag for.
bool AviCarries(const AVCodec* pCodec)
{
    static const AVOutputFormat* const s_pAvi = av_guess_format("avi", nullptr, nullptr);
    return s_pAvi && avformat_query_codec(s_pAvi, pCodec->id, FF_COMPLIANCE_NORMAL) == 1;
}

// Whether the encoder takes the default profile's sound as it is: some
// know only other rates or only mono.
bool TakesDefaultAudio(const AVCodec* pCodec)
{
    const CRecordingProfile defaults;
    if (pCodec->supported_samplerates) {
        const int* pRate = pCodec->supported_samplerates;
        while (*pRate != 0 && *pRate != defaults.nAudioSampleRate)
            ++pRate;
        if (*pRate == 0)
            return false;
    }
    if (pCodec->ch_layouts) {
        const AVChannelLayout* pLayout = pCodec->ch_layouts;
        while (pLayout->nb_channels != 0 && pLayout->nb_channels != defaults.nAudioChannels)
            ++pLayout;
        if (pLayout->nb_channels == 0)
            return false;
    }
    return true;
}

// A compressor is offered when a recording with the default profile and
// the compressor's own defaults records with it. Hardware encoders need a
// device and frames of their own that the capture does not make, and
// experimental ones must be asked for by a setting the profile lacks.
bool IsOffered(const AVCodec* pCodec)
{
    constexpr int WITHHELD_CAPABILITIES = AV_CODEC_CAP_HARDWARE | AV_CODEC_CAP_HYBRID | AV_CODEC_CAP_EXPERIMENTAL;
    if ((pCodec->capabilities & WITHHELD_CAPABILITIES) != 0 || avcodec_get_hw_config(pCodec, 0) != nullptr)
        return false;
    if (std::any_of(std::begin(WITHHELD_ENCODERS), std::end(WITHHELD_ENCODERS),
                    [pCodec](const char* pszName) { return std::string_view(pCodec->name) == pszName; }))
        return false;
    return pCodec->type != AVMEDIA_TYPE_AUDIO || TakesDefaultAudio(pCodec);
}

std::vector<CCompressorInfo> CollectCompressors(AVMediaType eType)
{
    std::vector<CCompressorInfo> compressors;
    void* pIterator = nullptr;
    while (const AVCodec* pCodec = av_codec_iterate(&pIterator)) {
        if (!av_codec_is_encoder(pCodec) || pCodec->type != eType || !AviCarries(pCodec) || !IsOffered(pCodec))
            continue;
        const std::string strLong = pCodec->long_name ? pCodec->long_name : pCodec->name;
        const std::string strFourCc = std::string(pCodec->name) == DEFAULT_VIDEO_COMPRESSOR ? DIVX_FOURCC : "";
        compressors.push_back({ strLong + " (" + pCodec->name + ")", pCodec->name, strFourCc });
    }
    return compressors;
}

std::string TypeName(AVOptionType eType)
{
    switch (eType) {
    case AV_OPT_TYPE_FLAGS:
        return "flags";
    case AV_OPT_TYPE_INT:
    case AV_OPT_TYPE_INT64:
    case AV_OPT_TYPE_UINT64:
        return "int";
    case AV_OPT_TYPE_DOUBLE:
    case AV_OPT_TYPE_FLOAT:
        return "float";
    case AV_OPT_TYPE_BOOL:
        return "bool";
    case AV_OPT_TYPE_STRING:
        return "string";
    case AV_OPT_TYPE_RATIONAL:
        return "rational";
    default:
        return "other";
    }
}

std::string DefaultText(const AVOption& option)
{
    switch (option.type) {
    case AV_OPT_TYPE_STRING:
        return option.default_val.str ? option.default_val.str : "";
    case AV_OPT_TYPE_DOUBLE:
    case AV_OPT_TYPE_FLOAT:
        return std::to_string(option.default_val.dbl);
    case AV_OPT_TYPE_RATIONAL:
        return std::to_string(option.default_val.q.num) + "/" + std::to_string(option.default_val.q.den);
    default:
        return std::to_string(option.default_val.i64);
    }
}

// Settings the recording profile makes, which the stages rely on: the audio
// format they resample to and the video timing they count frames in.
constexpr const char* PROFILE_OWNED_OPTIONS[] = { "ar",         "ac",
                                                  "ch_layout",  "channel_layout",
                                                  "frame_size", "ticks_per_frame" };

bool IsProfileOwned(const std::string& strOption)
{
    return std::find(std::begin(PROFILE_OWNED_OPTIONS), std::end(PROFILE_OWNED_OPTIONS), strOption)
        != std::end(PROFILE_OWNED_OPTIONS);
}

int MediaFlag(AVMediaType eType)
{
    return eType == AVMEDIA_TYPE_VIDEO ? AV_OPT_FLAG_VIDEO_PARAM
        : eType == AVMEDIA_TYPE_AUDIO  ? AV_OPT_FLAG_AUDIO_PARAM
                                       : AV_OPT_FLAG_SUBTITLE_PARAM;
}

bool HasFlags(const AVOption& option, int nRequiredFlags)
{
    return (option.flags & nRequiredFlags) == nRequiredFlags && !(option.flags & AV_OPT_FLAG_DEPRECATED);
}

// Named values of a choice option come as AV_OPT_TYPE_CONST entries that
// share the option's unit; several options may share one unit, and the
// entries may come before or after the options.
std::map<std::string, std::vector<CNamedValue>> CollectNamedValues(const AVClass* pClass, int nRequiredFlags)
{
    std::map<std::string, std::vector<CNamedValue>> units;
    const AVOption* pOption = nullptr;
    while ((pOption = av_opt_next(&pClass, pOption))) {
        if (pOption->type == AV_OPT_TYPE_CONST && pOption->unit && HasFlags(*pOption, nRequiredFlags))
            units[pOption->unit].push_back(
                { pOption->name, pOption->help ? pOption->help : "", pOption->default_val.i64 });
    }
    return units;
}

// A whole-number option whose names cover its whole (small) range offers
// nothing beyond them.
bool NamesCoverRange(const AVOption& option, const std::vector<CNamedValue>& namedValues)
{
    const double dRangeSize = option.max - option.min + 1;
    if (TypeName(option.type) != "int" || dRangeSize > static_cast<double>(namedValues.size()))
        return false;
    std::set<std::int64_t> covered;
    for (const CNamedValue& named : namedValues) {
        const double dValue = static_cast<double>(named.nValue);
        if (dValue >= option.min && dValue <= option.max)
            covered.insert(named.nValue);
    }
    return static_cast<double>(covered.size()) == dRangeSize;
}

// Adds the class's options that have all of nRequiredFlags, except those
// already listed: the encoder takes a name that both classes know only once.
void CollectOptions(const AVClass* pClass, int nRequiredFlags, std::vector<CCompressorOption>& options)
{
    const std::map<std::string, std::vector<CNamedValue>> units = CollectNamedValues(pClass, nRequiredFlags);
    const AVOption* pOption = nullptr;
    while ((pOption = av_opt_next(&pClass, pOption))) {
        if (pOption->type == AV_OPT_TYPE_CONST || !HasFlags(*pOption, nRequiredFlags))
            continue;
        const std::string strName = pOption->name;
        if (IsProfileOwned(strName)
            || std::any_of(options.begin(), options.end(),
                           [&strName](const CCompressorOption& listed) { return listed.strName == strName; }))
            continue;
        CCompressorOption option;
        option.strName = strName;
        option.strHelp = pOption->help ? pOption->help : "";
        option.strType = TypeName(pOption->type);
        option.strDefault = DefaultText(*pOption);
        option.dMinimum = pOption->min;
        option.dMaximum = pOption->max;
        if (const auto unit = units.find(pOption->unit ? pOption->unit : ""); unit != units.end())
            option.namedValues = unit->second;
        option.bOnlyNamedValues = NamesCoverRange(*pOption, option.namedValues);
        options.push_back(std::move(option));
    }
}

} // namespace

const std::vector<CCompressorInfo>& ListCompressors(ECompressorKind eKind)
{
    static const std::vector<CCompressorInfo> s_video = CollectCompressors(AVMEDIA_TYPE_VIDEO);
    static const std::vector<CCompressorInfo> s_audio = CollectCompressors(AVMEDIA_TYPE_AUDIO);
    return eKind == ECompressorKind::eVideo ? s_video : s_audio;
}

std::span<const COptionValue> LiveEncodingOptions(const std::string& strCodec)
{
    for (const CLiveOptions& live : LIVE_OPTIONS) {
        if (strCodec == live.pszEncoder)
            return live.options;
    }
    return {};
}

int FindCompressor(ECompressorKind eKind, const std::string& strCodec)
{
    const std::vector<CCompressorInfo>& compressors = ListCompressors(eKind);
    const auto found =
        std::find_if(compressors.begin(), compressors.end(),
                     [&strCodec](const CCompressorInfo& compressor) { return compressor.strCodec == strCodec; });
    return found == compressors.end() ? -1 : static_cast<int>(found - compressors.begin());
}

std::vector<CCompressorOption> ListCompressorOptions(const std::string& strCodec)
{
    std::vector<CCompressorOption> options;
    const AVCodec* pCodec = avcodec_find_encoder_by_name(strCodec.c_str());
    // Encoders with no settings of their own (raw pictures, PCM) ignore the
    // generic ones too.
    if (!pCodec || !pCodec->priv_class)
        return options;
    CollectOptions(pCodec->priv_class, AV_OPT_FLAG_ENCODING_PARAM, options);
    CollectOptions(avcodec_get_class(), AV_OPT_FLAG_ENCODING_PARAM | MediaFlag(pCodec->type), options);
    return options;
}

bool CheckCompressorOption(const std::string& strCodec, const std::string& strOption, const std::string& strValue,
                           std::string& strReason)
{
    const AVCodec* pCodec = avcodec_find_encoder_by_name(strCodec.c_str());
    if (!pCodec) {
        strReason = "unknown encoder " + strCodec;
        return false;
    }
    if (IsProfileOwned(strOption)) {
        strReason = strOption + " follows the recording profile";
        return false;
    }
    const std::vector<CCompressorOption> options = ListCompressorOptions(strCodec);
    if (std::none_of(options.begin(), options.end(),
                     [&strOption](const CCompressorOption& option) { return option.strName == strOption; })) {
        strReason = strCodec + " has no option " + strOption;
        return false;
    }
    const CCodecContextPtr pContext(avcodec_alloc_context3(pCodec)); // holds the encoder's defaults
    if (!pContext) {
        strReason = "out of memory";
        return false;
    }
    // The generic context takes a name first, as when the encoder opens.
    const bool bGeneric = av_opt_find(pContext.get(), strOption.c_str(), nullptr, 0, 0) != nullptr;
    void* pTarget = bGeneric ? static_cast<void*>(pContext.get()) : pContext->priv_data;
    const int nResult = av_opt_set(pTarget, strOption.c_str(), strValue.c_str(), 0);
    if (nResult < 0) {
        strReason = strCodec + " refuses " + strOption + "=" + strValue + ": " + AvErrorText(nResult);
        return false;
    }
    return true;
}
