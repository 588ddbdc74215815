#include "settings/VideoFrameDlg.h"

#include <QComboBox>
#include <QGroupBox>
#include <QVBoxLayout>

#include "encoder/Encorda.h"
#include "settings/EncoderOwner.h"
#include "settings/FramePictureNames.h"
#include "settings/RecorderNames.h"

namespace {

constexpr int PICTURE_LIST = 1025;

} // namespace

CVideoFrameDlg::CVideoFrameDlg(ConversionSettings& settings, IEncoderOwner* pOwner, QWidget* pParent)
    : CSettingsDialog(tr("Video Frame"), settings, pParent)
    , m_pOwner(pOwner)
{
    QGroupBox* pGroup = Group();
    m_pPictureList = MakeDropDownList(PICTURE_LIST, pGroup);
    auto* pLayout = new QVBoxLayout(pGroup);
    pLayout->addWidget(m_pPictureList);

    FillList(m_pPictureList, FramePictureNames::ListEntries(ReadNames(CEncorda::GetFramePictures())));
    m_pPictureList->setCurrentIndex(Settings().nFramePictureIndex);

    StoreChoice(m_pPictureList, &ConversionSettings::nFramePictureIndex, &ConversionSettings::strFramePictureName);
    // The recorder numbers its pictures from 1; 0 means none.
    connect(m_pPictureList, &QComboBox::activated, this,
            [this](int nIndex) { m_pOwner->Encoder().SetVideoFrame(static_cast<short>(nIndex + 1)); });
}
