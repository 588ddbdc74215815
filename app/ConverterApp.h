#pragma once

#include <QApplication>

#include "app/QuitSignals.h"

// The application: runs the main window until it closes, by whatever means;
// then the program ends.
class CConverterApp : public QApplication
{
    Q_OBJECT

public:
    // The exit status when no skin package could be loaded.
    static constexpr int EXIT_NO_SKIN = 1;

    CConverterApp(int& argc, char** argv);

    // Runs the main window; returns the process's exit code: 0, or
    // EXIT_NO_SKIN without a window.
    int InitInstance();

private:
    // Made with the application object, so a quit signal while the start-up
    // skin loads or asks something ends the program as cleanly as one while
    // it runs; one that came even before is reported by it.
    CQuitSignals m_quitSignals;
};
