#include "engine/V4l2Device.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <map>

#include <fcntl.h>
#include <linux/videodev2.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include "engine/PictureFit.h"

namespace {

constexpr int MAX_ENUMERATED_ITEMS = 64;

// Only the pixel formats FFmpeg's v4l2 input can hand on are offered.
struct CFourccName
{
    unsigned int nFourcc;
    const char* pszReadable;
    const char* pszFfmpeg;
};
constexpr CFourccName KNOWN_FORMATS[] = {
    { V4L2_PIX_FMT_YUYV, "YUYV", "yuyv422" },   { V4L2_PIX_FMT_UYVY, "UYVY", "uyvy422" },
    { V4L2_PIX_FMT_YUV420, "I420", "yuv420p" }, { V4L2_PIX_FMT_NV12, "NV12", "nv12" },
    { V4L2_PIX_FMT_RGB24, "RGB24", "rgb24" },   { V4L2_PIX_FMT_BGR24, "BGR24", "bgr24" },
    { V4L2_PIX_FMT_GREY, "GREY", "gray" },      { V4L2_PIX_FMT_MJPEG, "MJPEG", "mjpeg" },
};

class CDeviceFile
{
public:
    explicit CDeviceFile(const std::string& strPath)
        : m_nFd(open(strPath.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC))
    {
    }
    ~CDeviceFile()
    {
        if (m_nFd >= 0)
            close(m_nFd);
    }
    CDeviceFile(const CDeviceFile&) = delete;
    CDeviceFile& operator=(const CDeviceFile&) = delete;

    bool IsOpen() const { return m_nFd >= 0; }
    template <typename T>
    bool Query(unsigned long nRequest, T& value) const
    {
        int nResult;
        do
            nResult = ioctl(m_nFd, nRequest, &value);
        while (nResult < 0 && errno == EINTR);
        return nResult == 0;
    }

private:
    int m_nFd;
};

const CFourccName* FindFormat(unsigned int nFourcc)
{
    for (const CFourccName& format : KNOWN_FORMATS) {
        if (format.nFourcc == nFourcc)
            return &format;
    }
    return nullptr;
}

std::vector<std::string> ListInputs(const CDeviceFile& device)
{
    std::vector<std::string> inputs;
    for (int nIndex = 0; nIndex < MAX_ENUMERATED_ITEMS; ++nIndex) {
        v4l2_input input {};
        input.index = nIndex;
        if (!device.Query(VIDIOC_ENUMINPUT, input))
            break;
        inputs.emplace_back(reinterpret_cast<const char*>(input.name));
    }
    if (inputs.empty())
        inputs.emplace_back("Default");
    return inputs;
}

void AddFrameSizes(const CDeviceFile& device, const CFourccName& format, std::vector<CVideoFormatInfo>& formats)
{
    for (int nIndex = 0; nIndex < MAX_ENUMERATED_ITEMS; ++nIndex) {
        v4l2_frmsizeenum size {};
        size.index = nIndex;
        size.pixel_format = format.nFourcc;
        if (!device.Query(VIDIOC_ENUM_FRAMESIZES, size))
            break;
        int nWidth = 0;
        int nHeight = 0;
        if (size.type == V4L2_FRMSIZE_TYPE_DISCRETE) {
            nWidth = static_cast<int>(size.discrete.width);
            nHeight = static_cast<int>(size.discrete.height);
        } else {
            // A continuous range is offered as its largest size; a custom
            // frame size reaches the rest.
            nWidth = static_cast<int>(size.stepwise.max_width);
            nHeight = static_cast<int>(size.stepwise.max_height);
        }
        formats.push_back(
            { std::string(format.pszReadable) + " " + std::to_string(nWidth) + "x" + std::to_string(nHeight),
              format.pszFfmpeg, nWidth, nHeight });
        if (size.type != V4L2_FRMSIZE_TYPE_DISCRETE)
            break;
    }
}

std::vector<CVideoFormatInfo> ListFormats(const CDeviceFile& device)
{
    std::vector<CVideoFormatInfo> formats;
    for (int nIndex = 0; nIndex < MAX_ENUMERATED_ITEMS; ++nIndex) {
        v4l2_fmtdesc description {};
        description.index = nIndex;
        description.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        if (!device.Query(VIDIOC_ENUM_FMT, description))
            break;
        if (const CFourccName* pFormat = FindFormat(description.pixelformat))
            AddFrameSizes(device, *pFormat, formats);
    }
    return formats;
}

bool CapturesVideo(const v4l2_capability& capability)
{
    const unsigned int nCaps =
        (capability.capabilities & V4L2_CAP_DEVICE_CAPS) ? capability.device_caps : capability.capabilities;
    return (nCaps & V4L2_CAP_VIDEO_CAPTURE) != 0;
}

std::vector<std::string> ListVideoNodes()
{
    std::vector<std::string> nodes;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/dev", error)) {
        const std::string strName = entry.path().filename().string();
        if (strName.rfind("video", 0) == 0)
            nodes.push_back(entry.path().string());
    }
    // Natural order, so video10 follows video9.
    std::sort(nodes.begin(), nodes.end(), [](const std::string& a, const std::string& b) {
        return a.size() != b.size() ? a.size() < b.size() : a < b;
    });
    return nodes;
}

} // namespace

