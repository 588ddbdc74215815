#include <gtest/gtest.h>

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include "portal/RestoreTokenStore.h"
#include "tests/engine/PipeWireProducer.h"
#include "tests/portal/ProducerRecording.h"
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

struct CRun
{
    int nExitCode = -1;
    QString strOutput;
    std::string strError;
};

CRun RunMpegrec(const QStringList& arguments, const QProcessEnvironment& environment)
{
    QProcess mpegrec;
    mpegrec.setProcessEnvironment(environment);
    mpegrec.start(QStringLiteral(MPEGREC_PATH), arguments);
    CRun run;
    if (!mpegrec.waitForFinished(RUN_TIMEOUT_MS)) {
        mpegrec.kill();
        mpegrec.waitForFinished();
        run.strError = "mpegrec did not finish";
        return run;
    }
    run.nExitCode = mpegrec.exitStatus() == QProcess::NormalExit ? mpegrec.exitCode() : -1;
    run.strOutput = QString::fromUtf8(mpegrec.readAllStandardOutput());
    run.strError = mpegrec.readAllStandardError().toStdString();
    return run;
}

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
        const QStringList arguments = c.bRecord ? QStringList { QStringLiteral("-o"),
                                                                strFile,
                                                                QStringLiteral("--video-device"),
                                                                PORTAL_SCREEN,
                                                                QStringLiteral("--duration"),
                                                                QStringLiteral("1") }
                                                : QStringList { QStringLiteral("--list") };
        const CRun run = RunMpegrec(arguments, environment);
        EXPECT_EQ(run.nExitCode, c.nExitCode);
        EXPECT_EQ(run.strOutput.contains(PORTAL_SCREEN), c.bScreenListed);
        EXPECT_EQ(run.strError, c.pszError);
        EXPECT_FALSE(QFileInfo::exists(strFile));
    }
}

// Runs under tests/pipewire-exec.sh: mpegrec records the stream the desktop
// shares, and the second recording sends the permission the first kept.
TEST(MpegrecPortalRecording, RecordsTheSharedScreen)
{
    std::string strReason;
    if (!IsPipeWireReachable(strReason))
        GTEST_SKIP() << strReason;
    constexpr int RATE = 25;
    constexpr double SECONDS = 5.0;
    CPipeWireProducer producer;
    ASSERT_TRUE(producer.Start(640, 480, RATE, strReason)) << strReason;
    CStandInPortal& portal = *CStandInPortal::Instance();
    portal.SetAnswer(QStringLiteral("grant"));
    portal.SetNode(producer.NodeId());
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    for (const double dSeconds : { SECONDS, 1.0 }) {
        SCOPED_TRACE(dSeconds);
        const QString strFile = folder.filePath(QStringLiteral("screen%1.mpg").arg(dSeconds));
        const CRun run = RunMpegrec({ QStringLiteral("-o"), strFile, QStringLiteral("--video-device"), PORTAL_SCREEN,
                                      QStringLiteral("--audio-device"), QStringLiteral("Test Tone"),
                                      QStringLiteral("--type"), QStringLiteral("mpeg2"), QStringLiteral("--frame-rate"),
                                      QString::number(RATE), QStringLiteral("--size"), QStringLiteral("352x288"),
                                      QStringLiteral("--duration"), QString::number(dSeconds) },
                                    portal.Environment());
        ASSERT_EQ(run.nExitCode, 0) << run.strError;
        if (dSeconds == SECONDS)
            ExpectProducerRecording(strFile.toStdString(), { 352, 288, RATE }, SECONDS - 1.0 / RATE,
                                    SECONDS + 1.0 / RATE);
    }
    const QString strTokenFile = portal.StateFolder() + QStringLiteral("/skinrecorder/screencast-restore-token");
    EXPECT_EQ(ReadRestoreToken(strTokenFile), QStringLiteral("standin-token-2")) << "the newest is kept";
    const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::ReadOther;
    EXPECT_EQ(QFile::permissions(strTokenFile) & others, QFileDevice::Permissions()) << "a permission of the user's";
    const QList<QJsonObject> selected = portal.Calls(QStringLiteral("SelectSources"));
    ASSERT_EQ(selected.size(), 2);
    EXPECT_FALSE(selected[0].contains(QStringLiteral("restore_token")));
    EXPECT_EQ(selected[1].value(QStringLiteral("restore_token")).toString(), QStringLiteral("standin-token-1"));
}
