#include <gtest/gtest.h>

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include "tests/portal/StandInPortal.h"

namespace {

constexpr int RUN_TIMEOUT_MS = 60000;
const QString PORTAL_SCREEN = QStringLiteral("Screen (desktop portal)");

struct CMpegrecCase
{
    const char* pszName;
    const char* pszAnswer; // nullptr: no session bus at all
    bool bRecord;          // else --list
    int nExitCode;
    bool bScreenListed;
    const char* pszError;
};

} // namespace

// Listing asks the portal, and gets on without it; a refusal records nothing.
TEST(MpegrecPortal, ListsAndRecordsOnlyWhatThePortalAllows)
{
    const CMpegrecCase cases[] = {
        { "portal answers", "grant", false, 0, true, "" },
        { "portal owns its name but never answers", "silent", false, 0, false, "" },
        { "no session bus", nullptr, false, 0, false, "" },
        { "picker cancelled", "cancel", true, 1, false, "mpegrec: Screen sharing was not allowed\n" },
    };
    CStandInPortal& portal = *CStandInPortal::Instance();
    for (const CMpegrecCase& c : cases) {
        SCOPED_TRACE(c.pszName);
        QTemporaryDir folder;
        ASSERT_TRUE(folder.isValid());
        const QString strFile = folder.filePath(QStringLiteral("screen.mpg"));
        QProcessEnvironment environment = portal.Environment();
        if (c.pszAnswer) {
            portal.SetAnswer(QString::fromLatin1(c.pszAnswer));
        } else {
            environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                               QStringLiteral("unix:path=") + folder.filePath(QStringLiteral("no-bus")));
            environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), folder.path());
        }
        QProcess mpegrec;
        mpegrec.setProcessEnvironment(environment);
        const QStringList arguments = c.bRecord ? QStringList { QStringLiteral("-o"),
                                                                strFile,
                                                                QStringLiteral("--video-device"),
                                                                PORTAL_SCREEN,
                                                                QStringLiteral("--duration"),
                                                                QStringLiteral("1") }
                                                : QStringList { QStringLiteral("--list") };
        mpegrec.start(QStringLiteral(MPEGREC_PATH), arguments);
        ASSERT_TRUE(mpegrec.waitForFinished(RUN_TIMEOUT_MS));
        EXPECT_EQ(mpegrec.exitCode(), c.nExitCode);
        EXPECT_EQ(QString::fromUtf8(mpegrec.readAllStandardOutput()).contains(PORTAL_SCREEN), c.bScreenListed);
        EXPECT_EQ(mpegrec.readAllStandardError().toStdString(), c.pszError);
        EXPECT_FALSE(QFileInfo::exists(strFile));
    }
}
