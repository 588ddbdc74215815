#include "app/ConverterApp.h"

#include <QTextStream>

#include "app/ConverterDlg.h"
#include "app/DesktopStatus.h"
#include "app/MessageBoxPrompt.h"
#include "app/ProgramIdentity.h"
#include "app/RecorderControl.h"
#include "app/RecorderService.h"
#include "app/RemoteCommand.h"

CConverterApp::CConverterApp(int& argc, char** argv)
    : QApplication(argc, argv)
{
    ProgramIdentity::Apply();
}

int CConverterApp::InitInstance()
{
    // Asked to end before anything was made.
    if (m_quitSignals.HasReceived())
        return 0;
    // One program at a time: the name is claimed before the window is made,
    // and a second start only brings the first one's window to the front.
    CRecorderService service(QDBusConnection::sessionBus());
    if (service.Claim() == CRecorderService::EClaim::Taken) {
        QTextStream out(stdout);
        QTextStream err(stderr);
        return RemoteCommand::Run(QDBusConnection::sessionBus(),
                                  { RemoteCommand::ECommand::Show, QString(), QString() }, applicationFilePath(), out,
                                  err);
    }
    CMessageBoxPrompt prompt;
    // The window is still being made: a quit signal closes its questions,
    // and it is never shown.
    const QMetaObject::Connection startupQuit =
        connect(&m_quitSignals, &CQuitSignals::Received, this, [&prompt] { prompt.StopAsking(); });
    CConverterDlg dialog(prompt);
    disconnect(startupQuit);
    if (!dialog.HasSkin())
        return EXIT_NO_SKIN;
    if (m_quitSignals.HasReceived())
        return 0;
    prompt.SetParent(&dialog);
    connect(&m_quitSignals, &CQuitSignals::Received, &dialog, &CConverterDlg::EndOnQuitSignal);
    CRecorderControl control(dialog);
    service.ServeTimers(dialog.Timers());
    service.Serve(control);
    // Keeps a recording in sight while the window is hidden or minimised.
    const CDesktopStatus desktopStatus(dialog, control);
    // Timers tell of recordings missed and made while nobody may be at the
    // window.
    CDesktopNotifications timerNotifications([&dialog](const QString& strPath) { dialog.OpenRecordingFile(strPath); });
    dialog.Timers().NotifyThrough(timerNotifications);
    // Returns however the window closes: its exit or close button, the
    // window system's close, or the session ending.
    dialog.RunAsMainWindow();
    return 0;
}
