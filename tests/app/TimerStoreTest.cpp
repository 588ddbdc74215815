#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <functional>

#include "app/TimerRunner.h"
#include "app/TimersDlg.h"
#include "tests/common/ScriptedPrompt.h"

namespace {

// The timers read and save here without a window.
class CIdleRecorder : public ITimerRecorder
{
public:
    QString RecordForTimer(const QString&, const CRecordingTimer&) override { return QStringLiteral("no recorder"); }
    bool IsRecordingToFile() const override { return false; }
    bool IsRecordingTo(const QString&) const override { return false; }
    double RecordedSeconds() const override { return 0; }
    void StopRecording() override { }
    int CurrentOutputTypeRow() const override { return 0; }
    const ConversionSettings& CurrentSettings() const override { return m_settings; }
    ConversionSettings m_settings;
};

CRecordingTimer WeeklyTimer(const char* pszTitle)
{
    CRecordingTimer timer;
    timer.strTitle = QLatin1String(pszTitle);
    timer.nWeekdays = CRecordingTimer::ALL_WEEKDAYS;
    timer.startTime = QTime(3, 0);
    timer.nLengthSeconds = 60;
    timer.settings.strVideoDeviceName = QStringLiteral("Test Pattern");
    timer.nOutputTypeRow = 1;
    return timer;
}

QByteArray Contents(const QString& strPath)
{
    QFile file(strPath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST(TimerStore, KeepsTimersAndNeverLosesTheFile)
{
    struct CStoreCase
    {
        const char* pszName;
        // What the file holds before the program starts; null: no file.
        const char* pszFileBefore;
        // Whether the next save is cut off between writing and renaming.
        bool bInterruptedSave;
        // The titles a second start reads, and whether the first start
        // reported the file and kept it aside.
        QStringList arrTitlesAfterRestart;
        bool bReportedAndKept;
    } const cases[] = {
        { "saved timers survive a restart", nullptr, false, { "News", "Film" }, false },
        { "a damaged file is kept aside", "{\"version\": 1, \"timers\": [", false, { "Film" }, true },
        { "another version's file is kept aside", "{\"version\": 99, \"timers\": []}", false, { "Film" }, true },
        { "a save cut off before the rename keeps the old file", nullptr, true, { "News" }, false },
    };
    for (const CStoreCase& testCase : cases) {
        SCOPED_TRACE(testCase.pszName);
        const QTemporaryDir folder;
        const QString strPath = folder.filePath(QStringLiteral("config/timers.json"));
        QDir().mkpath(folder.filePath(QStringLiteral("config")));
        if (testCase.pszFileBefore) {
            QFile file(strPath);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(testCase.pszFileBefore);
        }
        CIdleRecorder recorder;
        {
            CScriptedPrompt prompt;
            CTimerRunner runner(recorder, prompt, &QDateTime::currentDateTime, strPath);
            runner.Start();
            EXPECT_EQ(prompt.Texts().size(), testCase.bReportedAndKept ? 1 : 0)
                << prompt.Texts().join(u'\n').toStdString();
            if (testCase.bReportedAndKept) {
                EXPECT_EQ(Contents(strPath + QStringLiteral(".bad")), QByteArray(testCase.pszFileBefore));
            }
            if (!testCase.pszFileBefore) {
                EXPECT_EQ(runner.Save(WeeklyTimer("News")), QString());
            }
            const QByteArray before = Contents(strPath);
            if (testCase.bInterruptedSave)
                runner.Store().SetBeforeReplace([] { return false; });
            CRecordingTimer film = WeeklyTimer("Film");
            film.startTime = QTime(4, 0);
            EXPECT_EQ(runner.Save(film).isEmpty(), !testCase.bInterruptedSave);
            if (testCase.bInterruptedSave) {
                EXPECT_EQ(Contents(strPath), before);
            }
        }
        CScriptedPrompt prompt;
        CTimerRunner restarted(recorder, prompt, &QDateTime::currentDateTime, strPath);
        restarted.Start();
        EXPECT_TRUE(prompt.Texts().isEmpty());
        QStringList arrTitles;
        for (const CRecordingTimer& timer : restarted.Schedule().Timers()) {
            arrTitles.append(timer.strTitle);
            EXPECT_EQ(timer.nOutputTypeRow, 1);
            EXPECT_EQ(timer.settings.strVideoDeviceName, QStringLiteral("Test Pattern"));
        }
        EXPECT_EQ(arrTitles, testCase.arrTitlesAfterRestart);
    }
}

// The dialog lists what the runner keeps, and its export asks before it
// replaces a user's units, keeping them when the answer is No.
TEST(TimersDlg, ListsTimersAndExportsOnlyWhenAllowed)
{
    const QTemporaryDir folder;
    CIdleRecorder recorder;
    CScriptedPrompt prompt;
    CTimerRunner runner(recorder, prompt, &QDateTime::currentDateTime, folder.filePath(QStringLiteral("timers.json")));
    ASSERT_EQ(runner.Save(WeeklyTimer("News")), QString());
    CTimersDlg dialog(runner, prompt, 0);
    ASSERT_EQ(dialog.List()->topLevelItemCount(), 1);
    const QTreeWidgetItem* pRow = dialog.List()->topLevelItem(0);
    EXPECT_EQ(pRow->text(CTimersDlg::TITLE_COLUMN), QStringLiteral("News"));
    EXPECT_EQ(pRow->text(CTimersDlg::LENGTH_COLUMN), QStringLiteral("1 min, until 03:01"));
    EXPECT_EQ(pRow->text(CTimersDlg::STATE_COLUMN), QStringLiteral("waiting"));
    dialog.List()->setCurrentItem(dialog.List()->topLevelItem(0));

    const QString strUnits = folder.filePath(QStringLiteral("units"));
    dialog.ExportSelected(strUnits);
    const QStringList arrUnits = QDir(strUnits).entryList(QDir::Files);
    ASSERT_EQ(arrUnits.size(), 2);
    EXPECT_TRUE(prompt.Texts().last().contains(QStringLiteral("systemctl --user enable --now ")))
        << prompt.Texts().last().toStdString();
    const QString strTimerFile = QDir(strUnits).filePath(arrUnits.filter(QStringLiteral(".timer")).value(0));
    QFile user(strTimerFile);
    ASSERT_TRUE(user.open(QIODevice::WriteOnly));
    user.write("the user's own");
    user.close();
    prompt.m_arrYesNo = { IPrompt::EAnswer::No };
    dialog.ExportSelected(strUnits);
    EXPECT_TRUE(prompt.Texts().last().contains(QStringLiteral("Replace it?")));
    EXPECT_EQ(Contents(strTimerFile), QByteArray("the user's own"));
}
