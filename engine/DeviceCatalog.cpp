#include "engine/DeviceCatalog.h"

#include <cctype>
#include <cstddef>
#include <cstdlib>
#include <cstring>

#include <alsa/asoundlib.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

extern "C" {
#include <libavdevice/avdevice.h>
#include <libavformat/avformat.h>
#include <libavutil/pixdesc.h>
}

#include "engine/AvPtr.h"
#include "engine/MediaSource.h"
#include "engine/V4l2Device.h"

namespace {

// Sizes offered for the test pattern; it draws any size, these are the usual
// MPEG ones.
constexpr struct
{
    int nWidth;
    int nHeight;
} TEST_PATTERN_SIZES[] = { { 352, 240 }, { 352, 288 }, { 640, 480 }, { 720, 480 }, { 720, 576 } };

CVideoDeviceInfo MakeTestPattern()
{
    CVideoDeviceInfo info;
    info.strName = TEST_PATTERN_NAME;
    info.eKind = ESourceKind::eTestPattern;
    info.inputs = { "Default" };
    for (const auto& size : TEST_PATTERN_SIZES) {
        info.formats.push_back({ "I420 " + std::to_string(size.nWidth) + "x" + std::to_string(size.nHeight), "yuv420p",
                                 size.nWidth, size.nHeight });
    }
    return info;
}

// The screen's size is what x11grab reports when it opens the display.
CVideoDeviceInfo MakeScreen()
{
    CVideoDeviceInfo info;
    info.strName = SCREEN_NAME;
    info.eKind = ESourceKind::eScreen;
    const char* pszDisplay = std::getenv("DISPLAY");
    info.strUrl = pszDisplay ? pszDisplay : "";
    info.inputs = { "Default" };
    AVFormatContext* pRawContext = nullptr;
    if (avformat_open_input(&pRawContext, info.strUrl.c_str(), av_find_input_format("x11grab"), nullptr) == 0) {
        const CInputContextPtr pContext(pRawContext); // owns the opened grabber
        if (pContext->nb_streams > 0) {
            const AVCodecParameters* pParameters = pContext->streams[0]->codecpar;
            const char* pszPixelFormat = av_get_pix_fmt_name(static_cast<AVPixelFormat>(pParameters->format));
            std::string strPixelFormat = pszPixelFormat ? pszPixelFormat : "RGB";
            for (char& c : strPixelFormat)
                c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            info.formats.push_back(
                { strPixelFormat + " " + std::to_string(pParameters->width) + "x" + std::to_string(pParameters->height),
                  "", pParameters->width, pParameters->height });
        }
    }
    return info;
}

// Its size is the shared monitor's or window's, known once the person has
// chosen one.
CVideoDeviceInfo MakePortalScreen()
{
    CVideoDeviceInfo info;
    info.strName = PORTAL_SCREEN_NAME;
    info.eKind = ESourceKind::ePipeWire;
    info.inputs = { "Default" };
    return info;
}

std::vector<CAudioDeviceInfo> ListPulseSources()
{
    std::vector<CAudioDeviceInfo> devices;
    const AVInputFormat* pPulse = av_find_input_format("pulse");
    if (!pPulse)
        return devices;
    AVDeviceInfoList* pList = nullptr;
    if (avdevice_list_input_sources(pPulse, nullptr, nullptr, &pList) < 0) {
        avdevice_free_list_devices(&pList);
        return devices;
    }
    for (int nIndex = 0; nIndex < pList->nb_devices; ++nIndex) {
        const AVDeviceInfo* pDevice = pList->devices[nIndex];
        CAudioDeviceInfo info;
        info.strName = pDevice->device_description ? pDevice->device_description : pDevice->device_name;
        info.eKind = ESourceKind::ePulse;
        info.strUrl = pDevice->device_name;
        info.inputs = { "Default" };
        info.bSystemDefault = nIndex == pList->default_device;
        devices.push_back(std::move(info));
    }
    avdevice_free_list_devices(&pList);
    return devices;
}

// Hands each element of a card's mixer ("hw:N") to visit until it returns
// false; a mixer that does not open or load has none.
template <typename TVisit>
void ForEachMixerElement(const std::string& strCard, TVisit visit)
{
    snd_mixer_t* pMixer = nullptr;
    if (snd_mixer_open(&pMixer, 0) != 0)
        return;
    if (snd_mixer_attach(pMixer, strCard.c_str()) == 0 && snd_mixer_selem_register(pMixer, nullptr, nullptr) == 0
        && snd_mixer_load(pMixer) == 0) {
        for (snd_mixer_elem_t* pElement = snd_mixer_first_elem(pMixer); pElement;
             pElement = snd_mixer_elem_next(pElement)) {
            if (!visit(pElement))
                break;
        }
    }
    snd_mixer_close(pMixer);
}

// The capture sources of a card are its mixer elements that can capture.
std::vector<std::string> ListAlsaCaptureSources(const std::string& strCard)
{
    std::vector<std::string> sources;
    ForEachMixerElement(strCard, [&sources](snd_mixer_elem_t* pElement) {
        if (snd_mixer_selem_has_capture_switch(pElement) || snd_mixer_selem_has_capture_volume(pElement))
            sources.emplace_back(snd_mixer_selem_get_name(pElement));
        return true;
    });
    if (sources.empty())
        sources.emplace_back("Default");
    return sources;
}

void AddAlsaCardDevices(int nCard, std::vector<CAudioDeviceInfo>& devices)
{
    snd_ctl_t* pControl = nullptr;
    const std::string strCard = "hw:" + std::to_string(nCard);
    if (snd_ctl_open(&pControl, strCard.c_str(), SND_CTL_NONBLOCK) < 0)
        return;
    snd_ctl_card_info_t* pCardInfo = nullptr;
    snd_ctl_card_info_alloca(&pCardInfo);
    snd_pcm_info_t* pPcmInfo = nullptr;
    snd_pcm_info_alloca(&pPcmInfo);
    if (snd_ctl_card_info(pControl, pCardInfo) == 0) {
        const std::vector<std::string> sources = ListAlsaCaptureSources(strCard);
        int nDevice = -1;
        while (snd_ctl_pcm_next_device(pControl, &nDevice) == 0 && nDevice >= 0) {
            snd_pcm_info_set_device(pPcmInfo, static_cast<unsigned int>(nDevice));
            snd_pcm_info_set_subdevice(pPcmInfo, 0);
            snd_pcm_info_set_stream(pPcmInfo, SND_PCM_STREAM_CAPTURE);
            if (snd_ctl_pcm_info(pControl, pPcmInfo) < 0)
                continue;
            CAudioDeviceInfo info;
            info.strName = std::string(snd_ctl_card_info_get_name(pCardInfo)) + ": " + snd_pcm_info_get_name(pPcmInfo);
            info.eKind = ESourceKind::eAlsa;
            // plughw converts rate and format, so any profile can be asked for.
            info.strUrl = "plughw:" + std::to_string(nCard) + "," + std::to_string(nDevice);
            info.inputs = sources;
            devices.push_back(std::move(info));
        }
    }
    snd_ctl_close(pControl);
}

std::vector<CAudioDeviceInfo> ListAlsaDevices()
{
    std::vector<CAudioDeviceInfo> devices;
    int nCard = -1;
    while (snd_card_next(&nCard) == 0 && nCard >= 0)
        AddAlsaCardDevices(nCard, devices);
    return devices;
}

bool CanConnectUnixSocket(const std::string& strPath, bool bAbstract)
{
    const int nSocket = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (nSocket < 0)
        return false;
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    const std::size_t nOffset = bAbstract ? 1 : 0;
    if (strPath.size() + nOffset >= sizeof(address.sun_path)) {
        close(nSocket);
        return false;
    }
    std::memcpy(address.sun_path + nOffset, strPath.data(), strPath.size());
    const socklen_t nLength =
        static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + nOffset + strPath.size() + (bAbstract ? 0 : 1));
    const bool bConnected = connect(nSocket, reinterpret_cast<const sockaddr*>(&address), nLength) == 0;
    close(nSocket);
    return bConnected;
}

} // namespace

