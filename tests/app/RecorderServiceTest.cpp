#include <gtest/gtest.h>

#include <memory>

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QFile>
#include <QSignalSpy>

#include "app/ProgramIdentity.h"
#include "app/RecorderControl.h"
#include "app/RecorderService.h"
#include "controls/SkinEdit.h"
#include "tests/app/ProgramDriver.h"
#include "tests/common/PrivateSessionBus.h"
#include "tests/engine/MediaProbe.h"

// The window's transport on a session bus of the test's own, called as a
// script calls it: every method and property against the real window.

namespace {

const QString PROPERTIES_INTERFACE = QStringLiteral("org.freedesktop.DBus.Properties");
constexpr int CALL_TIMEOUT_MS = 60000;

// What the bus tells a listener.
class CBusListener : public QObject
{
    Q_OBJECT

public:
    QList<QVariantMap> m_arrChanged;
    QStringList m_arrFinishedFiles;

public slots:
    void OnPropertiesChanged(const QString&, const QVariantMap& changed, const QStringList&)
    {
        m_arrChanged.append(changed);
    }
    void OnRecordingFinished(const QString& strFile, double, qulonglong, const QString&)
    {
        m_arrFinishedFiles.append(strFile);
    }
};

class RecorderService : public CProgramTest
{
protected:
    void SetUp() override
    {
        CProgramTest::SetUp();
        if (IsSkipped())
            return;
        ASSERT_TRUE(m_bus.IsValid()) << "dbus-daemon did not start; scripts/setup installs it";
        m_pWindow = std::make_unique<CConverterDlg>(m_prompt, m_settings);
        m_pWindow->show();
        m_pControl = std::make_unique<CRecorderControl>(*m_pWindow);
        m_pService = std::make_unique<CRecorderService>(m_bus.Connect(QStringLiteral("service")));
        ASSERT_EQ(m_pService->Claim(), CRecorderService::EClaim::Owned);
        m_pService->Serve(*m_pControl);
        m_client = m_bus.Connect(QStringLiteral("client"));
        m_client.connect(ProgramIdentity::APPLICATION_ID, CRecorderService::OBJECT_PATH, PROPERTIES_INTERFACE,
                         QStringLiteral("PropertiesChanged"), &m_listener,
                         SLOT(OnPropertiesChanged(QString, QVariantMap, QStringList)));
        m_client.connect(ProgramIdentity::APPLICATION_ID, CRecorderService::OBJECT_PATH,
                         ProgramIdentity::APPLICATION_ID, QStringLiteral("RecordingFinished"), &m_listener,
                         SLOT(OnRecordingFinished(QString, double, qulonglong, QString)));
    }

    // The service answers on this thread: the call lets events run meanwhile.
    QDBusMessage Call(const QString& strMethod, const QVariantList& arrArguments = {})
    {
        QDBusMessage call = QDBusMessage::createMethodCall(
            ProgramIdentity::APPLICATION_ID, CRecorderService::OBJECT_PATH, ProgramIdentity::APPLICATION_ID, strMethod);
        call.setArguments(arrArguments);
        return m_client.call(call, QDBus::BlockWithGui, CALL_TIMEOUT_MS);
    }

    QVariant Property(const QString& strName)
    {
        QDBusMessage call =
            QDBusMessage::createMethodCall(ProgramIdentity::APPLICATION_ID, CRecorderService::OBJECT_PATH,
                                           PROPERTIES_INTERFACE, QStringLiteral("Get"));
        call << ProgramIdentity::APPLICATION_ID << strName;
        const QDBusMessage reply = m_client.call(call, QDBus::BlockWithGui, CALL_TIMEOUT_MS);
        EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
        return reply.arguments().value(0).value<QDBusVariant>().variant();
    }

    bool WaitForElapsedProperty(double dSeconds)
    {
        return WaitUntil([&] { return Property(QStringLiteral("Elapsed")).toDouble() >= dSeconds; },
                         RECORDING_START_TIMEOUT_MS);
    }

