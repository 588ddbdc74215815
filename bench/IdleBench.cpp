// What the real main window costs while nothing happens, for idle.sh: once
// with the notifier popup shown (its page loaded) and once after it has
// slid out. For each it prints, as "PHASE KEY VALUE" lines, the share of
// one core the program's threads and the web engine's helper processes took
// over the measuring time, the memory each holds, and the busiest threads.
// The window loads its skin as the program does, from the current
// directory first.
#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QTimer>

#include "app/ConverterDlg.h"
#include "app/MessageBoxPrompt.h"
#include "auxiliary/TaskNotifierDlg.h"

namespace {

constexpr int DEFAULT_MEASURE_S = 10;
// Time for the page to load, or for the helpers to end, before measuring.
constexpr int SETTLE_MS = 5000;
constexpr int POLL_MS = 100;
constexpr int BUSIEST_THREADS = 4;
// Fields of /proc/PID/stat after the command's closing parenthesis.
constexpr int STAT_PPID = 1;
constexpr int STAT_UTIME = 11;
constexpr int STAT_STIME = 12;

QStringList StatFields(const QString& strStatPath, QString* pstrName = nullptr)
{
    QFile file(strStatPath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString strStat = QString::fromLatin1(file.readAll());
    const qsizetype nOpen = strStat.indexOf(u'(');
    const qsizetype nClose = strStat.lastIndexOf(u')');
    if (pstrName != nullptr)
        *pstrName = strStat.mid(nOpen + 1, nClose - nOpen - 1);
    return strStat.mid(nClose + 2).split(u' ');
}

qint64 CpuTicks(const QStringList& arrFields)
{
    return arrFields.value(STAT_UTIME).toLongLong() + arrFields.value(STAT_STIME).toLongLong();
}

// Every process below this one, however deep (the engine's zygote forks
// the renderers).
QList<qint64> Descendants()
{
    QMap<qint64, qint64> mapParent;
    const QStringList arrPids = QDir(QStringLiteral("/proc")).entryList({ QStringLiteral("[0-9]*") }, QDir::Dirs);
    for (const QString& strPid : arrPids)
        mapParent.insert(strPid.toLongLong(), StatFields("/proc/" + strPid + "/stat").value(STAT_PPID).toLongLong());
    QList<qint64> arrFound { getpid() };
    for (qsizetype i = 0; i < arrFound.size(); ++i) {
        for (auto it = mapParent.cbegin(); it != mapParent.cend(); ++it) {
            if (it.value() == arrFound[i])
                arrFound.append(it.key());
        }
    }
    arrFound.removeFirst();
    return arrFound;
}

// A value in kB of /proc/PID/smaps_rollup or status.
qint64 ProcKb(qint64 nPid, const char* pszFile, const QByteArray& arrKey)
{
    QFile file(QStringLiteral("/proc/%1/%2").arg(nPid).arg(QLatin1String(pszFile)));
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& arrLine : file.readAll().split('\n')) {
        if (arrLine.startsWith(arrKey + ':'))
            return arrLine.mid(arrKey.size() + 1).simplified().split(' ').value(0).toLongLong();
    }
    return 0;
}

struct CSample
{
    QMap<QString, qint64> mapThreadTicks;
    QMap<qint64, qint64> mapHelperTicks;
};

CSample TakeSample()
{
    CSample sample;
    const QStringList arrTasks = QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& strTask : arrTasks) {
        QString strName;
        const qint64 nTicks = CpuTicks(StatFields("/proc/self/task/" + strTask + "/stat", &strName));
        sample.mapThreadTicks.insert(strName + u'/' + strTask, nTicks);
    }
    for (const qint64 nPid : Descendants())
        sample.mapHelperTicks.insert(nPid, CpuTicks(StatFields(QStringLiteral("/proc/%1/stat").arg(nPid))));
    return sample;
}

