#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <mutex>
#include <vector>

extern "C" {
#include <libavutil/log.h>
}

#include "engine/DiscStandard.h"
#include "engine/FfmpegLog.h"
#include "tests/engine/MediaProbe.h"

// The authoring tools check a recording as a disc needs it. Both report what
// they refuse in their output, at times with exit status 0, so a recording
// passes only when a tool exits with 0 and warns about nothing.

namespace {

const QString MPEGREC = MPEGREC_PATH;
const QStringList SHORT_RECORDING = { "--fast", "--duration", "3" };

struct CToolRun
{
    int nExitCode = -1;
    QString strOutput;
};

CToolRun RunTool(const QString& strProgram, const QStringList& arguments)
{
    CToolRun run;
    QByteArray errors;
    const QByteArray output = RunProgram(strProgram, arguments, &run.nExitCode, &errors);
    run.strOutput = QString::fromUtf8(output + errors);
    return run;
}

// Lines a tool marks as a warning or an error ("++ WARN:", "**ERROR:",
// "WARN:", "ERR:").
QStringList Complaints(const QString& strOutput)
{
    QStringList complaints;
    for (const QString& strLine : strOutput.split('\n')) {
        if (strLine.contains("WARN") || strLine.contains("ERR"))
            complaints.append(strLine);
    }
    return complaints;
}

void Record(const QString& strFile, const QStringList& arguments)
{
    int nExitCode = -1;
    QByteArray errors;
    RunProgram(MPEGREC, QStringList { "-o", strFile } + SHORT_RECORDING + arguments, &nExitCode, &errors);
    ASSERT_EQ(nExitCode, 0) << errors.toStdString();
}

// vcdxbuild's description of a disc holding one recording.
QByteArray VideoCdXml(const QString& strClass, const QString& strVersion, const QString& strRecording)
{
    return QStringLiteral(R"(<?xml version="1.0"?>
<!DOCTYPE videocd PUBLIC "-//GNU//DTD VideoCD//EN" "http://www.gnu.org/software/vcdimager/videocd.dtd">
<videocd xmlns="http://www.gnu.org/software/vcdimager/1.0/" class="%1" version="%2">
  <info><album-id/><volume-count>1</volume-count><volume-number>1</volume-number><restriction>0</restriction></info>
  <pvd><volume-id>VIDEOCD</volume-id><system-id>CD-RTOS CD-BRIDGE</system-id></pvd>
  <sequence-items><sequence-item src="%3" id="sequence-00"/></sequence-items>
</videocd>
)")
        .arg(strClass, strVersion, strRecording.toHtmlEscaped())
        .toUtf8();
}

// A recording meant for the disc is taken without a complaint; one that is
// not draws at least one, which shows the check can fail.
void ExpectVerdict(const CToolRun& run, bool bAccepted)
{
    const QStringList complaints = Complaints(run.strOutput);
    if (bAccepted) {
        EXPECT_EQ(run.nExitCode, 0) << run.strOutput.toStdString();
        EXPECT_TRUE(complaints.isEmpty()) << complaints.join('\n').toStdString();
    } else {
        EXPECT_FALSE(complaints.isEmpty()) << run.strOutput.toStdString();
    }
}

} // namespace

TEST(DiscAuthoring, VcdxbuildTakesVideoCdTargets)
{
    if (QStandardPaths::findExecutable("vcdxbuild").isEmpty())
        GTEST_SKIP() << "vcdxbuild (vcdimager) is not installed";
    struct CVideoCdCase
    {
        QStringList arguments;
        const char* pszClass;
        const char* pszVersion;
        bool bAccepted;
    } const cases[] = {
        { { "--target", "vcd" }, "vcd", "2.0", true },
        { { "--target", "vcd", "--frame-rate", "29.97" }, "vcd", "2.0", true },
        { { "--target", "svcd", "--frame-rate", "30" }, "svcd", "1.0", true },
        // VCD's values but 48 kHz audio: an MPEG-1 stream no Video CD takes.
        { { "--type", "mpeg1", "--size", "352x288", "--frame-rate", "25", "--video-bitrate", "1150000", "--sample-rate",
            "48000" },
          "vcd",
          "2.0",
          false },
    };
    const QTemporaryDir folder;
    const QString strRecording = folder.filePath("disc.mpg");
    const QString strXml = folder.filePath("disc.xml");
    for (const CVideoCdCase& testCase : cases) {
        SCOPED_TRACE(testCase.arguments.join(' ').toStdString());
        // vcdxbuild warns about an image it overwrites.
        const QString strImage = folder.filePath(QStringLiteral("disc-%1").arg(&testCase - cases));
        ASSERT_NO_FATAL_FAILURE(Record(strRecording, testCase.arguments));
        QFile xml(strXml);
        ASSERT_TRUE(xml.open(QIODevice::WriteOnly | QIODevice::Truncate));
        xml.write(VideoCdXml(testCase.pszClass, testCase.pszVersion, strRecording));
        xml.close();
        const CToolRun run = RunTool("vcdxbuild", { "-c", strImage + ".cue", "-b", strImage + ".bin", strXml });
        ExpectVerdict(run, testCase.bAccepted);
        if (testCase.bAccepted) {
            EXPECT_GT(QFileInfo(strImage + ".bin").size(), QFileInfo(strRecording).size());
        }
    }
}

