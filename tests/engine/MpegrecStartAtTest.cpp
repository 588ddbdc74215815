#include <QDateTime>
#include <QDir>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "tests/engine/MediaProbe.h"

namespace {

const QString MPEGREC = MPEGREC_PATH;
// A recording's length as the file says, around what the clock allowed.
constexpr double LENGTH_TOLERANCE_SECONDS = 0.5;

// The arguments with each "@N" made the local time N seconds from now, as
// mpegrec takes it: the moment the case runs, not when the table was made.
QStringList WithLocalTimes(QStringList arguments)
{
    for (QString& strArgument : arguments) {
        if (strArgument.startsWith(u'@'))
            strArgument = QDateTime::currentDateTime()
                              .addSecs(strArgument.mid(1).toInt())
                              .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    }
    return arguments;
}

} // namespace

TEST(MpegrecStartAt, RecordsByTheWallClock)
{
    struct CWallClockCase
    {
        const char* pszName;
        QStringList arguments;
        int nExitCode;
        // The file's length; 0: no file is made.
        double dSeconds;
    } const cases[] = {
        { "a start ahead waits for it", { "--start-at", "@3", "--duration", "3" }, 0, 3 },
        { "a start passed records the time left", { "--start-at", "@-60", "--stop-at", "@3" }, 0, 3 },
        { "an end passed records nothing", { "--stop-at", "@-5" }, 2, 0 },
        { "a start and length passed record nothing", { "--start-at", "@-60", "--duration", "30" }, 2, 0 },
        { "a stop before the start", { "--start-at", "@60", "--stop-at", "@30" }, 2, 0 },
        { "no such day", { "--start-at", "2030-02-31 20:15" }, 2, 0 },
        { "stop and length both", { "--stop-at", "@60", "--duration", "3" }, 2, 0 },
    };
    for (const CWallClockCase& testCase : cases) {
        SCOPED_TRACE(testCase.pszName);
        const QTemporaryDir folder;
        int nExitCode = -1;
        QByteArray errors;
        RunProgram(MPEGREC,
                   QStringList { "--folder", folder.path(), "--title", "News: late", "--video-device", "Test Pattern",
                                 "--audio-device", "Test Tone", "--size", "352x240" }
                       + WithLocalTimes(testCase.arguments),
                   &nExitCode, &errors);
        EXPECT_EQ(nExitCode, testCase.nExitCode) << errors.toStdString();
        const QStringList arrFiles = QDir(folder.path()).entryList(QDir::Files);
        if (testCase.dSeconds == 0) {
            EXPECT_TRUE(arrFiles.isEmpty()) << arrFiles.join(u' ').toStdString();
            EXPECT_TRUE(errors.startsWith("mpegrec: ")) << errors.toStdString();
            continue;
        }
        ASSERT_EQ(arrFiles.size(), 1);
        // Named after the title, made safe, and the start.
        EXPECT_TRUE(QRegularExpression(R"(^News_ late \d{4}-\d\d-\d\d \d\d-\d\d\.mpg$)").match(arrFiles[0]).hasMatch())
            << arrFiles[0].toStdString();
        const QJsonObject probe = ProbeFile(QDir(folder.path()).filePath(arrFiles[0]).toStdString());
        EXPECT_NEAR(JsonNumber(probe["format"].toObject(), "duration"), testCase.dSeconds, LENGTH_TOLERANCE_SECONDS);
    }
}
