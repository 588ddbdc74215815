// Start-up of the real main window: prints the milliseconds from the moment
// the process was launched (SKINREC_LAUNCH_NS, set by bench/startup.sh just
// before it starts this program) to the end of the window's first paint,
// then quits. The window loads its skin as the program does, from the
// current directory first, so the script can offer it a package without
// the notifier picture.
#include <cstdio>
#include <ctime>

#include <QApplication>
#include <QTimer>

#include "app/ConverterDlg.h"
#include "app/MessageBoxPrompt.h"

namespace {

constexpr qint64 NS_PER_MS = 1000000;

qint64 NowNs()
{
    timespec now {};
    clock_gettime(CLOCK_REALTIME, &now);
    return qint64(now.tv_sec) * 1000 * NS_PER_MS + now.tv_nsec;
}

// Reports once, after the first paint has reached the screen.
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
        if (pEvent->type() == QEvent::Paint && !m_bSeen) {
            m_bSeen = true;
            QTimer::singleShot(0, qApp, [this] {
                std::printf("%.1f\n", double(NowNs() - m_nLaunchNs) / NS_PER_MS);
                QApplication::quit();
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
    QApplication app(argc, argv);
    CMessageBoxPrompt prompt;
    CConverterDlg dialog(prompt);
    CFirstPaintWatch watch(nLaunchNs);
    dialog.installEventFilter(&watch);
    dialog.show();
    return app.exec();
}
