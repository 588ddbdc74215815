#include <gtest/gtest.h>

#include <QAction>
#include <QFileInfo>

#include "app/DesktopStatus.h"
#include "app/ProgramIdentity.h"
#include "tests/app/NotificationServer.h"
#include "tests/app/ProgramDriver.h"
#include "tests/common/PrivateSessionBus.h"

// The whole window with its tray icon and notifications, told to a
// notification server on a bus of the test's own.

namespace {

constexpr int TRAY_STOP_ENTRY = 2;

class DesktopStatus : public CProgramTest
{
protected:
    void SetUp() override
    {
        CProgramTest::SetUp();
        ASSERT_TRUE(IsSkipped() || m_bus.IsValid());
    }

    CPrivateSessionBus m_bus;
    CConverterDlg m_dialog { m_prompt, m_settings };
    CRecorderControl m_control { m_dialog };
    CDesktopStatus m_status { m_dialog, m_control, m_bus.Address() };
};

} // namespace

// The server's click may reach us before its reply to Notify: once the Open
// was lost that way.
TEST_F(DesktopStatus, RecordingStoppedFromTheTrayIsAnnouncedAndOpensThroughTheWindowsOpener)
{
    QList<QUrl> arrOpened;
    m_dialog.SetUrlOpener([&arrOpened](const QUrl& url) {
        arrOpened.append(url);
        return true;
    });
    for (const bool bClickBeforeReply : { false, true }) {
        SCOPED_TRACE(bClickBeforeReply ? "clicked before the reply" : "clicked after the reply");
        arrOpened.clear();
        CNotificationServer server(m_bus.Address(), QStringLiteral("open"), bClickBeforeReply);
        ASSERT_TRUE(server.WaitUntilReady());
        const QString strFile = m_current.FilePath(bClickBeforeReply ? "early click.mpg" : "late click.mpg");
        ASSERT_EQ(m_control.Record(strFile), QString());
        ASSERT_TRUE(WaitForElapsed(m_dialog.RecorderWidget(), 1.0));
        m_status.TrayIcon().Menu().actions().at(TRAY_STOP_ENTRY)->trigger();

        const QJsonObject notification = server.NextNotification();
        const QString strSummary = notification["summary"].toString();
        EXPECT_TRUE(strSummary.startsWith("Recording saved: " + QFileInfo(strFile).fileName() + " (00:00:0"))
            << strSummary.toStdString();
        EXPECT_EQ(notification["app_icon"].toString(), ProgramIdentity::APPLICATION_ID);
        EXPECT_EQ(notification["hints"].toObject()["desktop-entry"].toString(), ProgramIdentity::APPLICATION_ID);
        EXPECT_EQ(notification["actions"].toVariant().toStringList(), QStringList({ "open", "Open" }));
        EXPECT_TRUE(WaitUntil([&arrOpened] { return !arrOpened.isEmpty(); }, SERVER_TIMEOUT_MS));
        EXPECT_EQ(arrOpened, QList<QUrl> { QUrl::fromLocalFile(strFile) });
    }
}

TEST_F(DesktopStatus, FailedRecordingIsAnnouncedWithTheWindowsHeadlineAndCause)
{
    // Every write to this device fails as on a full disk.
    if (!QFileInfo::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    CNotificationServer server(m_bus.Address(), QString());
    ASSERT_TRUE(server.WaitUntilReady());
    ASSERT_EQ(m_control.Record(QStringLiteral("/dev/full")), QString());

    const QJsonObject notification = server.NextNotification();
    EXPECT_EQ(notification["summary"].toString(), QStringLiteral("Recording Failure, the disk is full"));
    EXPECT_EQ(notification["body"].toString(), m_dialog.RecorderWidget().GetLastFailureText().toHtmlEscaped());
    EXPECT_TRUE(notification["actions"].toVariant().toStringList().isEmpty());
}
