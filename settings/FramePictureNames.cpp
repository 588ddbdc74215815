#include "settings/FramePictureNames.h"

#include "engine/FramePicture.h"

QStringList ListFramePictureNames()
{
    QStringList arrNames;
    for (const std::string& strName : ListFramePictures(FindFramePictureFolder()))
        arrNames.append(QString::fromStdString(strName));
    return arrNames;
}
