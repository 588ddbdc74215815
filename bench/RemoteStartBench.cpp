// Start-up of the program as it starts for a user, with its session bus
// service or without one (remote.sh runs it both ways): the name claimed
// before the window is made, the window, its recorder's control on the bus.
// Prints the milliseconds from the moment the process was launched
// (SKINREC_LAUNCH_NS, set by bench/remote.sh just before it starts this
// program) to the end of the window's first paint, then closes the window.
#include <cstdio>
#include <ctime>

#include <QTimer>

#include "app/ConverterApp.h"
#include "app/ConverterDlg.h"

namespace {

constexpr qint64 NS_PER_MS = 1000000;

qint64 NowNs()
{
    timespec now {};
    clock_gettime(CLOCK_REALTIME, &now);
    return qint64(now.tv_sec) * 1000 * NS_PER_MS + now.tv_nsec;
}

// Watches every object: the window is made inside the program's start.
class CFirstPaintWatch : public QObject
{
public:
    explicit CFirstPaintWatch(qint64 nLaunchNs)
        : m_nLaunchNs(nLaunchNs)
    {
    }

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override
    {
        auto* pWindow = qobject_cast<CConverterDlg*>(pWatched);
        if (pWindow && pEvent->type() == QEvent::Paint && !m_bSeen) {
            m_bSeen = true;
            QTimer::singleShot(0, pWindow, [this, pWindow] {
                std::printf("%.1f\n", double(NowNs() - m_nLaunchNs) / NS_PER_MS);
                pWindow->accept();
            });
        }
        return QObject::eventFilter(pWatched, pEvent);
    }

private:
    qint64 m_nLaunchNs;
    bool m_bSeen = false;
};

} // namespace

int main(int argc, char** argv)
{
    bool bLaunchGiven = false;
    const qint64 nGivenNs = qEnvironmentVariable("SKINREC_LAUNCH_NS").toLongLong(&bLaunchGiven);
    const qint64 nLaunchNs = bLaunchGiven ? nGivenNs : NowNs();
    CConverterApp app(argc, argv);
    CFirstPaintWatch watch(nLaunchNs);
    app.installEventFilter(&watch);
    return app.InitInstance();
}
