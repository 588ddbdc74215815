#pragma once

#include "engine/DeviceCatalog.h"

#include <string>
#include <vector>

// Every V4L2 node that captures video, named by its card (numbered when two
// cards share a name), with its inputs and the formats it offers.
std::vector<CVideoDeviceInfo> ListV4l2Devices();

// Sets the device's audio mute control; false when the device has none.
bool SetV4l2Mute(const std::string& strPath, bool bMute);
