#pragma once

#include "engine/DeviceCatalog.h"
#include "engine/FieldOrder.h"

#include <cstdint>
#include <string>
#include <vector>

extern "C" {
#include <libavutil/rational.h>
}

// Every V4L2 node that captures video, named by its card (numbered when two
// cards share a name), with its inputs and the formats it offers.
std::vector<CVideoDeviceInfo> ListV4l2Devices();

// Sets the device's audio mute control; false when the device has none.
bool SetV4l2Mute(const std::string& strPath, bool bMute);

// The order of the fields in the pictures the device delivers now (ask it
// while capturing, after the capture set its format); progressive when it
// cannot tell.
EFieldOrder V4l2FieldOrder(const std::string& strPath);

// The field order a V4L2 field layout (V4L2_FIELD_*) stands for under the
// TV standard nStandard (a V4L2_STD_* mask, 0 when the device has none).
EFieldOrder FieldOrderOfV4l2(std::uint32_t nField, std::uint64_t nStandard);

// The shape the device's picture is shown at, whatever size it is scaled
// to: a TV card samples its picture in non-square pixels. 0/1 when the
// device does not tell (VIDIOC_CROPCAP).
AVRational V4l2DisplayAspect(const std::string& strPath);

// The display shape of the area a device samples, nCropWidth x nCropHeight
// pixels whose height is pixelAspectHeightByWidth times their width (V4L2's
// way of giving the pixel aspect).
AVRational DisplayAspectOfV4l2(int nCropWidth, int nCropHeight, AVRational pixelAspectHeightByWidth);
