#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <QTemporaryDir>
#include <QTest>

#include "portal/ScreenCastPortal.h"
#include "tests/portal/StandInPortal.h"

namespace {

testing::Environment* const g_pPortal = testing::AddGlobalTestEnvironment(new CStandInPortal);

constexpr quint32 PRODUCER_NODE = 77;

class ScreenCastPortalTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_state.isValid());
        Portal().SetAnswer(QStringLiteral("grant"));
        Portal().SetNode(PRODUCER_NODE);
        Portal().ForgetCalls();
    }

    static CStandInPortal& Portal() { return *CStandInPortal::Instance(); }
    QString TokenFile() const { return m_state.filePath(QStringLiteral("skinrecorder/screencast-restore-token")); }

    QTemporaryDir m_state;
};

} // namespace

TEST_F(ScreenCastPortalTest, EachAnswerOfThePickerHasItsOutcome)
{
    const struct
    {
        const char* pszAnswer;
        CScreenCastPortal::EOutcome eOutcome;
        const char* pszReason; // part of it
    } cases[] = {
        { "cancel", CScreenCastPortal::EOutcome::eRefused, "Screen sharing was not allowed" },
        { "end", CScreenCastPortal::EOutcome::eFailed, "ended the screen sharing request (Start)" },
        // Last: the refusals before it leave no token behind.
        { "grant", CScreenCastPortal::EOutcome::eGranted, "" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszAnswer);
        Portal().SetAnswer(QString::fromLatin1(c.pszAnswer));
        Portal().ForgetCalls();
        CScreenCastPortal portal(TokenFile());
        CScreenCastGrant grant;
        QString strReason;
        ASSERT_EQ(portal.Open(grant, strReason), c.eOutcome) << strReason.toStdString();
        EXPECT_TRUE(strReason.contains(QString::fromLatin1(c.pszReason))) << strReason.toStdString();
        if (c.eOutcome != CScreenCastPortal::EOutcome::eGranted) {
            EXPECT_EQ(grant.nPipeWireFd, -1);
            EXPECT_FALSE(QFile::exists(TokenFile()));
            EXPECT_TRUE(QTest::qWaitFor([] { return Portal().Calls(QStringLiteral("Session.Close")).size() == 1; }))
                << "the session is closed";
            continue;
        }
        EXPECT_EQ(grant.nNode, PRODUCER_NODE);
        EXPECT_EQ(grant.nWidth, 640);
        EXPECT_EQ(grant.nHeight, 480);
        struct stat info
        { };
        ASSERT_EQ(fstat(grant.nPipeWireFd, &info), 0);
        EXPECT_TRUE(S_ISSOCK(info.st_mode));
        const QList<QJsonObject> selected = Portal().Calls(QStringLiteral("SelectSources"));
        ASSERT_EQ(selected.size(), 1);
        EXPECT_EQ(selected[0].value(QStringLiteral("types")).toInt(), 3) << "monitors and windows";
        EXPECT_EQ(selected[0].value(QStringLiteral("cursor_mode")).toInt(), 2) << "the pointer drawn in";
        EXPECT_EQ(selected[0].value(QStringLiteral("persist_mode")).toInt(), 2);
        ASSERT_EQ(Portal().Calls(QStringLiteral("OpenPipeWireRemote")).size(), 1);
        portal.Close();
        EXPECT_EQ(fcntl(grant.nPipeWireFd, F_GETFD), -1) << "the connection ends with the session";
        EXPECT_TRUE(QTest::qWaitFor([] { return Portal().Calls(QStringLiteral("Session.Close")).size() == 1; }))
            << "the session is closed";
    }
}
