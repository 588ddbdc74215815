#include "settings/AudioDeviceDlg.h"
#include "settings/DeviceDialog.h"
#include "settings/RecorderNames.h"
#include "settings/VideoDeviceDlg.h"
#include "tests/settings/DialogDriver.h"
#include "tests/settings/TestOwner.h"

using namespace DialogDriver;
using EDispatchId = CEncorda::EDispatchId;

namespace {

class DeviceDlgTest : public SettingsTest
{
protected:
    CTestOwner m_owner;
};

TEST_F(DeviceDlgTest, VideoListsAreTheRecordersInItsOrder)
{
    CVideoDeviceDlg dialog(Settings(), &m_owner);
    dialog.show();
    CEncorda& encoder = m_owner.RecorderWidget();
    const QStringList arrDevices = ReadNames(encoder.GetVideoDevices());
    // The built-in test sources are always there.
    ASSERT_FALSE(arrDevices.isEmpty());
    EXPECT_EQ(Items(Find<QComboBox>(dialog, CVideoDeviceDlg::DEVICE_LIST)), arrDevices);
    EXPECT_EQ(Items(Find<QComboBox>(dialog, CVideoDeviceDlg::INPUT_LIST)), ReadNames(encoder.GetVideoInputs()));
    EXPECT_EQ(Items(Find<QComboBox>(dialog, CVideoDeviceDlg::FORMAT_LIST)), ReadFormatNames(encoder.GetVideoFormats()));
    EXPECT_EQ(Find<QComboBox>(dialog, CVideoDeviceDlg::DEVICE_LIST)->currentIndex(), 0);
}

TEST_F(DeviceDlgTest, ListsAreFetchedAfreshAtEveryOpening)
{
    CVideoDeviceDlg videoDialog(Settings(), &m_owner);
    CAudioDeviceDlg audioDialog(Settings(), &m_owner);
    for (int nOpening = 1; nOpening <= 2; ++nOpening) {
        videoDialog.show();
        videoDialog.reject();
        audioDialog.show();
        audioDialog.reject();
    }
    for (EDispatchId eList : { EDispatchId::VideoDevices, EDispatchId::VideoInputs, EDispatchId::VideoFormats,
                               EDispatchId::AudioDevices, EDispatchId::AudioInputs }) {
        SCOPED_TRACE(static_cast<int>(eList));
        EXPECT_EQ(m_owner.CountCalls(eList), 2);
    }
}

TEST_F(DeviceDlgTest, OpeningAndClosingStoresNothing)
{
    Settings().nAudioInputIndex = 0;
    CAudioDeviceDlg audioDialog(Settings(), &m_owner);
    audioDialog.show();
    EXPECT_EQ(Find<QComboBox>(audioDialog, CAudioDeviceDlg::DEVICE_LIST)->currentIndex(), 0);
    audioDialog.accept();
    CVideoDeviceDlg videoDialog(Settings(), &m_owner);
    videoDialog.show();
    videoDialog.accept();
    EXPECT_TRUE(Settings().strAudioDeviceName.isEmpty());
    EXPECT_TRUE(Settings().strAudioInputName.isEmpty());
    EXPECT_TRUE(Settings().strVideoDeviceName.isEmpty());
    EXPECT_TRUE(Settings().strVideoFormatName.isEmpty());
    EXPECT_TRUE(Settings().strVideoInputName.isEmpty());
}

TEST_F(DeviceDlgTest, AStoredIndexOutsideTheListLeavesNoSelection)
{
    Settings().nVideoDeviceIndex = 500;
    Settings().nVideoFormatIndex = -1;
    CVideoDeviceDlg dialog(Settings(), &m_owner);
    dialog.show();
    // The device is the recorder's, whatever index is stored.
    EXPECT_EQ(Find<QComboBox>(dialog, CVideoDeviceDlg::DEVICE_LIST)->currentIndex(),
              m_owner.RecorderWidget().GetVideoDevice());
    EXPECT_EQ(Find<QComboBox>(dialog, CVideoDeviceDlg::FORMAT_LIST)->currentIndex(), -1);
    EXPECT_EQ(Find<QComboBox>(dialog, CVideoDeviceDlg::INPUT_LIST)->currentIndex(), 0);
}

struct CDeviceInUseCase
{
    const char* pszWhat;
    QString strChosen;
    short nRecorderDevice;
    short nShown;
};

// Before any choice the stored index says 0 whatever the recorder chose;
// the dialogs show the device it records from instead.
TEST(DeviceInUse, IsTheChosenNameElseTheRecordersOwn)
{
    const CEncordaList devices({ QStringLiteral("Screen"), QStringLiteral("Test Pattern"), QStringLiteral("Camera") });
    const CDeviceInUseCase cases[] = {
        { "nothing chosen", QString(), 1, 1 },
        { "chosen", QStringLiteral("Camera"), 1, 2 },
        { "chosen, unplugged since", QStringLiteral("Old camera"), 1, 1 },
        { "chosen, the recorder's own", QStringLiteral("Test Pattern"), 1, 1 },
    };
    for (const CDeviceInUseCase& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        EXPECT_EQ(CDeviceDialog::DeviceInUse(devices, c.strChosen, c.nRecorderDevice), c.nShown);
    }
}

struct CChoiceCase
{
    int nListId;
    int ConversionSettings::*pIndex;
    QString ConversionSettings::*pName;
};

// Each choice is stored as index and name at once and survives Cancel.
void ExpectChoicesStored(QDialog& dialog, const ConversionSettings& settings, const std::vector<CChoiceCase>& cases)
{
    for (const CChoiceCase& choice : cases) {
        SCOPED_TRACE(choice.nListId);
        dialog.show();
        QComboBox* pList = Find<QComboBox>(dialog, choice.nListId);
        const int nLast = pList->count() - 1;
        ASSERT_GE(nLast, 0);
        ChooseItem(pList, nLast);
        const QString strChosen = pList->itemText(nLast);
        EXPECT_EQ(settings.*choice.pIndex, nLast);
        EXPECT_EQ(settings.*choice.pName, strChosen);
        Cancel(dialog);
        EXPECT_EQ(settings.*choice.pName, strChosen);
        dialog.show();
        EXPECT_EQ(pList->currentText(), strChosen);
        dialog.reject();
    }
}

TEST_F(DeviceDlgTest, VideoChoicesAreStoredAsIndexAndName)
{
    CVideoDeviceDlg dialog(Settings(), &m_owner);
    ExpectChoicesStored(dialog, Settings(),
                        { { CVideoDeviceDlg::DEVICE_LIST, &ConversionSettings::nVideoDeviceIndex,
                            &ConversionSettings::strVideoDeviceName },
                          { CVideoDeviceDlg::FORMAT_LIST, &ConversionSettings::nVideoFormatIndex,
                            &ConversionSettings::strVideoFormatName },
                          { CVideoDeviceDlg::INPUT_LIST, &ConversionSettings::nVideoInputIndex,
                            &ConversionSettings::strVideoInputName } });
}

TEST_F(DeviceDlgTest, AudioChoicesAreStoredAsIndexAndName)
{
    CAudioDeviceDlg dialog(Settings(), &m_owner);
    ExpectChoicesStored(dialog, Settings(),
                        { { CAudioDeviceDlg::DEVICE_LIST, &ConversionSettings::nAudioDeviceIndex,
                            &ConversionSettings::strAudioDeviceName },
                          { CAudioDeviceDlg::INPUT_LIST, &ConversionSettings::nAudioInputIndex,
                            &ConversionSettings::strAudioInputName } });
}

} // namespace
