#include <gtest/gtest.h>

#include <QSignalSpy>

#include "app/DesktopNotifications.h"
#include "tests/app/NotificationServer.h"
#include "tests/common/PrivateSessionBus.h"

// What a notification says, and that none is no fault. The notifications of
// the whole window are tested with it (DesktopStatusTest).

using CFinished = CDesktopNotifications::CFinishedRecording;

TEST(DesktopNotifications, ComposesWhatTheRecordingsListAndTheFailureBoxSay)
{
    const struct
    {
        CFinished finished;
        bool bNotify;
        QString strSummary;
        QString strBody;
    } arrCases[] = {
        // Seen ending at the window.
        { { { "/v/a.mpg", {}, 62.5, 1536 }, {}, {}, false, false }, false, {}, {} },
        { { { "/v/a&b.mpg", {}, 62.5, 1536 }, {}, {}, false, true },
          true,
          "Recording saved: a&b.mpg (00:01:02, 1.5 KiB)",
          "/v/a&amp;b.mpg" },
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

TEST(DesktopNotifications, WithoutAServerNothingIsShownAndNothingFails)
{
    CPrivateSessionBus bus;
    ASSERT_TRUE(bus.IsValid());
    CDesktopNotifications notifications([](const QString&) { FAIL() << "nothing to open"; }, bus.Address());
    QSignalSpy shown(&notifications, &CDesktopNotifications::Shown);
    const CFinished finished { { "/v/a.mpg", {}, 1, 1 }, {}, {}, true, true };
    // The bus answers at once that nobody serves notifications.
    notifications.OnRecordingFinished(finished);
    CNotificationServer server(bus.Address(), QString());
    ASSERT_TRUE(server.WaitUntilReady());
    // A server started afterwards gets the next one only.
    notifications.OnRecordingFinished(finished);
    EXPECT_EQ(server.NextNotification()["id"].toInt(), 1);
    EXPECT_TRUE(QTest::qWaitFor([&shown] { return !shown.isEmpty(); }, SERVER_TIMEOUT_MS));
    EXPECT_EQ(shown.count(), 1);
}
