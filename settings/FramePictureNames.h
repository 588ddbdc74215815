#pragma once

#include <QString>
#include <QStringList>

#include "base/FramePictureFiles.h"

// The frame pictures as the window names and numbers them; what the names
// and numbers are is decided in base/FramePictureFiles.h.
namespace FramePictureNames {

inline const QString NO_FRAME_FILE = QString::fromLatin1(NO_FRAME_PICTURE_FILE);
inline const QString NO_FRAME_ENTRY = QString::fromLatin1(NO_FRAME_PICTURE_ENTRY);

// The frame dialog's entries for the Frame folder's files, in their order.
QStringList ListEntries(const QStringList& arrFileNames);

// The number the recorder takes for the picture the settings hold at
// nListIndex.
short VideoFrameOf(int nListIndex);

} // namespace FramePictureNames
