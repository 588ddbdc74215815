#pragma once

#include <QProcessEnvironment>
#include <QStringList>

// The skin's shaped window and the notifier popup, which places itself at
// the taskbar, need X11: Wayland lets no program shape or place its own
// windows. On a Wayland desktop that offers XWayland the program runs there,
// unless the user chose a platform plugin.
namespace PlatformChoice {

inline constexpr char PLATFORM_VARIABLE[] = "QT_QPA_PLATFORM";
inline constexpr char X11_PLATFORM[] = "xcb";

// Whether the program should ask Qt for its X11 platform, given the
// process's environment and command line (program name first).
bool ShouldRunOnXWayland(const QProcessEnvironment& environment, const QStringList& arrArguments);

// Before the application object exists: Qt picks its platform then.
void ChooseXWaylandWhereNeeded(int argc, char** argv);

} // namespace PlatformChoice
