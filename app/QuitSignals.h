#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP (kill, Ctrl+C in the terminal, logging
// out) into a signal on the UI thread, so the program can close its
// recording the way Stop does before it exits. The handler itself only
// writes the signal's number into a pipe, the one thing safe to do there.
// One instance at a time; UI thread only.
class CQuitSignals : public QObject
{
    Q_OBJECT

public:
    explicit CQuitSignals(QObject* pParent = nullptr);
    ~CQuitSignals() override; // restores the handlers found before

    // False when the pipe or a handler could not be set up; the program
    // then runs with the system's default actions.
    bool IsInstalled() const { return m_bInstalled; }
    // Whether a signal has come since this instance set up the handlers,
    // also one that Received has not reported yet.
    bool HasReceived() const;

signals:
    void Received(int nSignal);

private:
    static void Handle(int nSignal);
    void ReadPipe();

    int m_nReadFd = -1;
    int m_nWriteFd = -1;
    bool m_bInstalled = false;
    QSocketNotifier* m_pNotifier = nullptr;
};
