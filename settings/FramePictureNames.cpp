#include "settings/FramePictureNames.h"

#include <QCoreApplication>

namespace FramePictureNames {

QStringList ListEntries(const QStringList& arrFileNames)
{
    QStringList arrEntries;
    for (const QString& strFile : arrFileNames)
        arrEntries.append(
            QCoreApplication::translate("FramePictureNames", FramePictureEntry(strFile.toStdString()).c_str()));
    return arrEntries;
}

short VideoFrameOf(int nListIndex)
{
    // The recorder's property is 16 bits wide; it takes the low word.
    return static_cast<short>(FramePictureNumber(nListIndex));
}

} // namespace FramePictureNames
