// Reads the input as a Skin.ini: every key of the sections skins use, every
// value cut into fields and converted the ways the window converts them.

#include <cstddef>
#include <cstdint>

#include "fuzz/FuzzInput.h"
#include "skin/IniFile.h"
#include "skin/SkinFields.h"
#include "skin/SkinFormat.h"

namespace {

// One field more than the section has reaches the repeated last field too.
void ConvertEveryField(const SkinFormat::CSectionFormat& format, QString strValue)
{
    QString strRect = strValue;
    SkinFields::ParseRect(strRect);
    for (int i = 0; i <= format.FieldCount(); ++i) {
        const QString strField = SkinFields::NextField(strValue);
        SkinFields::ToInt(strField);
        SkinFields::ParseColor(strField);
        SkinFields::IsFlagSet(strField);
        SkinFields::IsVertical(strField);
        SkinFields::IsEnabled(strField);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    const QString strPath = WriteFuzzInput(QStringLiteral("Skin.ini"), pData, nSize);
    if (strPath.isEmpty())
        return 0;
    const CIniFile ini(strPath);
    for (const SkinFormat::CSectionFormat* pFormat : SkinFormat::SECTIONS) {
        QStringList arrKeys;
        ini.GetKeyNames(pFormat->Section(), arrKeys);
        for (const QString& strKey : arrKeys)
            ConvertEveryField(*pFormat, ini.GetString(pFormat->Section(), strKey, QString()));
        for (const SkinFields::CControlEntry& entry : SkinFields::ReadControlList(ini, pFormat->Section()))
            ConvertEveryField(*pFormat, entry.strValue);
    }
    return 0;
}