    CPrivateSessionBus m_bus;
    std::unique_ptr<CConverterDlg> m_pWindow;
    std::unique_ptr<CRecorderControl> m_pControl;
    std::unique_ptr<CRecorderService> m_pService;
    QDBusConnection m_client { QString() };
    CBusListener m_listener;
};

struct CStep
{
    const char* pszMethod;
    // The file Record gets, in the test's folder; nullptr for none.
    const char* pszFile;
    const char* pszState;
    // The file the window records to afterwards; nullptr for none.
    const char* pszRecordingFile;
};

TEST_F(RecorderService, EveryMethodDrivesTheWindowAndThePropertiesFollow)
{
    const CStep steps[] = {
        { "Record", "remote.mpg", "recording", "remote.mpg" },
        { "Pause", nullptr, "paused", "remote.mpg" },
        { "Resume", nullptr, "recording", "remote.mpg" },
        { "Stop", nullptr, "stopped", nullptr },
        { "Play", nullptr, "previewing", nullptr },
        { "Pause", nullptr, "paused", nullptr },
        { "Play", nullptr, "previewing", nullptr },
        { "Stop", nullptr, "stopped", nullptr },
        // The proposed name: the title in the last recording's folder.
        { "Toggle", nullptr, "recording", "Remote take.mpg" },
        { "Toggle", nullptr, "stopped", nullptr },
        { "Record", "", "recording", "Remote take (2).mpg" },
        { "Stop", nullptr, "stopped", nullptr },
    };
    CSkinEdit* pTitle = m_pWindow->FindEdit(CConverterDlg::TITLE_EDIT);
    ASSERT_NE(pTitle, nullptr);
    pTitle->setText(QStringLiteral("Remote take"));
    for (const CStep& step : steps) {
        SCOPED_TRACE(std::string(step.pszMethod) + " to " + step.pszState);
        const QVariantList arrArguments = step.pszFile
            ? QVariantList { *step.pszFile ? m_current.FilePath(step.pszFile) : QString() }
            : QVariantList {};
        const QDBusMessage reply = Call(step.pszMethod, arrArguments);
        ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
        EXPECT_EQ(Property(QStringLiteral("State")).toString(), step.pszState);
        const QString strFile = step.pszRecordingFile ? m_current.FilePath(step.pszRecordingFile) : QString();
        EXPECT_EQ(Property(QStringLiteral("File")).toString(), strFile);
        // The window's own buttons show what a click would have left.
        const CSkinButton* pPause = m_pWindow->FindButton(CConverterDlg::PAUSE_BUTTON);
        ASSERT_NE(pPause, nullptr);
        EXPECT_EQ(pPause->isVisible(),
                  QByteArray(step.pszState) == "recording" || QByteArray(step.pszState) == "previewing");
        if (QByteArray(step.pszState) == "recording") {
            ASSERT_TRUE(WaitForElapsedProperty(1.0));
            EXPECT_GT(Property(QStringLiteral("Bytes")).toULongLong(), 0u);
        }
    }
    EXPECT_EQ(m_prompt.Texts(), QStringList()) << "nothing was asked at the window";
    for (const char* pszFile : { "remote.mpg", "Remote take.mpg", "Remote take (2).mpg" }) {
        SCOPED_TRACE(pszFile);
        const QJsonObject probe = ProbeFile(m_current.FilePath(pszFile).toStdString());
        EXPECT_EQ(FindStream(probe, "video")["codec_name"].toString(), "mpeg1video");
        EXPECT_EQ(FindStream(probe, "audio")["codec_name"].toString(), "mp2");
    }
    EXPECT_TRUE(WaitUntil([&] { return m_listener.m_arrFinishedFiles.size() == 3; }, CALL_TIMEOUT_MS));
    EXPECT_EQ(m_listener.m_arrFinishedFiles.value(0), m_current.FilePath("remote.mpg"));
    const bool bSawRecording =
        std::any_of(m_listener.m_arrChanged.cbegin(), m_listener.m_arrChanged.cend(),
                    [](const QVariantMap& changed) { return changed.value(QStringLiteral("State")) == "recording"; });
    EXPECT_TRUE(bSawRecording);
    EXPECT_TRUE(std::any_of(m_listener.m_arrChanged.cbegin(), m_listener.m_arrChanged.cend(),
                            [](const QVariantMap& changed) { return changed.contains(QStringLiteral("Elapsed")); }));
}

struct CErrorCase
{
    const char* pszWhat;
    const char* pszMethod;
    // Record's file, relative to the test's folder unless absolute.
    const char* pszFile;
    // What the error's text must name.
    QString strCause;
};

TEST_F(RecorderService, FailuresComeBackAsBusErrorsWithTheirCause)
{
    QFile existing(m_current.FilePath("kept.mpg"));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly) && existing.write("user's file") > 0);
    existing.close();
    const CErrorCase cases[] = {
        { "a folder that does not exist", "Record", "missing/take.mpg", m_current.FilePath("missing") },
        { "a relative path", "Record", "relative.mpg", QStringLiteral("relative.mpg") },
        { "a file that exists", "Record", "kept.mpg", m_current.FilePath("kept.mpg") },
        { "pause with nothing running", "Pause", nullptr, CRecorderControl::NOTHING_RUNNING },
        { "resume with nothing paused", "Resume", nullptr, CRecorderControl::NOTHING_PAUSED },
    };
    for (const CErrorCase& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        QVariantList arrArguments;
        if (c.pszFile)
            arrArguments = { QByteArray(c.pszWhat) == "a relative path" ? QString(c.pszFile)
                                                                        : m_current.FilePath(c.pszFile) };
        const QDBusMessage reply = Call(c.pszMethod, arrArguments);
        ASSERT_EQ(reply.type(), QDBusMessage::ErrorMessage);
        EXPECT_EQ(reply.errorName(), CRecorderService::FAILED_ERROR);
        EXPECT_TRUE(reply.errorMessage().contains(c.strCause)) << reply.errorMessage().toStdString();
        EXPECT_EQ(Property(QStringLiteral("State")).toString(), "stopped");
    }
    ASSERT_TRUE(existing.open(QIODevice::ReadOnly));
    EXPECT_EQ(existing.readAll(), "user's file");
    EXPECT_EQ(m_prompt.Texts(), QStringList()) << "no message box at the window for a remote caller";
}

