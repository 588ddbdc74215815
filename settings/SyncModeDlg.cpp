#include "settings/SyncModeDlg.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>

#include "settings/ConversionSettings.h"

CSyncModeDlg::CSyncModeDlg(QWidget* pParent)
    : CSettingsDialog(QStringLiteral("Sync Mode"), pParent)
{
    QGroupBox* pGroup = Group();
    m_pModeList = MakeDropDownList(MODE_LIST, pGroup);
    m_pModeList->addItems(SYNC_MODES);
    StoreChoice(m_pModeList, &ConversionSettings::nSyncMode, &ConversionSettings::strSyncModeName);
    m_pOffsetEdit = MakeEdit(OFFSET_EDIT, pGroup);
    m_pOffsetEdit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), m_pOffsetEdit));
    connect(m_pOffsetEdit, &QLineEdit::textChanged, this,
            [](const QString& strText) { ConversionSettings::Instance().nAudioOffset = ReadLeadingInteger(strText); });

    auto* pGrid = new QGridLayout(pGroup);
    pGrid->addWidget(m_pModeList, 0, 0, 1, 3);
    auto* pOffsetLabel = new QLabel(QStringLiteral("Audio Offset"), pGroup);
    pOffsetLabel->setBuddy(m_pOffsetEdit);
    pGrid->addWidget(pOffsetLabel, 1, 0);
    pGrid->addWidget(m_pOffsetEdit, 1, 1);
    pGrid->addWidget(new QLabel(QStringLiteral("ms"), pGroup), 1, 2);
}

void CSyncModeDlg::ShowStoredValues()
{
    const ConversionSettings& settings = ConversionSettings::Instance();
    m_pModeList->setCurrentIndex(settings.nSyncMode);
    m_pOffsetEdit->setText(QString::number(settings.nAudioOffset));
}
