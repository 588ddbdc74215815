#include "settings/ConversionSettings.h"

ConversionSettings& ConversionSettings::Instance()
{
    static ConversionSettings settings;
    return settings;
}
