#include "app/ConverterApp.h"

#include "app/ConverterDlg.h"
#include "app/MessageBoxPrompt.h"
#include "app/ProgramIdentity.h"
#include "app/QuitSignals.h"

CConverterApp::CConverterApp(int& argc, char** argv)
    : QApplication(argc, argv)
{
    ProgramIdentity::Apply();
}

int CConverterApp::InitInstance()
{
    CMessageBoxPrompt prompt;
    CConverterDlg dialog(prompt);
    prompt.SetParent(&dialog);
    CQuitSignals quitSignals;
    connect(&quitSignals, &CQuitSignals::Received, &dialog, &CConverterDlg::EndOnQuitSignal);
    // Returns however the window closes: its exit or close button, the
    // window system's close, or the session ending.
    dialog.RunAsMainWindow();
    return 0;
}
