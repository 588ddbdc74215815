#include "settings/SyncModeDlg.h"
#include "tests/settings/DialogDriver.h"

using namespace DialogDriver;

namespace {

using enum CSyncModeDlg::EControlId;

class SyncModeDlgTest : public SettingsTest
{
protected:
    CSyncModeDlg m_dialog { Settings() };
};

TEST_F(SyncModeDlgTest, OpensWithTheStoredModeAndOffset)
{
    m_dialog.show();
    QComboBox* pModes = Find<QComboBox>(m_dialog, MODE_LIST);
    ASSERT_EQ(pModes->count(), 3);
    EXPECT_EQ(pModes->itemText(0), "No Sync");
    EXPECT_EQ(pModes->itemText(2), "Sync with stream offset (Manual Mode)");
    EXPECT_EQ(pModes->currentText(), "Sync with stream offset (Auto Mode)");
    EXPECT_EQ(Find<QLineEdit>(m_dialog, OFFSET_EDIT)->text(), "1");
    // Selected by the program: the name stays as it was.
    EXPECT_TRUE(Settings().strSyncModeName.isEmpty());
}

TEST_F(SyncModeDlgTest, ChoicesAreStoredAtOnceAndSurviveCancel)
{
    m_dialog.show();
    ChooseItem(Find<QComboBox>(m_dialog, MODE_LIST), 2);
    EXPECT_EQ(Settings().nSyncMode, 2);
    EXPECT_EQ(Settings().strSyncModeName, "Sync with stream offset (Manual Mode)");
    TypeText(Find<QLineEdit>(m_dialog, OFFSET_EDIT), "250");
    EXPECT_EQ(Settings().nAudioOffset, 250);
    Cancel(m_dialog);
    EXPECT_EQ(Settings().nAudioOffset, 250);

    m_dialog.show();
    EXPECT_EQ(Find<QComboBox>(m_dialog, MODE_LIST)->currentIndex(), 2);
    EXPECT_EQ(Find<QLineEdit>(m_dialog, OFFSET_EDIT)->text(), "250");
}

} // namespace
