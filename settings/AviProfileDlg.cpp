#include "settings/AviProfileDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "recorder/Encorda.h"
#include "settings/RecorderNames.h"
#include "settings/RecorderOwner.h"
#include "skin/Prompt.h"

CAviProfileDlg::CAviProfileDlg(ConversionSettings& settings, IRecorderOwner* pOwner, QWidget* pParent)
    : CSettingsDialog(tr("AVI Profile"), settings, pParent)
    , m_pOwner(pOwner)
{
    QGroupBox* pGroup = Group();
    m_pUseVideoCompressorCheck =
        MakeSwitch(USE_VIDEO_COMPRESSOR_CHECK, tr("Use Video Compressor"), &ConversionSettings::bUseVideoCompressor);
    m_pVideoCompressorList = MakeDropDownList(VIDEO_COMPRESSOR_LIST, pGroup);
    StoreChoice(m_pVideoCompressorList, &ConversionSettings::nVideoCompressorIndex,
                &ConversionSettings::strVideoCompressorName);
    m_pSettingButton = new QPushButton(tr("Setting"), pGroup);
    m_pSettingButton->setObjectName(QString::number(SETTING_BUTTON));
    m_pSettingButton->setAutoDefault(false);
    connect(m_pSettingButton, &QPushButton::clicked, this, &CAviProfileDlg::ShowCompressorSettings);
    m_pUseAudioCompressorCheck =
        MakeSwitch(USE_AUDIO_COMPRESSOR_CHECK, tr("Use Audio Compressor"), &ConversionSettings::bUseAudioCompressor);
    m_pAudioCompressorList = MakeDropDownList(AUDIO_COMPRESSOR_LIST, pGroup);
    StoreChoice(m_pAudioCompressorList, &ConversionSettings::nAudioCompressorIndex,
                &ConversionSettings::strAudioCompressorName);
    m_pUseCustomFrameCheck =
        MakeSwitch(USE_CUSTOM_FRAME_CHECK, tr("Use Custom Video Frame"), &ConversionSettings::bUseCustomFrame);
    const CRangedEdit width =
        MakeRangedEdit(WIDTH_EDIT, CEncorda::ERangedValue::PictureSide, &ConversionSettings::nCustomFrameWidth);
    const CRangedEdit height =
        MakeRangedEdit(HEIGHT_EDIT, CEncorda::ERangedValue::PictureSide, &ConversionSettings::nCustomFrameHeight);
    m_pWidthEdit = width.pEdit;
    m_pHeightEdit = height.pEdit;
    m_pAudioCompressorWhenCaptureCheck =
        MakeSwitch(AUDIO_COMPRESSOR_WHEN_CAPTURE_CHECK, tr("Use Audio Compressor when Capture"),
                   &ConversionSettings::bUseAudioCompressorWhenCapture);
    m_pVideoCompressorWhenCaptureCheck =
        MakeSwitch(VIDEO_COMPRESSOR_WHEN_CAPTURE_CHECK, tr("Use Video Compressor when Capture"),
                   &ConversionSettings::bUseVideoCompressorWhenCapture);
    m_pShowPreviewCheck =
        MakeSwitch(SHOW_PREVIEW_CHECK, tr("Show Preview when Capture"), &ConversionSettings::bShowPreviewWhenCapture);
    m_pAudioCaptureCheck = MakeSwitch(AUDIO_CAPTURE_CHECK, tr("Audio Capture"), &ConversionSettings::bAudioCapture);
    m_pVideoCaptureCheck = MakeSwitch(VIDEO_CAPTURE_CHECK, tr("Video Capture"), &ConversionSettings::bVideoCapture);
    m_pMuteTvCheck = MakeSwitch(MUTE_TV_CHECK, tr("Mute TV"), &ConversionSettings::bMuteTV);
    // The recorder mutes the tuner at once, not at the next start.
    connect(m_pMuteTvCheck, &QCheckBox::clicked, this,
            [this](bool bChecked) { m_pOwner->RecorderWidget().SetTVMute(bChecked); });
    for (QCheckBox* pCheck : { m_pUseVideoCompressorCheck, m_pUseAudioCompressorCheck, m_pUseCustomFrameCheck })
        connect(pCheck, &QCheckBox::clicked, this, &CAviProfileDlg::UpdateEnabled);

    // A compressor list takes the row under its switch; the switches of the
    // capture follow in one column.
    auto* pGrid = new QGridLayout(pGroup);
    int nRow = 0;
    pGrid->addWidget(m_pUseVideoCompressorCheck, nRow++, 0, 1, 2);
    pGrid->addWidget(m_pVideoCompressorList, nRow, 0);
    pGrid->addWidget(m_pSettingButton, nRow++, 1);
    pGrid->addWidget(m_pUseAudioCompressorCheck, nRow++, 0, 1, 2);
    pGrid->addWidget(m_pAudioCompressorList, nRow++, 0);
    pGrid->addWidget(m_pUseCustomFrameCheck, nRow++, 0, 1, 2);
    auto* pSize = new QHBoxLayout;
    for (const auto& [strLabel, field] : { std::pair { tr("Width"), width }, std::pair { tr("Height"), height } }) {
        auto* pLabel = new QLabel(strLabel, pGroup);
        pLabel->setBuddy(field.pEdit);
        pSize->addWidget(pLabel);
        pSize->addWidget(field.pRow);
    }
    pSize->addStretch();
    pGrid->addLayout(pSize, nRow++, 0, 1, 2);
    auto* pCustomFrameNote = new QLabel(tr(CUSTOM_FRAME_NOTE), pGroup);
    pCustomFrameNote->setWordWrap(true);
    pGrid->addWidget(pCustomFrameNote, nRow++, 0, 1, 2);
    for (QCheckBox* pCheck : { m_pAudioCompressorWhenCaptureCheck, m_pVideoCompressorWhenCaptureCheck,
                               m_pShowPreviewCheck, m_pAudioCaptureCheck, m_pVideoCaptureCheck, m_pMuteTvCheck })
        pGrid->addWidget(pCheck, nRow++, 0, 1, 2);
}

