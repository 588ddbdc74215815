// Start-up of the program as it starts for a user, with its session bus
// service or without one (remote.sh runs it both ways): the name claimed
// before the window is made, the window, its recorder's control on the bus.
// Prints the milliseconds from the moment the process was launched
// (SKINREC_LAUNCH_NS, set by bench/remote.sh just before it starts this
// program) to the end of the window's first paint, then closes the window.
#include "app/ConverterApp.h"
#include "bench/FirstPaintWatch.h"

int main(int argc, char** argv)
{
    const qint64 nLaunchNs = LaunchNs();
    CConverterApp app(argc, argv);
    // Watches every object: the window is made inside the program's start.
    CFirstPaintWatch watch(nLaunchNs, [](CConverterDlg& window) { window.accept(); });
    app.installEventFilter(&watch);
    return app.InitInstance();
}
