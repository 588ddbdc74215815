#include "settings/FramePictureNames.h"

#include <QCoreApplication>

namespace FramePictureNames {

QStringList ListEntries(const QStringList& arrFileNames)
{
    QStringList arrEntries;
    for (const QString& strFile : arrFileNames)
        arrEntries.append(strFile == NO_FRAME_FILE ? QCoreApplication::translate("FramePictureNames", NO_FRAME_ENTRY)
                                                   : strFile);
    return arrEntries;
}

} // namespace FramePictureNames
