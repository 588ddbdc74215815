#include "app/QuitSignals.h"

#include <array>
#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>

namespace {

constexpr std::array<int, 3> QUIT_SIGNALS = { SIGTERM, SIGINT, SIGHUP };

// The handler reaches the pipe through this; a signal arriving before or
// after an instance exists finds -1 and is dropped.
volatile sig_atomic_t g_nWriteFd = -1;
// Set by the handler itself, so a signal is known before the event loop
// has read the pipe (while a skin loads, say).
volatile sig_atomic_t g_bReceived = 0;
std::array<struct sigaction, QUIT_SIGNALS.size()> g_previousActions {};

} // namespace

CQuitSignals::CQuitSignals(QObject* pParent)
    : QObject(pParent)
{
    int fds[2];
    if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_nReadFd = fds[0];
    m_nWriteFd = fds[1];
    g_bReceived = 0;
    g_nWriteFd = m_nWriteFd;
    m_pNotifier = new QSocketNotifier(m_nReadFd, QSocketNotifier::Read, this);
    connect(m_pNotifier, &QSocketNotifier::activated, this, &CQuitSignals::ReadPipe);

    struct sigaction action = {};
    action.sa_handler = &CQuitSignals::Handle;
    sigemptyset(&action.sa_mask);
    // Interrupted system calls resume; the event loop sees the pipe.
    action.sa_flags = SA_RESTART;
    m_bInstalled = true;
    for (std::size_t nIndex = 0; nIndex < QUIT_SIGNALS.size(); ++nIndex)
        m_bInstalled = sigaction(QUIT_SIGNALS[nIndex], &action, &g_previousActions[nIndex]) == 0 && m_bInstalled;
}

CQuitSignals::~CQuitSignals()
{
    for (std::size_t nIndex = 0; nIndex < QUIT_SIGNALS.size(); ++nIndex)
        sigaction(QUIT_SIGNALS[nIndex], &g_previousActions[nIndex], nullptr);
    g_nWriteFd = -1;
    if (m_nReadFd >= 0) {
        close(m_nReadFd);
        close(m_nWriteFd);
    }
}

void CQuitSignals::Handle(int nSignal)
{
    const int nSavedErrno = errno;
    const int nWriteFd = g_nWriteFd;
    if (nWriteFd >= 0) {
        g_bReceived = 1;
        const unsigned char byteSignal = static_cast<unsigned char>(nSignal);
        // A full pipe already holds a request; losing this one loses nothing.
        [[maybe_unused]] const ssize_t nWritten = write(nWriteFd, &byteSignal, 1);
    }
    errno = nSavedErrno;
}

bool CQuitSignals::HasReceived() const
{
    return m_bInstalled && g_bReceived != 0;
}

void CQuitSignals::ReadPipe()
{
    unsigned char byteSignal = 0;
    while (read(m_nReadFd, &byteSignal, 1) == 1)
        emit Received(byteSignal);
}
