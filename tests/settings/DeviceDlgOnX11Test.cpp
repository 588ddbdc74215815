#include <QSignalSpy>

#include "settings/RecorderNames.h"
#include "settings/VideoDeviceDlg.h"
#include "tests/settings/DialogDriver.h"
#include "tests/settings/TestOwner.h"

// On an X display the screen is a video device of its own, with formats
// unlike the test pattern's: the dialog must show those of the device
// selected in it, not those of the device the recorder used last.

using namespace DialogDriver;

namespace {

constexpr int SCAN_TIMEOUT_MS = 30000;

class DeviceDlgOnX11 : public SettingsTest
{
protected:
    CTestOwner m_owner;
};

TEST_F(DeviceDlgOnX11, FormatsAndInputsAreThoseOfTheSelectedDevice)
{
    CEncorda& encoder = m_owner.RecorderWidget();
    const CEncordaList devices = encoder.GetVideoDevices();
    const short nScreen = devices.FindIndex(QStringLiteral("Screen"));
    const short nPattern = devices.FindIndex(QStringLiteral("Test Pattern"));
    ASSERT_GE(nScreen, 0) << "the display is listed as a device";
    ASSERT_GE(nPattern, 0);
    const QStringList arrScreenFormats = ReadFormatNames(encoder.GetVideoFormats(nScreen));
    const QStringList arrPatternFormats = ReadFormatNames(encoder.GetVideoFormats(nPattern));
    ASSERT_NE(arrScreenFormats, arrPatternFormats);
    encoder.SetVideoDevice(nPattern);

    CVideoDeviceDlg dialog(Settings(), &m_owner);
    dialog.show();
    QComboBox* pDevices = Find<QComboBox>(dialog, CVideoDeviceDlg::DEVICE_LIST);
    QComboBox* pFormats = Find<QComboBox>(dialog, CVideoDeviceDlg::FORMAT_LIST);
    ChooseItem(pDevices, nScreen);
    EXPECT_EQ(Items(pFormats), arrScreenFormats);
    EXPECT_EQ(Items(Find<QComboBox>(dialog, CVideoDeviceDlg::INPUT_LIST)), ReadNames(encoder.GetVideoInputs(nScreen)));
    ChooseItem(pDevices, nPattern);
    EXPECT_EQ(Items(pFormats), arrPatternFormats);

    // Opened again, the dialog shows the stored device and its formats,
    // before and after the devices are read anew.
    ChooseItem(pDevices, nScreen);
    dialog.accept();
    QSignalSpy spyDevices(&encoder, &CEncorda::DevicesChanged);
    dialog.show();
    EXPECT_EQ(pDevices->currentText(), QStringLiteral("Screen"));
    EXPECT_EQ(Items(pFormats), arrScreenFormats);
    ASSERT_TRUE(spyDevices.wait(SCAN_TIMEOUT_MS)) << "opening reads the devices again";
    EXPECT_EQ(pDevices->currentText(), QStringLiteral("Screen"));
    EXPECT_EQ(Items(pFormats), arrScreenFormats);
}

// The screen comes first in the list, the recorder records the test
// pattern: a dialog opened before any choice shows the pattern.
TEST_F(DeviceDlgOnX11, BeforeAnyChoiceTheDeviceInUseIsShown)
{
    CEncorda& encoder = m_owner.RecorderWidget();
    const CEncordaList devices = encoder.GetVideoDevices();
    ASSERT_NE(encoder.GetVideoDevice(), 0) << "the recorder's own choice is not the first device";
    CVideoDeviceDlg dialog(Settings(), &m_owner);
    dialog.show();
    EXPECT_EQ(Find<QComboBox>(dialog, CVideoDeviceDlg::DEVICE_LIST)->currentText(),
              devices.Name(encoder.GetVideoDevice()));
    EXPECT_EQ(Items(Find<QComboBox>(dialog, CVideoDeviceDlg::FORMAT_LIST)), ReadFormatNames(encoder.GetVideoFormats()));
}

} // namespace