TEST(DiscAuthoring, DvdauthorTakesTheDvdTarget)
{
    if (QStandardPaths::findExecutable("dvdauthor").isEmpty())
        GTEST_SKIP() << "dvdauthor is not installed";
    const std::pair<QStringList, bool> cases[] = {
        { { "--target", "dvd" }, true },
        { { "--target", "dvd", "--frame-rate", "29.97", "--aspect", "16:9" }, true },
        // The program's own MPEG-2 profile: 23.976 pictures a second and
        // 44.1 kHz audio make a valid stream no DVD takes.
        { { "--type", "mpeg2" }, false },
    };
    const QTemporaryDir folder;
    const QString strRecording = folder.filePath("disc.mpg");
    int nDisc = 0;
    for (const auto& [arguments, bAccepted] : cases) {
        SCOPED_TRACE(arguments.join(' ').toStdString());
        // dvdauthor adds to a disc folder that is already there.
        const QString strDisc = folder.filePath(QStringLiteral("disc-%1").arg(++nDisc));
        ASSERT_NO_FATAL_FAILURE(Record(strRecording, arguments));
        const CToolRun run = RunTool("dvdauthor", { "-o", strDisc, "-t", strRecording });
        ExpectVerdict(run, bAccepted);
        if (bAccepted) {
            EXPECT_TRUE(QFileInfo::exists(strDisc + "/VIDEO_TS/VTS_01_1.VOB"));
        }
    }
}

// Best quality put MPEG-2's average at the DVD peak, where the encoder's
// rate control cannot promise the player's buffer ("impossible bitrate
// constraints"). The file is coded at that constant rate instead: the
// encoder reports no trouble and dvdauthor takes it.
TEST(DiscAuthoring, DvdauthorTakesBestQualityAtThePeakRate)
{
    if (QStandardPaths::findExecutable("dvdauthor").isEmpty())
        GTEST_SKIP() << "dvdauthor is not installed";
    const QTemporaryDir folder;
    const QString strRecording = folder.filePath("best.mpg");
    std::mutex linesMutex;
    std::vector<std::string> complaints;
    SetFfmpegLogSink([&](ELogLevel, const std::string& strLine) {
        std::lock_guard lock(linesMutex);
        complaints.push_back(strLine);
    });
    {
        CRecorder recorder;
        SetFfmpegLogLevel(AV_LOG_INFO);
        CRecordingRequest request;
        request.dSeconds = 3;
        ASSERT_TRUE(ConfigureRecorder(recorder, request, strRecording.toStdString()));
        ApplyDiscStandard(recorder.Profile(), EDiscStandard::eDvd, ETvNorm::ePal);
        recorder.Profile().bBestQuality = true;
        ASSERT_TRUE(RecordToTheEnd(recorder));
    }
    SetFfmpegLogLevel(AV_LOG_QUIET);
    SetFfmpegLogSink({});
    // The MPEG-2 encoder's notes on its rate control are its only lines.
    for (const std::string& strLine : complaints)
        EXPECT_EQ(strLine.find("[mpeg2video"), std::string::npos) << strLine;
    const CToolRun run = RunTool("dvdauthor", { "-o", folder.filePath("disc"), "-t", strRecording });
    ExpectVerdict(run, true);
}