bool SelectAlsaCaptureSource(const CAudioDeviceInfo& device, int nInput)
{
    // The device's address is "plughw:CARD,DEVICE"; its mixer is "hw:CARD".
    const std::size_t nColon = device.strUrl.find(':');
    const std::size_t nComma = device.strUrl.find(',');
    if (device.eKind != ESourceKind::eAlsa || nColon == std::string::npos || nComma == std::string::npos || nInput < 0
        || static_cast<std::size_t>(nInput) >= device.inputs.size())
        return false;
    const std::string strCard = "hw:" + device.strUrl.substr(nColon + 1, nComma - nColon - 1);
    const std::string& strInput = device.inputs[nInput];
    bool bSelected = false;
    ForEachMixerElement(strCard, [&strInput, &bSelected](snd_mixer_elem_t* pElement) {
        if (strInput != snd_mixer_selem_get_name(pElement) || !snd_mixer_selem_has_capture_switch(pElement))
            return true;
        bSelected = snd_mixer_selem_set_capture_switch_all(pElement, 1) == 0;
        return false;
    });
    return bSelected;
}

bool IsDisplayReachable()
{
    const char* pszDisplay = std::getenv("DISPLAY");
    if (!pszDisplay || !*pszDisplay)
        return false;
    const std::string strDisplay = pszDisplay;
    const std::size_t nColon = strDisplay.rfind(':');
    if (nColon == std::string::npos)
        return false;
    const std::string strHost = strDisplay.substr(0, nColon);
    if (!strHost.empty() && strHost != "unix") {
        // A remote display: whether x11grab reaches it is found out on open.
        return true;
    }
    const std::string strNumber = strDisplay.substr(nColon + 1, strDisplay.find('.', nColon) - nColon - 1);
    const std::string strSocket = "/tmp/.X11-unix/X" + strNumber;
    return CanConnectUnixSocket(strSocket, true) || CanConnectUnixSocket(strSocket, false);
}

