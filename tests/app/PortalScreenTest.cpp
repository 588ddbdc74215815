#include <gtest/gtest.h>

#include <QFileInfo>

#include "tests/app/ProgramDriver.h"
#include "tests/portal/StandInPortal.h"

namespace {

testing::Environment* const g_pPortal = testing::AddGlobalTestEnvironment(new CStandInPortal);

const QString PORTAL_SCREEN = QStringLiteral("Screen (desktop portal)");

class PortalScreenTest : public CProgramTest
{
protected:
    void SetUp() override
    {
        CProgramTest::SetUp();
        CStandInPortal::Instance()->SetAnswer(QStringLiteral("grant"));
        CStandInPortal::Instance()->ForgetCalls();
        m_settings.Get().strVideoDeviceName = PORTAL_SCREEN;
    }
};

} // namespace

TEST_F(PortalScreenTest, TheDevicesListTheDesktopPortalsScreen)
{
    CConverterDlg dialog(m_prompt);
    EXPECT_GE(dialog.Encoder().GetVideoDevices().FindIndex(PORTAL_SCREEN), 0);
}

TEST_F(PortalScreenTest, ACancelledPickerSaysSoAndRecordsNothing)
{
    CStandInPortal::Instance()->SetAnswer(QStringLiteral("cancel"));
    const QString strFile = m_current.FilePath(QStringLiteral("refused.mpg"));
    m_prompt.m_arrFiles = { strFile };
    CConverterDlg dialog(m_prompt);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    ClickButton(dialog, "BUTTON_CONVERT");
    ASSERT_EQ(m_prompt.Texts(), (QStringList { QStringLiteral("Save As"), CEncorda::SCREEN_SHARING_REFUSED }));
    EXPECT_FALSE(dialog.Encoder().GetStatus().bRunning);
    EXPECT_FALSE(QFileInfo::exists(strFile));
    EXPECT_EQ(CStandInPortal::Instance()->Calls(QStringLiteral("Start")).size(), 1) << "the desktop was asked";
}
