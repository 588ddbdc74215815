#pragma once

#include <QCoreApplication>
#include <QString>

#include <functional>
#include <vector>

#include "app/TimerSchedule.h"

// The timers file: JSON, replaced whole on every save, so that a crash or a
// full disk during a save leaves the previous file as it was. UI thread only.
class CTimerStore
{
    Q_DECLARE_TR_FUNCTIONS(CTimerStore)

public:
    static inline const QString FILE_NAME = QStringLiteral("timers.json");

    // The file in the program's configuration folder.
    static QString DefaultPath();

    explicit CTimerStore(QString strPath);
    const QString& Path() const { return m_strPath; }

    struct CLoaded
    {
        std::vector<CRecordingTimer> timers;
        // Why the file could not be used, and where it was kept aside; both
        // empty when it was read or did not exist.
        QString strError;
        QString strKeptAs;
    };
    // Reads the file. One that cannot be read is renamed aside (FILE.bad),
    // never overwritten: when even that fails, saving stays off for this
    // run.
    CLoaded Load();

    // Writes every timer; the reason when it could not.
    QString Save(const std::vector<CRecordingTimer>& timers) const;

    // Called between writing the new file and putting it in place; false
    // abandons the save there, as a crash would. For tests.
    using CBeforeReplace = std::function<bool()>;
    void SetBeforeReplace(CBeforeReplace beforeReplace) { m_beforeReplace = std::move(beforeReplace); }

private:
    QString KeepAside(QString& strError);

    QString m_strPath;
    bool m_bWritable = true;
    CBeforeReplace m_beforeReplace;
};