std::vector<CVideoDeviceInfo> ListVideoDevices(const CPortalProbe& portalProbe)
{
    RegisterCaptureDevices();
    std::vector<CVideoDeviceInfo> devices = ListV4l2Devices();
    if (IsDisplayReachable())
        devices.push_back(MakeScreen());
    if (portalProbe && portalProbe())
        devices.push_back(MakePortalScreen());
    devices.push_back(MakeTestPattern());
    return devices;
}

std::vector<CAudioDeviceInfo> ListAudioDevices()
{
    RegisterCaptureDevices();
    std::vector<CAudioDeviceInfo> devices = ListPulseSources();
    for (CAudioDeviceInfo& device : ListAlsaDevices())
        devices.push_back(std::move(device));
    CAudioDeviceInfo tone;
    tone.strName = TEST_TONE_NAME;
    tone.eKind = ESourceKind::eTestTone;
    tone.inputs = { "Default" };
    devices.push_back(std::move(tone));
    return devices;
}

int DefaultVideoDeviceIndex(const std::vector<CVideoDeviceInfo>& devices)
{
    for (std::size_t nIndex = 0; nIndex < devices.size(); ++nIndex) {
        if (devices[nIndex].eKind == ESourceKind::eV4l2)
            return static_cast<int>(nIndex);
    }
    for (std::size_t nIndex = 0; nIndex < devices.size(); ++nIndex) {
        if (devices[nIndex].eKind == ESourceKind::eTestPattern)
            return static_cast<int>(nIndex);
    }
    return 0;
}

int DefaultAudioDeviceIndex(const std::vector<CAudioDeviceInfo>& devices)
{
    // The first source is often the monitor of the speakers, not a microphone.
    for (std::size_t nIndex = 0; nIndex < devices.size(); ++nIndex) {
        if (devices[nIndex].bSystemDefault)
            return static_cast<int>(nIndex);
    }
    for (std::size_t nIndex = 0; nIndex < devices.size(); ++nIndex) {
        if (devices[nIndex].eKind != ESourceKind::eTestTone)
            return static_cast<int>(nIndex);
    }
    return static_cast<int>(devices.size()) - 1;
}