QCheckBox* CAviProfileDlg::MakeSwitch(int nId, const QString& strLabel, bool ConversionSettings::*pSetting)
{
    auto* pCheck = new QCheckBox(strLabel, Group());
    pCheck->setObjectName(QString::number(nId));
    connect(pCheck, &QCheckBox::clicked, this, [this, pSetting](bool bChecked) { Settings().*pSetting = bChecked; });
    return pCheck;
}

void CAviProfileDlg::ShowStoredValues()
{
    CEncorda& encoder = m_pOwner->RecorderWidget();
    FillList(m_pVideoCompressorList, ReadNames(encoder.GetVideoCompressors()));
    FillList(m_pAudioCompressorList, ReadNames(encoder.GetAudioCompressors()));

    const ConversionSettings& settings = Settings();
    m_pUseVideoCompressorCheck->setChecked(settings.bUseVideoCompressor);
    m_pUseAudioCompressorCheck->setChecked(settings.bUseAudioCompressor);
    m_pUseCustomFrameCheck->setChecked(settings.bUseCustomFrame);
    m_pVideoCompressorWhenCaptureCheck->setChecked(settings.bUseVideoCompressorWhenCapture);
    m_pAudioCompressorWhenCaptureCheck->setChecked(settings.bUseAudioCompressorWhenCapture);
    m_pShowPreviewCheck->setChecked(settings.bShowPreviewWhenCapture);
    m_pAudioCaptureCheck->setChecked(settings.bAudioCapture);
    m_pVideoCaptureCheck->setChecked(settings.bVideoCapture);
    m_pMuteTvCheck->setChecked(settings.bMuteTV);
    UpdateEnabled();
    m_pWidthEdit->setText(QString::number(settings.nCustomFrameWidth));
    m_pHeightEdit->setText(QString::number(settings.nCustomFrameHeight));
    // The stored indexes decide, whatever the lists hold: an index past the
    // end leaves the list without a selection.
    m_pVideoCompressorList->setCurrentIndex(VideoCompressorIndex());
    m_pAudioCompressorList->setCurrentIndex(
        ShownIndex(settings.strAudioCompressorName, settings.nAudioCompressorIndex, encoder.GetAudioCompressor()));
}

int CAviProfileDlg::ShownIndex(const QString& strChosenName, int nStoredIndex, short nRecorderIndex)
{
    // Until the user picks one, the recorder's own compressor (the one
    // Convert then uses) stands in for the stored default index.
    return strChosenName.isEmpty() ? nRecorderIndex : nStoredIndex;
}

int CAviProfileDlg::VideoCompressorIndex() const
{
    const ConversionSettings& settings = Settings();
    return ShownIndex(settings.strVideoCompressorName, settings.nVideoCompressorIndex,
                      m_pOwner->RecorderWidget().GetVideoCompressor());
}

void CAviProfileDlg::UpdateEnabled()
{
    const bool bUseVideoCompressor = m_pUseVideoCompressorCheck->isChecked();
    m_pVideoCompressorList->setEnabled(bUseVideoCompressor);
    m_pSettingButton->setEnabled(bUseVideoCompressor);
    m_pAudioCompressorList->setEnabled(m_pUseAudioCompressorCheck->isChecked());
    const bool bUseCustomFrame = m_pUseCustomFrameCheck->isChecked();
    m_pWidthEdit->setEnabled(bUseCustomFrame);
    m_pHeightEdit->setEnabled(bUseCustomFrame);
    UpdateOkButton();
}

void CAviProfileDlg::ShowCompressorSettings()
{
    const int nStoredIndex = VideoCompressorIndex();
    // A stored index that names no item (a list that shrank) has no page to
    // show, rather than a guess at one.
    bool bShown = false;
    if (nStoredIndex >= 0 && nStoredIndex < m_pVideoCompressorList->count()) {
        const CEncordaList compressors = m_pOwner->RecorderWidget().GetVideoCompressors();
        bShown = compressors.ShowPropertyPage(compressors.FindIndex(m_pVideoCompressorList->itemText(nStoredIndex)));
    }
    if (!bShown)
        m_pOwner->MessagePrompt().ShowMessage(tr(NO_PROPERTY_PAGE), IPrompt::EIcon::Information);
}
