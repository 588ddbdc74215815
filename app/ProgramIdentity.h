#pragma once

#include <QIcon>
#include <QString>

// How the program names itself to the window system and the desktop: the
// window class and desktop file name a taskbar groups its windows by, the
// name people read, and the icon.
namespace ProgramIdentity {

inline const QString NAME = QStringLiteral("skinrecorder");
inline const QString DISPLAY_NAME = QStringLiteral("SkinRecorder");
// The desktop's name for the program: its desktop file's and its icon's
// name, and its name, object interface and error prefix on the session bus.
// A macro too, for moc's class information, which takes only literals.
#define SKINREC_APPLICATION_ID "org.skinrecorder.SkinRecorder"
inline const QString APPLICATION_ID = QStringLiteral(SKINREC_APPLICATION_ID);

// The icon the desktop file names, at every size the build draws it.
QIcon Icon();

// Before the first window is made: the window class is taken from the
// application's name when a window is created.
void Apply();

} // namespace ProgramIdentity
