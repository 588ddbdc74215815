#include <gtest/gtest.h>

#include <string>

#include "engine/DiscStandard.h"

namespace {

using CReasons = std::vector<std::string>;

testing::AssertionResult Contains(const std::string& strText, const std::string& strPart)
{
    if (strText.find(strPart) != std::string::npos)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << '"' << strText << "\" lacks \"" << strPart << '"';
}

CRecordingProfile Preset(EDiscStandard eStandard, ETvNorm eNorm)
{
    CRecordingProfile profile;
    ApplyDiscStandard(profile, eStandard, eNorm);
    return profile;
}

} // namespace

TEST(DiscStandard, EveryPresetMeetsItsOwnStandardOnly)
{
    for (const EDiscStandard eStandard : DISC_STANDARDS) {
        for (const ETvNorm eNorm : { ETvNorm::ePal, ETvNorm::eNtsc }) {
            SCOPED_TRACE(std::string(DiscStandard(eStandard).pszName) + (eNorm == ETvNorm::ePal ? " PAL" : " NTSC"));
            const CRecordingProfile profile = Preset(eStandard, eNorm);
            EXPECT_EQ(DiscStandardShortfalls(profile, eStandard), CReasons());
            EXPECT_EQ(MetDiscStandard(profile), eStandard);
            for (const EDiscStandard eOther : DISC_STANDARDS) {
                if (eOther != eStandard) {
                    EXPECT_NE(DiscStandardShortfalls(profile, eOther), CReasons());
                }
            }
        }
    }
}

TEST(DiscStandard, PresetsFollowTheNorm)
{
    struct CNormCase
    {
        EDiscStandard eStandard;
        ETvNorm eNorm;
        short nFrameRate;
        short nWidth;
        short nHeight;
        int nOutputType;
        int nSampleRate;
    } const cases[] = {
        { EDiscStandard::eVcd, ETvNorm::ePal, 25, 352, 288, OUTPUT_TYPE_MPEG1, 44100 },
        { EDiscStandard::eVcd, ETvNorm::eNtsc, 29, 352, 240, OUTPUT_TYPE_MPEG1, 44100 },
        { EDiscStandard::eSvcd, ETvNorm::ePal, 25, 480, 576, OUTPUT_TYPE_MPEG2, 44100 },
        { EDiscStandard::eSvcd, ETvNorm::eNtsc, 29, 480, 480, OUTPUT_TYPE_MPEG2, 44100 },
        { EDiscStandard::eDvd, ETvNorm::ePal, 25, 720, 576, OUTPUT_TYPE_MPEG2, 48000 },
        { EDiscStandard::eDvd, ETvNorm::eNtsc, 29, 720, 480, OUTPUT_TYPE_MPEG2, 48000 },
    };
    for (const CNormCase& normCase : cases) {
        SCOPED_TRACE(std::string(DiscStandard(normCase.eStandard).pszName) + " " + std::to_string(normCase.nHeight));
        const CRecordingProfile profile = Preset(normCase.eStandard, normCase.eNorm);
        EXPECT_EQ(profile.nFrameRate, normCase.nFrameRate);
        EXPECT_EQ(profile.nVideoWidth, normCase.nWidth);
        EXPECT_EQ(profile.nVideoHeight, normCase.nHeight);
        EXPECT_EQ(profile.nOutputType, normCase.nOutputType);
        EXPECT_EQ(profile.nAudioSampleRate, normCase.nSampleRate);
        EXPECT_EQ(profile.nAudioChannels, 2);
    }
}

// One value changed from a preset, and the one reason it gives.
struct CShortfallCase
{
    const char* pszName;
    EDiscStandard eStandard;
    ETvNorm eNorm;
    void (*change)(CRecordingProfile&);
    const char* pszReason;
};