std::vector<CVideoDeviceInfo> ListV4l2Devices()
{
    std::vector<CVideoDeviceInfo> devices;
    std::map<std::string, int> nameCounts;
    for (const std::string& strPath : ListVideoNodes()) {
        const CDeviceFile device(strPath);
        if (!device.IsOpen())
            continue;
        v4l2_capability capability {};
        if (!device.Query(VIDIOC_QUERYCAP, capability) || !CapturesVideo(capability))
            continue;
        CVideoDeviceInfo info;
        info.strName = reinterpret_cast<const char*>(capability.card);
        const int nSameName = ++nameCounts[info.strName];
        if (nSameName > 1)
            info.strName += " (" + std::to_string(nSameName) + ")";
        info.eKind = ESourceKind::eV4l2;
        info.strUrl = strPath;
        info.inputs = ListInputs(device);
        info.formats = ListFormats(device);
        devices.push_back(std::move(info));
    }
    return devices;
}

bool SetV4l2Mute(const std::string& strPath, bool bMute)
{
    const CDeviceFile device(strPath);
    if (!device.IsOpen())
        return false;
    v4l2_control control {};
    control.id = V4L2_CID_AUDIO_MUTE;
    control.value = bMute ? 1 : 0;
    return device.Query(VIDIOC_S_CTRL, control);
}

EFieldOrder FieldOrderOfV4l2(std::uint32_t nField, std::uint64_t nStandard)
{
    switch (nField) {
    case V4L2_FIELD_INTERLACED_TB:
        return EFieldOrder::eTopFirst;
    case V4L2_FIELD_INTERLACED_BT:
        return EFieldOrder::eBottomFirst;
    case V4L2_FIELD_INTERLACED:
        // Woven fields, the older one as the TV standard sends it: the
        // 525-line standards (NTSC) send the bottom field first, all others
        // the top one.
        return (nStandard & V4L2_STD_525_60) ? EFieldOrder::eBottomFirst : EFieldOrder::eTopFirst;
    default:
        // Whole frames, or fields delivered one at a time or one above the
        // other, which are no interlaced picture to an encoder.
        return EFieldOrder::eProgressive;
    }
}

EFieldOrder V4l2FieldOrder(const std::string& strPath)
{
    const CDeviceFile device(strPath);
    v4l2_format format {};
    format.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    if (!device.IsOpen() || !device.Query(VIDIOC_G_FMT, format))
        return EFieldOrder::eProgressive;
    // Devices without TV standards answer nothing and keep 0.
    v4l2_std_id nStandard = 0;
    device.Query(VIDIOC_G_STD, nStandard);
    return FieldOrderOfV4l2(format.fmt.pix.field, nStandard);
}

AVRational V4l2DisplayAspect(const std::string& strPath)
{
    const CDeviceFile device(strPath);
    v4l2_cropcap capabilities {};
    capabilities.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    if (!device.IsOpen() || !device.Query(VIDIOC_CROPCAP, capabilities))
        return AVRational { 0, 1 };
    // The area sampled now; a device that cannot crop samples its default.
    v4l2_crop crop {};
    crop.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    const v4l2_rect area = device.Query(VIDIOC_G_CROP, crop) ? crop.c : capabilities.defrect;
    const v4l2_fract pixel = capabilities.pixelaspect;
    return DisplayAspectOfV4l2(static_cast<int>(area.width), static_cast<int>(area.height),
                               AVRational { static_cast<int>(pixel.numerator), static_cast<int>(pixel.denominator) });
}

AVRational DisplayAspectOfV4l2(int nCropWidth, int nCropHeight, AVRational pixelAspectHeightByWidth)
{
    if (nCropWidth <= 0 || nCropHeight <= 0 || pixelAspectHeightByWidth.num <= 0 || pixelAspectHeightByWidth.den <= 0)
        return AVRational { 0, 1 };
    return DisplayAspect(nCropWidth, nCropHeight, av_inv_q(pixelAspectHeightByWidth));
}
