#include "app/ConverterApp.h"

#include "app/ConverterDlg.h"
#include "app/MessageBoxPrompt.h"
#include "app/ProgramIdentity.h"

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
    // Returns however the window closes: its exit or close button, the
    // window system's close, or the session ending.
    dialog.RunAsMainWindow();
    return 0;
}
