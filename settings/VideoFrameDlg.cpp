#include "settings/VideoFrameDlg.h"

#include <QComboBox>
#include <QGroupBox>
#include <QVBoxLayout>

#include "recorder/Encorda.h"
#include "settings/FramePictureNames.h"
#include "settings/RecorderNames.h"
#include "settings/RecorderOwner.h"

namespace {

constexpr int PICTURE_LIST = 1025;

} // namespace

CVideoFrameDlg::CVideoFrameDlg(ConversionSettings& settings, IRecorderOwner* pOwner, QWidget* pParent)
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
    connect(m_pPictureList, &QComboBox::activated, this,
            [this](int nIndex) { m_pOwner->RecorderWidget().SetVideoFrame(FramePictureNames::VideoFrameOf(nIndex)); });
}
