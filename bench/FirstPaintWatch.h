// The start-up benchmarks' measure: the milliseconds from the moment the
// process was launched (SKINREC_LAUNCH_NS, set by the script just before it
// starts the program) to the end of the main window's first paint.
#pragma once

#include <cstdio>
#include <ctime>
#include <functional>

#include <QEvent>
#include <QTimer>

#include "app/ConverterDlg.h"

inline constexpr qint64 NS_PER_MS = 1000000;

inline qint64 NowNs()
{
    timespec now {};
    clock_gettime(CLOCK_REALTIME, &now);
    return qint64(now.tv_sec) * 1000 * NS_PER_MS + now.tv_nsec;
}

// SKINREC_LAUNCH_NS, or now when the program was started by hand.
inline qint64 LaunchNs()
{
    bool bLaunchGiven = false;
    const qint64 nGivenNs = qEnvironmentVariable("SKINREC_LAUNCH_NS").toLongLong(&bLaunchGiven);
    return bLaunchGiven ? nGivenNs : NowNs();
}

// Prints the measure once, after the main window's first paint has reached
// the screen, then hands the window to what ends the run.
class CFirstPaintWatch : public QObject
{
public:
    CFirstPaintWatch(qint64 nLaunchNs, std::function<void(CConverterDlg&)> afterPrint)
        : m_nLaunchNs(nLaunchNs)
        , m_afterPrint(std::move(afterPrint))
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
                m_afterPrint(*pWindow);
            });
        }
        return QObject::eventFilter(pWatched, pEvent);
    }

private:
    qint64 m_nLaunchNs;
    std::function<void(CConverterDlg&)> m_afterPrint;
    bool m_bSeen = false;
};
