#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <string_view>

#include "base/FramePictureFiles.h"

// The frame pictures as the window names and numbers them; what the names
// and numbers are is decided in base/FramePictureFiles.h.
namespace FramePictureNames {

inline const QString NO_FRAME_FILE = QString::fromLatin1(NO_FRAME_PICTURE_FILE);
// The catalogue's source text of the picture that draws nothing: the list
// shows its entry in the user's language, the other entries as they are.
inline constexpr const char* NO_FRAME_ENTRY = QT_TRANSLATE_NOOP("FramePictureNames", "No frame");
static_assert(std::string_view(NO_FRAME_ENTRY) == NO_FRAME_PICTURE_ENTRY);

// The frame dialog's entries for the Frame folder's files, in their order.
QStringList ListEntries(const QStringList& arrFileNames);

// The number the recorder takes for the picture the settings hold at
// nListIndex.
short VideoFrameOf(int nListIndex);

} // namespace FramePictureNames
