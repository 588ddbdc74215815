#include <gtest/gtest.h>

#include <cstdlib>

#include "engine/DeviceCatalog.h"
#include "engine/Recorder.h"

TEST(DeviceLists, BuiltInSourcesAreAlwaysThere)
{
    CRecorder recorder;
    const CNameList videoDevices = recorder.GetVideoDevices();
    const CNameList audioDevices = recorder.GetAudioDevices();
    ASSERT_GE(videoDevices.FindIndex("Test Pattern"), 0);
    ASSERT_GE(audioDevices.FindIndex("Test Tone"), 0);
    EXPECT_EQ(videoDevices.Name(videoDevices.Count() - 1), "Test Pattern") << "built-in sources come last";
    EXPECT_EQ(audioDevices.Name(audioDevices.Count() - 1), "Test Tone");
    EXPECT_EQ(videoDevices.FindIndex("test pattern"), -1) << "names match with case";
    EXPECT_EQ(videoDevices.FindIndex(""), -1);
    EXPECT_EQ(videoDevices.Name(-1), "");
    EXPECT_EQ(videoDevices.Name(videoDevices.Count()), "");

    recorder.SetVideoDevice(videoDevices.FindIndex("Test Pattern"));
    EXPECT_GE(recorder.GetVideoInputs().Count(), 1);
    EXPECT_GE(recorder.GetVideoFormats().FindIndex("I420 720x480"), 0);
    recorder.SetAudioDevice(audioDevices.FindIndex("Test Tone"));
    EXPECT_GE(recorder.GetAudioInputs().Count(), 1);
}

TEST(DeviceLists, DefaultIsTheFirstRealDeviceElseBuiltIn)
{
    std::vector<CVideoDeviceInfo> video(2);
    video[0].eKind = ESourceKind::eScreen;
    video[1].eKind = ESourceKind::eTestPattern;
    EXPECT_EQ(DefaultVideoDeviceIndex(video), 1) << "the screen is no capture device of its own";
    video.insert(video.begin(), CVideoDeviceInfo { "Camera", ESourceKind::eV4l2, "/dev/video0", {}, {} });
    EXPECT_EQ(DefaultVideoDeviceIndex(video), 0);

    std::vector<CAudioDeviceInfo> audio(1);
    audio[0].eKind = ESourceKind::eTestTone;
    EXPECT_EQ(DefaultAudioDeviceIndex(audio), 0);
    audio.insert(audio.begin(), CAudioDeviceInfo { "Mic", ESourceKind::eAlsa, "plughw:0,0", {} });
    EXPECT_EQ(DefaultAudioDeviceIndex(audio), 0);

    CRecorder recorder;
    const CNameList devices = recorder.GetVideoDevices();
    const bool bHasCamera = devices.Count() > (IsDisplayReachable() ? 2 : 1);
    if (!bHasCamera) {
        EXPECT_EQ(devices.Name(recorder.GetVideoDevice()), "Test Pattern");
    }
}

TEST(DeviceLists, NoDisplayMeansNoScreen)
{
    const char* pszOld = std::getenv("DISPLAY");
    const std::string strOld = pszOld ? pszOld : "";
    setenv("DISPLAY", ":987", 1);
    EXPECT_FALSE(IsDisplayReachable());
    for (const CVideoDeviceInfo& device : ListVideoDevices())
        EXPECT_NE(device.strName, "Screen");
    if (pszOld)
        setenv("DISPLAY", strOld.c_str(), 1);
    else
        unsetenv("DISPLAY");
}

TEST(Compressors, ListEncodersWithTheirOptions)
{
    CRecorder recorder;
    const CNameList video = recorder.GetVideoCompressors();
    const CNameList audio = recorder.GetAudioCompressors();
    const short nMpeg2 = video.FindIndex("MPEG-2 video (mpeg2video)");
    const short nMp2 = audio.FindIndex("MP2 (MPEG audio layer 2) (mp2)");
    ASSERT_GE(nMpeg2, 0);
    ASSERT_GE(nMp2, 0);
    EXPECT_TRUE(recorder.HasCompressorOptions(ECompressorKind::eVideo, nMpeg2));
    EXPECT_FALSE(recorder.HasCompressorOptions(ECompressorKind::eVideo, -1));

    const std::vector<CCompressorOption> options = recorder.GetCompressorOptions(ECompressorKind::eVideo, nMpeg2);
    const auto intraVlc = std::find_if(options.begin(), options.end(),
                                       [](const CCompressorOption& option) { return option.strName == "intra_vlc"; });
    ASSERT_NE(intraVlc, options.end());
    EXPECT_EQ(intraVlc->strType, "bool");

    std::string strReason;
    EXPECT_TRUE(recorder.SetCompressorOption(ECompressorKind::eVideo, nMpeg2, "intra_vlc", "1", strReason))
        << strReason;
    EXPECT_EQ(recorder.GetCompressorOption(ECompressorKind::eVideo, nMpeg2, "intra_vlc"), "1");
    struct CBadOption
    {
        const char* pszOption;
        const char* pszValue;
    } const badOptions[] = { { "intra_vlc", "maybe" }, { "no_such_option", "1" } };
    for (const CBadOption& bad : badOptions) {
        SCOPED_TRACE(bad.pszOption);
        strReason.clear();
        EXPECT_FALSE(
            recorder.SetCompressorOption(ECompressorKind::eVideo, nMpeg2, bad.pszOption, bad.pszValue, strReason));
        EXPECT_NE(strReason, "");
    }
    EXPECT_EQ(recorder.GetCompressorOption(ECompressorKind::eVideo, nMpeg2, "no_such_option"), "");
}