TEST(DiscStandard, EachValueOutsideTheStandardGivesItsReason)
{
    const CShortfallCase cases[] = {
        { "NTSC size at the PAL rate", EDiscStandard::eVcd, ETvNorm::ePal,
          [](CRecordingProfile& profile) { profile.nVideoHeight = 240; }, "picture 352x240, needs 352x288" },
        { "PAL size at the NTSC rate", EDiscStandard::eSvcd, ETvNorm::eNtsc,
          [](CRecordingProfile& profile) { profile.nVideoHeight = 576; }, "picture 480x576, needs 480x480" },
        { "no norm's rate", EDiscStandard::eDvd, ETvNorm::eNtsc,
          [](CRecordingProfile& profile) { profile.nFrameRate = 23; }, "23.976 frames/s, needs 25 or 29.97" },
        { "whole 30 is not NTSC", EDiscStandard::eVcd, ETvNorm::eNtsc,
          [](CRecordingProfile& profile) { profile.nFrameRate = 30; }, "30 frames/s, needs 25 or 29.97" },
        { "VCD rate is constant", EDiscStandard::eVcd, ETvNorm::ePal,
          [](CRecordingProfile& profile) { profile.nVideoBitrate = 1000000; }, "video 1000000 bit/s, needs 1150000" },
        { "SVCD video over its limit", EDiscStandard::eSvcd, ETvNorm::ePal,
          [](CRecordingProfile& profile) {
              profile.nVideoBitrate = 2600001;
              profile.nAudioBitrate = 128000;
          },
          "video 2600001 bit/s, needs at most 2600000" },
        { "SVCD video and audio over the disc's rate", EDiscStandard::eSvcd, ETvNorm::ePal,
          [](CRecordingProfile& profile) { profile.nVideoBitrate = 2600000; },
          "video and audio 2824000 bit/s together, needs at most 2778000" },
        { "DVD video over its limit", EDiscStandard::eDvd, ETvNorm::ePal,
          [](CRecordingProfile& profile) { profile.nVideoBitrate = 9800000; },
          "video 9800000 bit/s, needs at most 9000000" },
        { "Best quality raises the VCD rate", EDiscStandard::eVcd, ETvNorm::ePal,
          [](CRecordingProfile& profile) { profile.bBestQuality = true; }, "video 2500000 bit/s, needs 1150000" },
        { "DVD at 44.1 kHz", EDiscStandard::eDvd, ETvNorm::ePal,
          [](CRecordingProfile& profile) { profile.nAudioSampleRate = 44100; }, "44.1 kHz audio, needs 48 kHz" },
        { "VCD at 48 kHz", EDiscStandard::eVcd, ETvNorm::eNtsc,
          [](CRecordingProfile& profile) { profile.nAudioSampleRate = 48000; }, "48 kHz audio, needs 44.1 kHz" },
        { "VCD audio rate is fixed", EDiscStandard::eVcd, ETvNorm::ePal,
          [](CRecordingProfile& profile) { profile.nAudioBitrate = 192000; }, "audio 192000 bit/s, needs 224000" },
        { "DVD audio over MPEG audio's rates", EDiscStandard::eDvd, ETvNorm::ePal,
          [](CRecordingProfile& profile) { profile.nAudioBitrate = 448000; },
          "audio 448000 bit/s, needs at most 384000" },
        { "VCD is stereo", EDiscStandard::eVcd, ETvNorm::ePal,
          [](CRecordingProfile& profile) { profile.nAudioChannels = 1; }, "1 audio channel, needs 2" },
        { "VCD is 4:3", EDiscStandard::eVcd, ETvNorm::ePal,
          [](CRecordingProfile& profile) {
              profile.nAspectNumerator = 16;
              profile.nAspectDenominator = 9;
          },
          "16:9 picture, needs 4:3" },
        { "MPEG-2 on VCD", EDiscStandard::eVcd, ETvNorm::ePal,
          [](CRecordingProfile& profile) { profile.nOutputType = OUTPUT_TYPE_MPEG2; }, "MPEG-2 video, needs MPEG-1" },
        { "MPEG-1 on DVD", EDiscStandard::eDvd, ETvNorm::eNtsc,
          [](CRecordingProfile& profile) { profile.nOutputType = OUTPUT_TYPE_MPEG1; }, "MPEG-1 video, needs MPEG-2" },
        { "AVI", EDiscStandard::eDvd, ETvNorm::ePal,
          [](CRecordingProfile& profile) { profile.nWorkMode = WORK_MODE_AVI; },
          "an AVI file, needs an MPEG program stream" },
    };
    for (const CShortfallCase& shortfallCase : cases) {
        SCOPED_TRACE(shortfallCase.pszName);
        CRecordingProfile profile = Preset(shortfallCase.eStandard, shortfallCase.eNorm);
        shortfallCase.change(profile);
        EXPECT_EQ(DiscStandardShortfalls(profile, shortfallCase.eStandard), CReasons { shortfallCase.pszReason });
        EXPECT_EQ(MetDiscStandard(profile), std::nullopt);
    }
}

