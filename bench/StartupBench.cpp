// Start-up of the real main window: prints the milliseconds from the moment
// the process was launched (SKINREC_LAUNCH_NS, set by bench/startup.sh just
// before it starts this program) to the end of the window's first paint,
// then quits. The window loads its skin as the program does, from the
// current directory first, so the script can offer it a package without
// the notifier picture.
#include <QApplication>

#include "app/ConverterDlg.h"
#include "app/MessageBoxPrompt.h"
#include "bench/FirstPaintWatch.h"

int main(int argc, char** argv)
{
    const qint64 nLaunchNs = LaunchNs();
    QApplication app(argc, argv);
    CMessageBoxPrompt prompt;
    CConverterDlg dialog(prompt);
    CFirstPaintWatch watch(nLaunchNs, [](CConverterDlg&) { QApplication::quit(); });
    dialog.installEventFilter(&watch);
    dialog.show();
    return app.exec();
}
