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
    // Before the application object exists: a signal is then only noted,
    // and the first instance reports it. An instance needs the application
    // object (its event loop reads the pipe).
    static void CatchBeforeApplication();

    explicit CQuitSignals(QObject* pParent = nullptr);
    ~CQuitSignals() override; // restores the handlers found before

    // False when the pipe or a handler could not be set up; the program
    // then runs with the system's default actions.
    bool IsInstalled() const { return m_bInstalled; }
    // Whether a signal has come since this instance set up the handlers (or
    // before, once CatchBeforeApplication was called), also one that
    // Received has not reported yet.
    bool HasReceived() const;

    // The handler itself; async-signal-safe.
    static void Handle(int nSignal);

signals:
    void Received(int nSignal);

private:
    void ReadPipe();

    int m_nReadFd = -1;
    int m_nWriteFd = -1;
    bool m_bInstalled = false;
    QSocketNotifier* m_pNotifier = nullptr;
};
