#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonObject>
#include <QTest>

#include "app/ConverterDlg.h"
#include "app/DesktopNotifications.h"
#include "tests/app/NotificationServer.h"
#include "tests/app/ProgramDriver.h"
#include "tests/common/PrivateSessionBus.h"
#include "tests/engine/MediaProbe.h"

namespace {

// Counted once the window is up, so its start-up, slow on a loaded machine,
// cannot hold the event loop past the timer's start.
constexpr int TIMER_LEAD_SECONDS = 4;
constexpr int TIMER_LENGTH_SECONDS = 3;
constexpr double LENGTH_TOLERANCE_SECONDS = 0.5;

class CTimerWindowTest : public CProgramTest
{
protected:
    void SetUp() override
    {
        CProgramTest::SetUp();
        // The timers file goes to the test's own configuration folder.
        qputenv("XDG_CONFIG_HOME", m_current.FilePath(QStringLiteral("config")).toLocal8Bit());
    }
};

} // namespace

// A timer made in the running window records through it at its time, for
// its length, into a file named after it that takes no other file's place,
// and the desktop is told.
TEST_F(CTimerWindowTest, RecordsAtItsTimeIntoItsOwnFile)
{
    CPrivateSessionBus bus;
    ASSERT_TRUE(bus.IsValid());
    CNotificationServer server(bus.Address(), QString());
    ASSERT_TRUE(server.WaitUntilReady());
    CDesktopNotifications notifications([](const QString&) {}, bus.Address());
    CConverterDlg dialog(m_prompt, m_settings);
    dialog.Timers().NotifyThrough(notifications);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    const QDateTime start = QDateTime::currentDateTime().addSecs(TIMER_LEAD_SECONDS);
    CRecordingTimer timer;
    timer.strTitle = QStringLiteral("Evening: News");
    timer.date = start.date();
    timer.startTime = start.time();
    timer.nLengthSeconds = TIMER_LENGTH_SECONDS;
    timer.strFolder = m_current.FilePath(QString());
    timer.settings = m_settings;
    // A file of the name the timer's recording would take is kept.
    const QString strTaken =
        QDir(timer.strFolder)
            .filePath(QStringLiteral("Evening_ News %1.mpg").arg(start.toString(QStringLiteral("yyyy-MM-dd hh-mm"))));
    const QString strExpected =
        QDir(timer.strFolder)
            .filePath(
                QStringLiteral("Evening_ News %1 (2).mpg").arg(start.toString(QStringLiteral("yyyy-MM-dd hh-mm"))));
    {
        QFile taken(strTaken);
        ASSERT_TRUE(taken.open(QIODevice::WriteOnly));
        taken.write("keep");
    }
    ASSERT_EQ(dialog.Timers().Save(timer), QString());
    const QString strId = dialog.Timers().Schedule().Timers().front().strId;
    const auto State = [&] { return dialog.Timers().Schedule().Find(strId)->eState; };

    // The window records it as any other recording: the transport shows it.
    ASSERT_TRUE(WaitUntil([&] { return State() == ETimerState::eRecording; }, RECORDING_START_TIMEOUT_MS));
    EXPECT_TRUE(dialog.RecorderWidget().IsRecordingTo(strExpected));
    ASSERT_TRUE(WaitUntil([&] { return State() == ETimerState::eDone; }, RECORDING_START_TIMEOUT_MS));
    ASSERT_TRUE(
        WaitUntil([&] { return !dialog.RecorderWidget().GetStatus().bRecordingToFile; }, RECORDING_START_TIMEOUT_MS));
    EXPECT_EQ(dialog.Recordings().At(0)->strPath, strExpected);
    const QJsonObject probe = ProbeFile(strExpected.toStdString());
    EXPECT_NEAR(JsonNumber(probe["format"].toObject(), "duration"), TIMER_LENGTH_SECONDS, LENGTH_TOLERANCE_SECONDS);
    QFile taken(strTaken);
    ASSERT_TRUE(taken.open(QIODevice::ReadOnly));
    EXPECT_EQ(taken.readAll(), QByteArray("keep"));
    EXPECT_TRUE(m_prompt.Texts().isEmpty()) << m_prompt.Texts().join(u'\n').toStdString();
    const QJsonObject notice = server.NextNotification();
    EXPECT_EQ(notice["summary"].toString(), QStringLiteral("Timer recording finished"));
    EXPECT_TRUE(notice["body"].toString().contains(QStringLiteral("Evening: News")))
        << notice["body"].toString().toStdString();
}
