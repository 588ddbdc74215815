#include "settings/SyncModeDlg.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include "settings/ConversionSettings.h"

CSyncModeDlg::CSyncModeDlg(ConversionSettings& settings, QWidget* pParent)
    : CSettingsDialog(tr("Sync Mode"), settings, pParent)
{
    QGroupBox* pGroup = Group();
    m_pModeList = MakeDropDownList(MODE_LIST, pGroup);
    for (const char* pszMode : SYNC_MODES)
        m_pModeList->addItem(tr(pszMode));
    StoreChoice(m_pModeList, &ConversionSettings::nSyncMode, &ConversionSettings::strSyncModeName);
    // Negative plays the video later.
    const CRangedEdit offset =
        MakeRangedEdit(OFFSET_EDIT, CEncorda::ERangedValue::AudioOffset, &ConversionSettings::nAudioOffset);
    m_pOffsetEdit = offset.pEdit;

    auto* pGrid = new QGridLayout(pGroup);
    pGrid->addWidget(m_pModeList, 0, 0, 1, 3);
    auto* pOffsetLabel = new QLabel(tr("Audio Offset"), pGroup);
    pOffsetLabel->setBuddy(m_pOffsetEdit);
    pGrid->addWidget(pOffsetLabel, 1, 0);
    pGrid->addWidget(offset.pRow, 1, 1, 1, 2);
}

void CSyncModeDlg::ShowStoredValues()
{
    const ConversionSettings& settings = Settings();
    m_pModeList->setCurrentIndex(settings.nSyncMode);
    m_pOffsetEdit->setText(QString::number(settings.nAudioOffset));
}
