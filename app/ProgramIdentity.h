#pragma once

#include <QIcon>
#include <QString>

// How the program names itself to the window system and the desktop: the
// window class and desktop file name a taskbar groups its windows by, the
// name people read, and the icon.
namespace ProgramIdentity {

inline const QString NAME = QStringLiteral("skinrecorder");
inline const QString DISPLAY_NAME = QStringLiteral("SkinRecorder");
// The reverse-domain name desktop services know the program by: its desktop
// file's base name and its icon's name.
inline const QString APPLICATION_ID = QStringLiteral("org.skinrecorder.SkinRecorder");

// The icon the desktop file names, at every size the build draws it.
QIcon Icon();

// Before the first window is made: the window class is taken from the
// application's name when a window is created.
void Apply();

} // namespace ProgramIdentity
