#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "app/DesktopNotifications.h"
#include "app/ProgramIdentity.h"
#include "tests/common/PrivateSessionBus.h"

// A recording that ends out of the window's sight is told through the
// desktop's notification server; its Open action opens the file.

namespace {

using CFinished = CDesktopNotifications::CFinishedRecording;

constexpr int SERVER_TIMEOUT_MS = 30000;

// The notification server our tests talk to, on the given bus, clicking
// strInvoke on every notification that offers it.
class CNotificationServer
{
public:
    CNotificationServer(const QString& strAddress, const QString& strInvoke)
    {
        m_server.start(QStringLiteral("/usr/bin/python3"),
                       { QStringLiteral(TESTS_COMMON_FOLDER "/notification_server.py"), QStringLiteral("--address"),
                         strAddress, QStringLiteral("--invoke"), strInvoke });
    }
    ~CNotificationServer()
    {
        m_server.kill();
        m_server.waitForFinished();
    }
    CNotificationServer(const CNotificationServer&) = delete;
    CNotificationServer& operator=(const CNotificationServer&) = delete;

    bool WaitUntilReady() { return NextLine() == "ready"; }

    // The next Notify call the server took.
    QJsonObject NextNotification() { return QJsonDocument::fromJson(NextLine()).object(); }

private:
    QByteArray NextLine()
    {
        const bool bRead = QTest::qWaitFor([this] { return m_server.canReadLine(); }, SERVER_TIMEOUT_MS);
        return bRead ? m_server.readLine().trimmed() : QByteArray();
    }

    QProcess m_server;
};

class DesktopNotificationsOnBus : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_bus.IsValid());
        m_strFile = m_folder.filePath("Talk & Questions.mpg");
        QFile file(m_strFile);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(1500, 'x'));
    }

    CFinished Saved() const { return { { m_strFile, {}, 3.4, 1500 }, {}, {}, false, true }; }

    QTemporaryDir m_folder;
    QString m_strFile;
    CPrivateSessionBus m_bus;
    QStringList m_arrOpened;
    CDesktopNotifications m_notifications { [this](const QString& strPath) { m_arrOpened.append(strPath); },
                                            m_bus.Address() };
};

} // namespace

TEST(DesktopNotifications, ComposesWhatTheRecordingsListAndTheFailureBoxSay)
{
    const struct
    {
        CFinished finished;
        bool bNotify;
        QString strSummary;
        QString strBody;
    } arrCases[] = {
        { { { "/v/a.mpg", {}, 62.5, 1536 }, {}, {}, false, false }, false, {}, {} },
        { { { "/v/a.mpg", {}, 62.5, 1536 }, {}, {}, false, true },
          true,
          "Recording saved: a.mpg (00:01:02, 1.5 KiB)",
          "/v/a.mpg" },
        { { { "/v/a.mpg", "Talk", 1, 150 << 20 }, {}, {}, true, false },
          true,
          "Recording saved: Talk (00:00:01, 150 MiB)",
          "/v/a.mpg" },
        { { { "/v/a.mpg", {}, 1, 0 }, "The disk is full", "Free <some> space", false, false },
          true,
          "The disk is full",
          "Free &lt;some&gt; space" },
    };
    for (const auto& test : arrCases) {
        SCOPED_TRACE(test.strSummary.toStdString());
        EXPECT_EQ(CDesktopNotifications::ShouldNotify(test.finished), test.bNotify);
        if (!test.bNotify)
            continue;
        const CDesktopNotifications::CNotification notification = CDesktopNotifications::Compose(test.finished);
        EXPECT_EQ(notification.strSummary, test.strSummary);
        EXPECT_EQ(notification.strBody, test.strBody);
    }
}

TEST_F(DesktopNotificationsOnBus, SavedRecordingIsAnnouncedAndItsOpenActionOpensIt)
{
    CNotificationServer server(m_bus.Address(), QStringLiteral("open"));
    ASSERT_TRUE(server.WaitUntilReady());
    m_notifications.OnRecordingFinished(Saved());

    const QJsonObject notification = server.NextNotification();
    EXPECT_EQ(notification["summary"].toString(), "Recording saved: Talk & Questions.mpg (00:00:03, 1.5 KiB)");
    EXPECT_EQ(notification["body"].toString(), m_strFile.toHtmlEscaped());
    EXPECT_EQ(notification["app_icon"].toString(), ProgramIdentity::APPLICATION_ID);
    EXPECT_EQ(notification["hints"].toObject()["desktop-entry"].toString(), ProgramIdentity::APPLICATION_ID);
    EXPECT_EQ(notification["actions"].toVariant().toStringList(), QStringList({ "open", "Open" }));
    EXPECT_TRUE(QTest::qWaitFor([this] { return !m_arrOpened.isEmpty(); }, SERVER_TIMEOUT_MS));
    EXPECT_EQ(m_arrOpened, QStringList { m_strFile });
}

TEST_F(DesktopNotificationsOnBus, FailureGivesItsCauseAndAnEmptyFileNoOpenAction)
{
    CNotificationServer server(m_bus.Address(), QStringLiteral("open"));
    ASSERT_TRUE(server.WaitUntilReady());
    QFile::resize(m_strFile, 0);
    CFinished failed = Saved();
    failed.strFailureHeadline = QStringLiteral("The recording stopped: the disk is full");
    failed.strFailureCause = QStringLiteral("No space is left on the disk.");
    m_notifications.OnRecordingFinished(failed);

    const QJsonObject notification = server.NextNotification();
    EXPECT_EQ(notification["summary"].toString(), failed.strFailureHeadline);
    EXPECT_EQ(notification["body"].toString(), failed.strFailureCause);
    EXPECT_TRUE(notification["actions"].toArray().isEmpty());
}

TEST_F(DesktopNotificationsOnBus, WithoutAServerNothingIsShownAndNothingFails)
{
    QSignalSpy shown(&m_notifications, &CDesktopNotifications::Shown);
    // The bus answers at once that nobody serves notifications.
    m_notifications.OnRecordingFinished(Saved());
    CNotificationServer server(m_bus.Address(), QString());
    ASSERT_TRUE(server.WaitUntilReady());
    // The server started afterwards gets the next one only.
    m_notifications.OnRecordingFinished(Saved());
    EXPECT_EQ(server.NextNotification()["id"].toInt(), 1);
    EXPECT_TRUE(QTest::qWaitFor([&shown] { return !shown.isEmpty(); }, SERVER_TIMEOUT_MS));
    EXPECT_EQ(shown.count(), 1);
    EXPECT_TRUE(m_arrOpened.isEmpty());
}

TEST(DesktopNotifications, WithoutABusNothingIsShownAndNothingFails)
{
    CDesktopNotifications notifications([](const QString&) { FAIL() << "nothing to open"; },
                                        QStringLiteral("unix:path=/nonexistent/bus"));
    QSignalSpy shown(&notifications, &CDesktopNotifications::Shown);
    notifications.OnRecordingFinished({ { "/v/a.mpg", {}, 1, 1 }, {}, {}, true, true });
    EXPECT_EQ(shown.count(), 0);
}
