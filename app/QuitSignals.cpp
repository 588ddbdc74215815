#include "app/QuitSignals.h"

#include <array>
#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>

namespace {

constexpr std::array<int, 3> QUIT_SIGNALS = { SIGTERM, SIGINT, SIGHUP };

// The handler reaches the pipe through this; a signal arriving while no
// instance exists finds -1 and is only noted below.
volatile sig_atomic_t g_nWriteFd = -1;
// The last signal that came, set by the handler itself: so a signal is
// known before the event loop has read the pipe (while a skin loads, say),
// and one caught before any instance existed is passed on to the first.
volatile sig_atomic_t g_nReceived = 0;
std::array<struct sigaction, QUIT_SIGNALS.size()> g_previousActions {};

struct sigaction HandlerAction()
{
    struct sigaction action = {};
    action.sa_handler = &CQuitSignals::Handle;
    sigemptyset(&action.sa_mask);
    // Interrupted system calls resume; the event loop sees the pipe.
    action.sa_flags = SA_RESTART;
    return action;
}

} // namespace

void CQuitSignals::CatchBeforeApplication()
{
    const struct sigaction action = HandlerAction();
    for (const int nSignal : QUIT_SIGNALS)
        sigaction(nSignal, &action, nullptr);
}

CQuitSignals::CQuitSignals(QObject* pParent)
    : QObject(pParent)
{
    int fds[2];
    if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_nReadFd = fds[0];
    m_nWriteFd = fds[1];
    g_nWriteFd = m_nWriteFd;
    m_pNotifier = new QSocketNotifier(m_nReadFd, QSocketNotifier::Read, this);
    connect(m_pNotifier, &QSocketNotifier::activated, this, &CQuitSignals::ReadPipe);

    const struct sigaction action = HandlerAction();
    m_bInstalled = true;
    for (std::size_t nIndex = 0; nIndex < QUIT_SIGNALS.size(); ++nIndex)
        m_bInstalled = sigaction(QUIT_SIGNALS[nIndex], &action, &g_previousActions[nIndex]) == 0 && m_bInstalled;
    if (g_nReceived != 0) {
        const unsigned char byteSignal = static_cast<unsigned char>(g_nReceived);
        [[maybe_unused]] const ssize_t nWritten = write(m_nWriteFd, &byteSignal, 1);
    }
}

CQuitSignals::~CQuitSignals()
{
    for (std::size_t nIndex = 0; nIndex < QUIT_SIGNALS.size(); ++nIndex)
        sigaction(QUIT_SIGNALS[nIndex], &g_previousActions[nIndex], nullptr);
    g_nWriteFd = -1;
    // What this instance was told is not passed on to the next.
    g_nReceived = 0;
    if (m_nReadFd >= 0) {
        close(m_nReadFd);
        close(m_nWriteFd);
    }
}

void CQuitSignals::Handle(int nSignal)
{
    const int nSavedErrno = errno;
    g_nReceived = nSignal;
    const int nWriteFd = g_nWriteFd;
    if (nWriteFd >= 0) {
        const unsigned char byteSignal = static_cast<unsigned char>(nSignal);
        // A full pipe already holds a request; losing this one loses nothing.
        [[maybe_unused]] const ssize_t nWritten = write(nWriteFd, &byteSignal, 1);
    }
    errno = nSavedErrno;
}

bool CQuitSignals::HasReceived() const
{
    return m_bInstalled && g_nReceived != 0;
}

void CQuitSignals::ReadPipe()
{
    unsigned char byteSignal = 0;
    while (read(m_nReadFd, &byteSignal, 1) == 1)
        emit Received(byteSignal);
}