TEST(DiscStandard, AllowedVariationsStillMeetTheStandard)
{
    const CShortfallCase cases[] = {
        { "SVCD at a lower rate", EDiscStandard::eSvcd, ETvNorm::ePal,
          [](CRecordingProfile& profile) { profile.nVideoBitrate = 1500000; }, "" },
        { "DVD at half width", EDiscStandard::eDvd, ETvNorm::eNtsc,
          [](CRecordingProfile& profile) { profile.nVideoWidth = 352; }, "" },
        { "DVD at VCD size", EDiscStandard::eDvd, ETvNorm::ePal,
          [](CRecordingProfile& profile) {
              profile.nVideoWidth = 352;
              profile.nVideoHeight = 288;
          },
          "" },
        { "DVD at 16:9", EDiscStandard::eDvd, ETvNorm::ePal,
          [](CRecordingProfile& profile) {
              profile.nAspectNumerator = 16;
              profile.nAspectDenominator = 9;
          },
          "" },
        { "DVD mono", EDiscStandard::eDvd, ETvNorm::ePal,
          [](CRecordingProfile& profile) {
              profile.nAudioChannels = 1;
              profile.nAudioBitrate = 128000;
          },
          "" },
        { "DVD at the highest rate with Best quality", EDiscStandard::eDvd, ETvNorm::ePal,
          [](CRecordingProfile& profile) { profile.bBestQuality = true; }, "" },
    };
    for (const CShortfallCase& allowedCase : cases) {
        SCOPED_TRACE(allowedCase.pszName);
        CRecordingProfile profile = Preset(allowedCase.eStandard, allowedCase.eNorm);
        allowedCase.change(profile);
        EXPECT_EQ(DiscStandardShortfalls(profile, allowedCase.eStandard), CReasons());
    }
}

TEST(DiscStandard, StreamLayoutFollowsTheStandardMet)
{
    const CStreamLayout vcd = MpegStreamLayout(Preset(EDiscStandard::eVcd, ETvNorm::ePal));
    EXPECT_STREQ(vcd.pszMuxer, "vcd");
    EXPECT_EQ(vcd.nPacketBytes, 2324);
    EXPECT_EQ(vcd.nMinVideoRateBits, 1150000);
    EXPECT_EQ(vcd.nMaxVideoRateBits, 1150000);

    // The video's peaks leave room for the audio on an SVCD.
    const CStreamLayout svcd = MpegStreamLayout(Preset(EDiscStandard::eSvcd, ETvNorm::eNtsc));
    EXPECT_STREQ(svcd.pszMuxer, "svcd");
    EXPECT_EQ(svcd.nMaxVideoRateBits, 2778000 - 224000);

    EXPECT_STREQ(MpegStreamLayout(Preset(EDiscStandard::eDvd, ETvNorm::ePal)).pszMuxer, "dvd");

    // Outside every standard: MPEG-2 keeps DVD's packs, MPEG-1 FFmpeg's plain ones.
    const CRecordingProfile programDefault;
    EXPECT_STREQ(MpegStreamLayout(programDefault).pszMuxer, "dvd");
    CRecordingProfile mpeg1 = Preset(EDiscStandard::eVcd, ETvNorm::ePal);
    mpeg1.nVideoBitrate = 1500000;
    const CStreamLayout plain = MpegStreamLayout(mpeg1);
    EXPECT_STREQ(plain.pszMuxer, "mpeg");
    EXPECT_EQ(plain.nMaxVideoRateBits, 0);
}

TEST(DiscStandard, LineSaysWhatEachStandardNeeds)
{
    // The program's default profile: a valid MPEG-2 stream DVD tools refuse.
    const std::string strDefault = DescribeDiscStandards(CRecordingProfile());
    EXPECT_TRUE(Contains(strDefault, "Not VCD: "));
    EXPECT_TRUE(Contains(strDefault, "Not SVCD: "));
    EXPECT_TRUE(Contains(strDefault, "Not DVD: 23.976 frames/s, needs 25 or 29.97; 44.1 kHz audio, needs 48 kHz."));

    // The output type is chosen elsewhere: the line names the one to choose.
    CRecordingProfile vcd = Preset(EDiscStandard::eVcd, ETvNorm::eNtsc);
    vcd.nOutputType = OUTPUT_TYPE_MPEG2;
    const std::string strVcd = DescribeDiscStandards(vcd);
    EXPECT_TRUE(Contains(strVcd, "Meets VCD (record as MPEG-1)."));
    EXPECT_TRUE(Contains(strVcd, "Not DVD: 44.1 kHz audio, needs 48 kHz."));
    EXPECT_TRUE(
        Contains(DescribeDiscStandards(Preset(EDiscStandard::eDvd, ETvNorm::ePal)), "Meets DVD (record as MPEG-2)."));
}
