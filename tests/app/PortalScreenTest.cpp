#include <gtest/gtest.h>

#include <QFileInfo>

#include "portal/RestoreTokenStore.h"
#include "tests/app/ProgramDriver.h"
#include "tests/engine/PipeWireProducer.h"
#include "tests/portal/ProducerRecording.h"
#include "tests/portal/StandInPortal.h"

namespace {

testing::Environment* const g_pPortal = testing::AddGlobalTestEnvironment(new CStandInPortal);

const QString PORTAL_SCREEN = QStringLiteral("Screen (desktop portal)");
constexpr int PRODUCER_RATE = 25;
constexpr double RECORD_SECONDS = 5.0;
// Stop is clicked at the first status past the length, which comes twenty
// times a second, on a loaded machine perhaps later.
constexpr double STOP_SLACK_SECONDS = 1.0;

class PortalScreenTest : public CProgramTest
{
protected:
    void SetUp() override
    {
        CProgramTest::SetUp();
        CStandInPortal::Instance()->SetAnswer(QStringLiteral("grant"));
        CStandInPortal::Instance()->ForgetCalls();
        m_settings.strVideoDeviceName = PORTAL_SCREEN;
    }
};

} // namespace

TEST_F(PortalScreenTest, TheDevicesListTheDesktopPortalsScreen)
{
    CConverterDlg dialog(m_prompt, m_settings);
    EXPECT_GE(dialog.RecorderWidget().GetVideoDevices().FindIndex(PORTAL_SCREEN), 0);
}

// A cancelled picker is the person's choice, a portal that ends the request
// a failure with its cause; neither records anything.
TEST_F(PortalScreenTest, ACancelledPickerSaysSoAndRecordsNothing)
{
    const struct
    {
        const char* pszAnswer;
        QString strHeadline;
        const char* pszDetail; // part of it
    } cases[] = {
        { "cancel", CEncorda::SCREEN_SHARING_REFUSED, "dialog was cancelled" },
        { "end", QStringLiteral("Screen sharing failure, the desktop did not share its screen"),
          "ended the screen sharing request" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszAnswer);
        CStandInPortal::Instance()->SetAnswer(QString::fromLatin1(c.pszAnswer));
        CStandInPortal::Instance()->ForgetCalls();
        const QString strFile = m_current.FilePath(QStringLiteral("refused.mpg"));
        CScriptedPrompt prompt;
        prompt.m_arrFiles = { strFile };
        CConverterDlg dialog(prompt, m_settings);
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        ClickButton(dialog, "BUTTON_CONVERT");
        ASSERT_EQ(prompt.Texts(), (QStringList { QStringLiteral("Save As"), c.strHeadline }));
        EXPECT_TRUE(prompt.m_arrAsked.last().strDetail.contains(QString::fromLatin1(c.pszDetail)))
            << prompt.m_arrAsked.last().strDetail.toStdString();
        EXPECT_FALSE(dialog.RecorderWidget().GetStatus().bRunning);
        EXPECT_FALSE(QFileInfo::exists(strFile));
        EXPECT_EQ(CStandInPortal::Instance()->Calls(QStringLiteral("Start")).size(), 1) << "the desktop was asked";
    }
}

// Convert on the portal's screen: the desktop is asked, the stream it hands
// over is recorded, and the permission it grants is kept for next time.
TEST_F(PortalScreenTest, ConvertRecordsTheSharedScreen)
{
    std::string strReason;
    if (!IsPipeWireReachable(strReason))
        GTEST_SKIP() << strReason;
    CPipeWireProducer producer;
    ASSERT_TRUE(producer.Start(640, 480, PRODUCER_RATE, strReason)) << strReason;
    CStandInPortal::Instance()->SetNode(producer.NodeId());
    m_settings.dFrameRate = PRODUCER_RATE;
    m_settings.nMpegWidth = 352;
    m_settings.nMpegHeight = 288;
    const QString strFile = m_current.FilePath(QStringLiteral("screen.mpg"));
    m_prompt.m_arrFiles = { strFile };
    CConverterDlg dialog(m_prompt, m_settings);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));

    ClickButton(dialog, "BUTTON_CONVERT");
    ASSERT_EQ(m_prompt.Texts(), QStringList { QStringLiteral("Save As") });
    ASSERT_TRUE(WaitForElapsed(dialog.RecorderWidget(), RECORD_SECONDS));
    ClickButton(dialog, "BUTTON_STOP");
    EXPECT_EQ(m_prompt.Texts(), QStringList { QStringLiteral("Save As") });
    EXPECT_FALSE(ReadRestoreToken(DefaultRestoreTokenFile()).isEmpty());
    EXPECT_TRUE(QTest::qWaitFor([] {
        return CStandInPortal::Instance()->Calls(QStringLiteral("Session.Close")).size() == 1;
    })) << "the desktop stops sharing with the recording";
    ExpectProducerRecording(strFile.toStdString(), { 352, 288, PRODUCER_RATE }, RECORD_SECONDS - 1.0 / PRODUCER_RATE,
                            RECORD_SECONDS + STOP_SLACK_SECONDS);
}
