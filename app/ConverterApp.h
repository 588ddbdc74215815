#pragma once

#include <QApplication>

// The application: runs the main window until it closes, by whatever means;
// then the program ends.
class CConverterApp : public QApplication
{
    Q_OBJECT

public:
    CConverterApp(int& argc, char** argv);

    // Runs the main window; returns the process's exit code.
    int InitInstance();
};
