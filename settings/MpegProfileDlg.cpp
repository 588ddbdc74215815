#include "settings/MpegProfileDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include "recorder/Encorda.h"

CMpegProfileDlg::CMpegProfileDlg(ConversionSettings& settings, QWidget* pParent)
    : CSettingsDialog(tr("Mpeg Profile"), settings, pParent)
{
    QGroupBox* pGroup = Group();

    m_pFrameRateList = MakeDropDownList(FRAME_RATE_LIST, pGroup);
    m_pFrameRateList->addItems(FRAME_RATES);
    connect(m_pFrameRateList, &QComboBox::activated, this, [this](int nIndex) {
        ConversionSettings& settings = Settings();
        settings.nFrameRateIndex = nIndex;
        settings.dFrameRate = m_pFrameRateList->itemText(nIndex).toDouble();
        ShowDiscStandards();
    });
    m_pSampleRateList = MakeDropDownList(SAMPLE_RATE_LIST, pGroup);
    m_pSampleRateList->addItems(SAMPLE_RATES);
    connect(m_pSampleRateList, &QComboBox::activated, this, [this](int nIndex) {
        ConversionSettings& settings = Settings();
        settings.nAudioSampleRateIndex = nIndex;
        settings.nAudioSampleRate = ReadLeadingInteger(m_pSampleRateList->itemText(nIndex));
        ShowDiscStandards();
    });
    using enum CEncorda::ERangedValue;
    const CRangedEdit videoBitrate =
        MakeNumberField(VIDEO_BITRATE_EDIT, VideoBitrate, &ConversionSettings::nVideoBitrate);
    const CRangedEdit audioBitrate =
        MakeNumberField(AUDIO_BITRATE_EDIT, AudioBitrate, &ConversionSettings::nAudioBitrate);
    const CRangedEdit audioChannels =
        MakeNumberField(AUDIO_CHANNEL_EDIT, AudioChannels, &ConversionSettings::nAudioChannels);
    const CRangedEdit width = MakeNumberField(WIDTH_EDIT, PictureSide, &ConversionSettings::nMpegWidth);
    const CRangedEdit height = MakeNumberField(HEIGHT_EDIT, PictureSide, &ConversionSettings::nMpegHeight);
    m_pVideoBitrateEdit = videoBitrate.pEdit;
    m_pAudioBitrateEdit = audioBitrate.pEdit;
    m_pAudioChannelEdit = audioChannels.pEdit;
    m_pWidthEdit = width.pEdit;
    m_pHeightEdit = height.pEdit;
    m_pScaleCheck = new QCheckBox(tr("Scale to 16:9"), pGroup);
    m_pScaleCheck->setObjectName(QString::number(SCALE_CHECK));
    connect(m_pScaleCheck, &QCheckBox::clicked, this, [this](bool bChecked) {
        Settings().bScaleTo16By9 = bChecked;
        ShowDiscStandards();
    });
    m_pDiscStandardLine = new QLabel(pGroup);
    m_pDiscStandardLine->setObjectName(QString::number(DISC_STANDARD_LINE));
    m_pDiscStandardLine->setWordWrap(true);

    // Video on the left, audio on the right, the picture size below.
    auto* pGrid = new QGridLayout(pGroup);
    const auto addRow = [pGrid, pGroup](int nRow, int nColumn, const QString& strLabel, QWidget* pField,
                                        QWidget* pShown) {
        auto* pLabel = new QLabel(strLabel, pGroup);
        pLabel->setBuddy(pField);
        pGrid->addWidget(pLabel, nRow, nColumn);
        pGrid->addWidget(pShown, nRow, nColumn + 1);
    };
    addRow(0, 0, tr("MPEG Frame"), m_pFrameRateList, m_pFrameRateList);
    addRow(0, 2, tr("Audio Sample Rate"), m_pSampleRateList, m_pSampleRateList);
    addRow(1, 0, tr("Video Bitrate"), videoBitrate.pEdit, videoBitrate.pRow);
    addRow(1, 2, tr("Audio Bitrate"), audioBitrate.pEdit, audioBitrate.pRow);
    addRow(2, 2, tr("Audio Channel"), audioChannels.pEdit, audioChannels.pRow);
    addRow(3, 0, tr("Width"), width.pEdit, width.pRow);
    addRow(3, 2, tr("Height"), height.pEdit, height.pRow);
    pGrid->addWidget(m_pScaleCheck, 4, 0, 1, 4);
    pGrid->addWidget(m_pDiscStandardLine, 5, 0, 1, 4);
}

CSettingsDialog::CRangedEdit CMpegProfileDlg::MakeNumberField(int nId, CEncorda::ERangedValue eValue,
                                                              int ConversionSettings::*pSetting)
{
    const CRangedEdit field = MakeRangedEdit(nId, eValue, pSetting);
    connect(field.pEdit, &QLineEdit::textChanged, this, &CMpegProfileDlg::ShowDiscStandards);
    return field;
}

void CMpegProfileDlg::ShowDiscStandards()
{
    // Short values take the low 16 bits, as Convert writes them; the frame
    // rate's whole part is its code.
    const ConversionSettings& settings = Settings();
    CEncorda::CMpegValues values;
    values.nFrameRate = static_cast<short>(static_cast<int>(settings.dFrameRate));
    values.nWidth = static_cast<short>(settings.nMpegWidth);
    values.nHeight = static_cast<short>(settings.nMpegHeight);
    values.nVideoBitrate = settings.nVideoBitrate;
    values.nAudioBitrate = settings.nAudioBitrate;
    values.nAudioSampleRate = settings.nAudioSampleRate;
    values.nAudioChannels = static_cast<short>(settings.nAudioChannels);
    values.bWideScreen = settings.bScaleTo16By9;
    m_pDiscStandardLine->setText(CEncorda::DescribeDiscStandards(values));
}

void CMpegProfileDlg::ShowStoredValues()
{
    const ConversionSettings& settings = Settings();
    m_pFrameRateList->setCurrentIndex(settings.nFrameRateIndex);
    m_pSampleRateList->setCurrentIndex(settings.nAudioSampleRateIndex);
    m_pAudioBitrateEdit->setText(QString::number(settings.nAudioBitrate));
    m_pAudioChannelEdit->setText(QString::number(settings.nAudioChannels));
    m_pVideoBitrateEdit->setText(QString::number(settings.nVideoBitrate));
    m_pWidthEdit->setText(QString::number(settings.nMpegWidth));
    m_pHeightEdit->setText(QString::number(settings.nMpegHeight));
    m_pScaleCheck->setChecked(settings.bScaleTo16By9);
    ShowDiscStandards();
}