// Of two programs starting at once, one serves and the other learns so.
TEST_F(RecorderService, ASecondClaimIsTakenAndShowRaisesTheWindow)
{
    CRecorderService second(m_bus.Connect(QStringLiteral("second")));
    EXPECT_EQ(second.Claim(), CRecorderService::EClaim::Taken);
    m_pWindow->showMinimized();
    EXPECT_EQ(Call(QStringLiteral("Show")).type(), QDBusMessage::ReplyMessage);
    EXPECT_FALSE(m_pWindow->isMinimized());
    EXPECT_TRUE(m_pWindow->isVisible());
}

struct CEndingCase
{
    const char* pszWhat;
    bool bStartRemotely;
    // Stopped remotely, at the window, or not at all: the device fills up.
    enum class EStop { Remote, Window, ByItself } eStop;
    bool bFromOutside;
};

TEST(RecorderControl, AFinishedRecordingSaysWhetherItWasDrivenFromOutsideOrEndedByItself)
{
    if (!CProgramCurrentDirectory::HasProgramSkin(CConverterDlg::DEFAULT_SKIN))
        GTEST_SKIP() << "the program's skins are not built beside the test";
    using EStop = CEndingCase::EStop;
    const CEndingCase cases[] = {
        { "all at the window", false, EStop::Window, false },
        { "started remotely", true, EStop::Window, true },
        { "stopped remotely", false, EStop::Remote, true },
        { "a full device", true, EStop::ByItself, true },
    };
    for (const CEndingCase& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        CProgramCurrentDirectory current;
        ConversionSettings settings = BuiltInSourceSettings();
        CScriptedPrompt prompt;
        const QString strFile = c.eStop == EStop::ByItself ? QStringLiteral("/dev/full") : current.FilePath("a.mpg");
        CConverterDlg window(prompt, settings);
        CRecorderControl control(window);
        QSignalSpy finished(&control, &CRecorderControl::RecordingFinished);
        if (c.bStartRemotely) {
            ASSERT_EQ(control.Record(strFile), QString());
        } else {
            prompt.m_arrFiles = { strFile };
            window.RunCommand(CConverterDlg::CONVERT_BUTTON, prompt);
        }
        ASSERT_EQ(control.State(), CRecorderControl::EState::Recording);
        if (c.eStop == EStop::Remote)
            EXPECT_EQ(control.Stop(), QString());
        else if (c.eStop == EStop::Window)
            window.RunCommand(CConverterDlg::STOP_BUTTON, prompt);
        ASSERT_TRUE(!finished.isEmpty() || finished.wait(CALL_TIMEOUT_MS));
        const auto ending = finished.first().first().value<CRecorderControl::CFinishedRecording>();
        EXPECT_EQ(ending.strFile, strFile);
        EXPECT_EQ(ending.bFromOutside, c.bFromOutside);
        EXPECT_EQ(ending.bEndedByItself, c.eStop == EStop::ByItself);
        EXPECT_EQ(ending.strError.isEmpty(), c.eStop != EStop::ByItself);
    }
}

} // namespace

#include "RecorderServiceTest.moc"