void Report(const char* pszPhase, const CSample& before, const CSample& after, double dSeconds)
{
    const double dTicksPerPercent = double(sysconf(_SC_CLK_TCK)) * dSeconds / 100.0;
    QList<QPair<qint64, QString>> arrThreads;
    qint64 nOwnTicks = 0;
    for (auto it = after.mapThreadTicks.cbegin(); it != after.mapThreadTicks.cend(); ++it) {
        const qint64 nTicks = it.value() - before.mapThreadTicks.value(it.key());
        nOwnTicks += nTicks;
        arrThreads.append({ nTicks, it.key().section(u'/', 0, 0) });
    }
    qint64 nHelperTicks = 0;
    qint64 nHelperPssKb = 0;
    for (auto it = after.mapHelperTicks.cbegin(); it != after.mapHelperTicks.cend(); ++it) {
        nHelperTicks += it.value() - before.mapHelperTicks.value(it.key());
        nHelperPssKb += ProcKb(it.key(), "smaps_rollup", "Pss");
    }
    std::printf("%s cpu_own %.2f\n", pszPhase, nOwnTicks / dTicksPerPercent);
    std::printf("%s cpu_helpers %.2f\n", pszPhase, nHelperTicks / dTicksPerPercent);
    std::printf("%s rss_own_mb %.1f\n", pszPhase, ProcKb(getpid(), "status", "VmRSS") / 1024.0);
    std::printf("%s pss_own_mb %.1f\n", pszPhase, ProcKb(getpid(), "smaps_rollup", "Pss") / 1024.0);
    std::printf("%s helpers %lld\n", pszPhase, static_cast<long long>(Descendants().size()));
    std::printf("%s pss_helpers_mb %.1f\n", pszPhase, nHelperPssKb / 1024.0);
    std::sort(arrThreads.begin(), arrThreads.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    QStringList arrBusiest;
    for (qsizetype i = 0; i < std::min<qsizetype>(BUSIEST_THREADS, arrThreads.size()); ++i) {
        if (arrThreads[i].first > 0)
            arrBusiest.append(QStringLiteral("%1:%2")
                                  .arg(arrThreads[i].second)
                                  .arg(arrThreads[i].first / dTicksPerPercent, 0, 'f', 1));
    }
    std::printf("%s busiest %s\n", pszPhase,
                qPrintable(arrBusiest.isEmpty() ? QStringLiteral("-") : arrBusiest.join(u' ')));
    std::fflush(stdout);
}

// Waits for done() to hold, then SETTLE_MS, then measures for nMeasureS
// seconds and calls next.
template <class TDone, class TNext>
void MeasureWhen(const char* pszPhase, int nMeasureS, TDone done, TNext next)
{
    auto* pPoll = new QTimer(qApp);
    QObject::connect(pPoll, &QTimer::timeout, qApp, [=] {
        if (!done())
            return;
        pPoll->deleteLater();
        QTimer::singleShot(SETTLE_MS, qApp, [=] {
            const CSample before = TakeSample();
            QTimer::singleShot(nMeasureS * 1000, qApp, [=] {
                Report(pszPhase, before, TakeSample(), nMeasureS);
                next();
            });
        });
    });
    pPoll->start(POLL_MS);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int nMeasureS = argc > 1 ? std::max(1, atoi(argv[1])) : DEFAULT_MEASURE_S;
    CMessageBoxPrompt prompt;
    CConverterDlg dialog(prompt);
    dialog.show();
    CTaskNotifierDlg* pPopup = dialog.TaskNotifier();
    // A skin without the popup's picture has no popup to wait for.
    const bool bPopup = pPopup != nullptr && !pPopup->Picture().isNull();
    MeasureWhen(
        "shown", nMeasureS, [=] { return !bPopup || pPopup->State() == CTaskNotifierDlg::EState::Shown; },
        [=] {
            if (bPopup)
                pPopup->SlideOut();
            MeasureWhen(
                "gone", nMeasureS, [=] { return !bPopup || pPopup->State() == CTaskNotifierDlg::EState::Hidden; },
                [] { QApplication::quit(); });
        });
    return app.exec();
}
