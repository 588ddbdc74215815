#include <functional>
#include <memory>

#include <QGroupBox>
#include <QLabel>

#include "settings/MpegProfileDlg.h"
#include "settings/SyncModeDlg.h"
#include "tests/common/GermanCatalogues.h"
#include "tests/settings/DialogDriver.h"

using namespace DialogDriver;

namespace {

// Every text the dialog shows: title, group, labels, boxes and list items.
QStringList ShownTexts(const QDialog& dialog)
{
    QStringList arrTexts { dialog.windowTitle() };
    for (const QGroupBox* pGroup : dialog.findChildren<QGroupBox*>())
        arrTexts.append(pGroup->title());
    for (const QLabel* pLabel : dialog.findChildren<QLabel*>())
        arrTexts.append(pLabel->text());
    for (const QAbstractButton* pButton : dialog.findChildren<QAbstractButton*>())
        arrTexts.append(pButton->text());
    for (const QComboBox* pList : dialog.findChildren<QComboBox*>())
        arrTexts.append(Items(pList));
    return arrTexts;
}

class GermanDialogsTest : public SettingsTest
{
protected:
    // The dialogs' own catalogue, and the recorder's, which words the units
    // of the ranges and the disc line.
    CGermanCatalogues m_catalogues { { "skinrec_settings_dialogs", "skinrec_recorder" } };
};

// Titles, labels, buttons, list entries and the texts the dialogs take from
// the recorder all come in German once the catalogues are installed.
TEST_F(GermanDialogsTest, TheDialogsSpeakGerman)
{
    ASSERT_TRUE(m_catalogues.Missing().isEmpty()) << m_catalogues.Missing().join(' ').toStdString();
    const struct
    {
        const char* pszDialog;
        std::function<std::unique_ptr<QDialog>(ConversionSettings&)> make;
        QString strTitle;
        QStringList arrShown;
    } cases[] = {
        { "MPEG profile",
          [](ConversionSettings& settings) { return std::make_unique<CMpegProfileDlg>(settings); },
          "MPEG-Profil",
          { "Bildrate", "Abtastrate", "Auf 16:9 skalieren", "16 bis 8192 Pixel", "1 bis 8 Kanäle", "Abbrechen" } },
        { "sync mode",
          [](ConversionSettings& settings) { return std::make_unique<CSyncModeDlg>(settings); },
          "Synchronisierung",
          { "Keine Synchronisierung", "Nach Stromversatz synchronisieren (manuell)", "Audioversatz",
            "-10000 bis 10000 ms" } },
    };
    for (const auto& dialogCase : cases) {
        SCOPED_TRACE(dialogCase.pszDialog);
        const std::unique_ptr<QDialog> pDialog = dialogCase.make(Settings());
        pDialog->show();
        EXPECT_EQ(pDialog->windowTitle(), dialogCase.strTitle);
        const QStringList arrTexts = ShownTexts(*pDialog);
        for (const QString& strShown : dialogCase.arrShown)
            EXPECT_TRUE(arrTexts.contains(strShown))
                << strShown.toStdString() << " not among " << arrTexts.join(" | ").toStdString();
    }
}

} // namespace
