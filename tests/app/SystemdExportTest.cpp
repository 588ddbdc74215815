#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <iostream>

#include "app/SystemdTimerExport.h"
#include "tests/engine/MediaProbe.h"

namespace {

const QString MPEGREC = MPEGREC_PATH;

QByteArray Contents(const QString& strPath)
{
    QFile file(strPath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// The exported pair is one systemd takes, runs an mpegrec that takes its
// options and records into a file of the timer's name, and is never
// written over a user's units unasked.
TEST(SystemdExport, WritesUnitsSystemdAndMpegrecTake)
{
    struct CExportCase
    {
        const char* pszTitle;
        unsigned nWeekdays;
        int nOutputTypeRow;
        const char* pszCalendar;
        const char* pszSuffix;
    } const cases[] = {
        { "News", 0, 1, "2030-01-02 20:15:00", ".mpg" },
        { "It's 100% \"fun\" $HOME \\ too", 1U << 0 | 1U << 2, 2, "Mon,Wed *-*-* 20:15:00", ".avi" },
    };
    const QString strAnalyze = QStandardPaths::findExecutable(QStringLiteral("systemd-analyze"));
    for (const CExportCase& testCase : cases) {
        SCOPED_TRACE(testCase.pszTitle);
        const QTemporaryDir folder;
        CRecordingTimer timer;
        timer.strId = QStringLiteral("0123456789abcdef");
        timer.strTitle = QString::fromUtf8(testCase.pszTitle);
        timer.date = QDate(2030, 1, 2);
        timer.nWeekdays = testCase.nWeekdays;
        timer.startTime = QTime(20, 15);
        timer.nLengthSeconds = 1;
        timer.nOutputTypeRow = testCase.nOutputTypeRow;
        timer.settings.strVideoDeviceName = QStringLiteral("Test Pattern");
        timer.settings.strAudioDeviceName = QStringLiteral("Test Tone");
        timer.settings.nMpegWidth = 352;
        timer.settings.nMpegHeight = 240;
        EXPECT_EQ(SystemdTimerExport::Calendar(timer), QLatin1String(testCase.pszCalendar));

        const QString strUnits = folder.filePath(QStringLiteral("systemd/user"));
        const SystemdTimerExport::CResult result =
            SystemdTimerExport::Write(timer, strUnits, MPEGREC, folder.path(), false);
        ASSERT_EQ(result.strError, QString());
        EXPECT_TRUE(result.strTimerFile.endsWith(QStringLiteral("-01234567.timer")));
        const QByteArray timerText = Contents(result.strTimerFile);
        EXPECT_TRUE(SystemdTimerExport::Write(timer, strUnits, MPEGREC, folder.path(), false).bExists);
        EXPECT_EQ(Contents(result.strTimerFile), timerText);

        if (strAnalyze.isEmpty()) {
            std::cout << "systemd-analyze is not installed; the units are not verified\n";
        } else {
            int nExitCode = -1;
            QByteArray errors;
            RunProgram(strAnalyze, { "verify", result.strTimerFile, result.strServiceFile }, &nExitCode, &errors);
            EXPECT_EQ(nExitCode, 0) << errors.toStdString();
        }

        int nExitCode = -1;
        QByteArray errors;
        const QString strRecordings = folder.filePath(QStringLiteral("recordings"));
        QDir().mkpath(strRecordings);
        RunProgram(MPEGREC, SystemdTimerExport::MpegrecArguments(timer, strRecordings), &nExitCode, &errors);
        EXPECT_EQ(nExitCode, 0) << errors.toStdString();
        const QStringList arrFiles = QDir(strRecordings).entryList(QDir::Files);
        ASSERT_EQ(arrFiles.size(), 1);
        EXPECT_TRUE(arrFiles[0].endsWith(QLatin1String(testCase.pszSuffix))) << arrFiles[0].toStdString();
    }
}
