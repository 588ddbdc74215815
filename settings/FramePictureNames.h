#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

// Convert and Play lay frame picture 1, the first file of the Frame folder,
// over the video unless the user picks another. So the folder we ship
// starts with a picture that draws nothing: a default recording stays
// clean, and picking it again takes a frame off.
namespace FramePictureNames {

// Sorts before every other picture we ship; every pixel is the transparent
// colour.
inline const QString NO_FRAME_FILE = QStringLiteral("Frame00.bif");
// The source text; the list shows it in the user's language.
inline constexpr const char* NO_FRAME_ENTRY = QT_TRANSLATE_NOOP("FramePictureNames", "No frame");

// The frame dialog's entries for the Frame folder's files, in their order:
// the picture that draws nothing reads as such, the others by file name.
QStringList ListEntries(const QStringList& arrFileNames);

} // namespace FramePictureNames
