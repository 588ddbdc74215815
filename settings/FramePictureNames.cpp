#include "settings/FramePictureNames.h"

namespace FramePictureNames {

QStringList ListEntries(const QStringList& arrFileNames)
{
    QStringList arrEntries;
    for (const QString& strFile : arrFileNames)
        arrEntries.append(strFile == NO_FRAME_FILE ? NO_FRAME_ENTRY : strFile);
    return arrEntries;
}

} // namespace FramePictureNames
