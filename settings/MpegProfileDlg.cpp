#include "settings/MpegProfileDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

CMpegProfileDlg::CMpegProfileDlg(QWidget* pParent)
    : CSettingsDialog(QStringLiteral("Mpeg Profile"), pParent)
{
    QGroupBox* pGroup = Group();

    m_pFrameRateList = MakeDropDownList(FRAME_RATE_LIST, pGroup);
    m_pFrameRateList->addItems(FRAME_RATES);
    connect(m_pFrameRateList, &QComboBox::activated, this, [this](int nIndex) {
        ConversionSettings& settings = ConversionSettings::Instance();
        settings.nFrameRateIndex = nIndex;
        settings.dFrameRate = m_pFrameRateList->itemText(nIndex).toDouble();
    });
    m_pSampleRateList = MakeDropDownList(SAMPLE_RATE_LIST, pGroup);
    m_pSampleRateList->addItems(SAMPLE_RATES);
    connect(m_pSampleRateList, &QComboBox::activated, this, [this](int nIndex) {
        ConversionSettings& settings = ConversionSettings::Instance();
        settings.nAudioSampleRateIndex = nIndex;
        settings.nAudioSampleRate = ReadLeadingInteger(m_pSampleRateList->itemText(nIndex));
    });
    m_pVideoBitrateEdit = MakeNumberField(VIDEO_BITRATE_EDIT, &ConversionSettings::nVideoBitrate);
    m_pAudioBitrateEdit = MakeNumberField(AUDIO_BITRATE_EDIT, &ConversionSettings::nAudioBitrate);
    m_pAudioChannelEdit = MakeNumberField(AUDIO_CHANNEL_EDIT, &ConversionSettings::nAudioChannels);
    m_pWidthEdit = MakeNumberField(WIDTH_EDIT, &ConversionSettings::nMpegWidth);
    m_pHeightEdit = MakeNumberField(HEIGHT_EDIT, &ConversionSettings::nMpegHeight);
    m_pScaleCheck = new QCheckBox(QStringLiteral("Scale to 16:9"), pGroup);
    m_pScaleCheck->setObjectName(QString::number(SCALE_CHECK));
    connect(m_pScaleCheck, &QCheckBox::clicked, this,
            [](bool bChecked) { ConversionSettings::Instance().bScaleTo16By9 = bChecked; });

    // Video on the left, audio on the right, the picture size below.
    auto* pGrid = new QGridLayout(pGroup);
    const auto addRow = [pGrid, pGroup](int nRow, int nColumn, const QString& strLabel, QWidget* pField) {
        auto* pLabel = new QLabel(strLabel, pGroup);
        pLabel->setBuddy(pField);
        pGrid->addWidget(pLabel, nRow, nColumn);
        pGrid->addWidget(pField, nRow, nColumn + 1);
    };
    addRow(0, 0, QStringLiteral("MPEG Frame"), m_pFrameRateList);
    addRow(0, 2, QStringLiteral("Audio Sample Rate"), m_pSampleRateList);
    addRow(1, 0, QStringLiteral("Video Bitrate"), m_pVideoBitrateEdit);
    addRow(1, 2, QStringLiteral("Audio Bitrate"), m_pAudioBitrateEdit);
    addRow(2, 2, QStringLiteral("Audio Channel"), m_pAudioChannelEdit);
    addRow(3, 0, QStringLiteral("Width"), m_pWidthEdit);
    addRow(3, 2, QStringLiteral("Height"), m_pHeightEdit);
    pGrid->addWidget(m_pScaleCheck, 4, 0, 1, 4);
}

QLineEdit* CMpegProfileDlg::MakeNumberField(int nId, int ConversionSettings::*pSetting)
{
    QLineEdit* pEdit = MakeEdit(nId, Group());
    connect(pEdit, &QLineEdit::textChanged, this, [pSetting](const QString& strText) {
        ConversionSettings::Instance().*pSetting = ReadLeadingInteger(strText);
    });
    return pEdit;
}

void CMpegProfileDlg::ShowStoredValues()
{
    const ConversionSettings& settings = ConversionSettings::Instance();
    m_pFrameRateList->setCurrentIndex(settings.nFrameRateIndex);
    m_pSampleRateList->setCurrentIndex(settings.nAudioSampleRateIndex);
    m_pAudioBitrateEdit->setText(QString::number(settings.nAudioBitrate));
    m_pAudioChannelEdit->setText(QString::number(settings.nAudioChannels));
    m_pVideoBitrateEdit->setText(QString::number(settings.nVideoBitrate));
    m_pWidthEdit->setText(QString::number(settings.nMpegWidth));
    m_pHeightEdit->setText(QString::number(settings.nMpegHeight));
    m_pScaleCheck->setChecked(settings.bScaleTo16By9);
}
