#include "skin/SkinFactory.h"

#include <QWidget>

#include "controls/Label.h"
#include "controls/SkinComboBox.h"
#include "controls/SkinEdit.h"
#include "controls/SkinListBox.h"
#include "controls/SkinProgress.h"
#include "controls/SkinScrollBar.h"
#include "controls/SkinSlider.h"
#include "skin/IniFile.h"
#include "skin/SkinFields.h"

using SkinFields::NextField;
using SkinFields::ParseColor;
using SkinFields::ParseRect;

namespace {

const QString CAPTION_SECTION = QStringLiteral("CAPTION");

} // namespace

QStringList CSkinFactory::ScrollImagePaths(QString& strValue) const
{
    QStringList arrPaths;
    for (int i = 0; i < CSkinScrollBar::IMAGE_COUNT; ++i)
        arrPaths.append(ImagePath(NextField(strValue)));
    return arrPaths;
}

// Fields: name, channel image, thumb image, drag thumb image, left, top,
// right, bottom, orientation, position, tooltip.
QList<CSkinSlider*> CSkinFactory::MakeSliders() const
{
    return MakeEach<CSkinSlider>(QStringLiteral("SLIDERINFO"), [this](int nIndex, QString& strValue) {
        const QString strName = NextField(strValue);
        const QString strChannel = NextField(strValue);
        const QString strThumb = NextField(strValue);
        const QString strDragThumb = NextField(strValue);
        const QRect rc = ParseRect(strValue);
        const QString strOrientation = NextField(strValue);
        const QString strPosition = NextField(strValue);
        const QString strTip = NextField(strValue);

        auto* pSlider = new CSkinSlider(&m_window, m_skinParent);
        pSlider->Create(rc);
        pSlider->SetTransparentColor(m_crTransparent);
        pSlider->LoadChannelImage(ImagePath(strChannel));
        // An empty drag thumb field means the thumb does not change while
        // dragged; it does not take the thumb away.
        pSlider->LoadThumbImages(ImagePath(strThumb), strDragThumb.isEmpty() ? QString() : ImagePath(strDragThumb), true);
        pSlider->EnableFocusFrame(false, false);
        pSlider->SetIndex(nIndex);
        pSlider->SetName(strName);
        pSlider->SetTipText(strTip, true);
        pSlider->SetRange(0, SLIDER_RANGE_MAX, false);
        pSlider->SetPos(SkinFields::ToInt(strPosition));
        if (SkinFields::IsVertical(strOrientation))
            pSlider->MakeVertical(true);
        return pSlider;
    });
}

// Fields: name, left, top, right, bottom, image.
QList<CSkinProgress*> CSkinFactory::MakeProgresses() const
{
    return MakeEach<CSkinProgress>(QStringLiteral("PROGRESSINFO"), [this](int nIndex, QString& strValue) {
        const QString strName = NextField(strValue);
        const QRect rc = ParseRect(strValue);
        const QString strImage = NextField(strValue);

        auto* pProgress = new CSkinProgress(&m_window, m_skinParent);
        pProgress->Create(rc);
        pProgress->SetTransparentColor(m_crTransparent);
        pProgress->SetIndex(nIndex);
        pProgress->SetName(strName);
        pProgress->LoadBlock(ImagePath(strImage));
        return pProgress;
    });
}

// Fields after the name: left, top, right, bottom, text, font face, point
// size, text colour.
CLabel* CSkinFactory::MakeLabel(QString& strValue) const
{
    const QRect rc = ParseRect(strValue);
    const QString strText = NextField(strValue);
    const QString strFace = NextField(strValue);
    const QString strPoints = NextField(strValue);
    const QString strColor = NextField(strValue);

    auto* pLabel = new CLabel(&m_window, m_skinParent);
    pLabel->Create(rc);
    pLabel->SetLabelText(strText);
    pLabel->SetFaceName(strFace);
    pLabel->SetPointSize(SkinFields::ToInt(strPoints));
    pLabel->SetTextRgb(ParseColor(strColor));
    pLabel->update();
    return pLabel;
}

CLabel* CSkinFactory::MakeCaption() const
{
    QString strValue = m_ini.GetString(CAPTION_SECTION, CAPTION_SECTION, QString());
    if (strValue.isEmpty())
        return nullptr;
    NextField(strValue);
    return MakeLabel(strValue);
}

QList<CLabel*> CSkinFactory::MakeLabels() const
{
    return MakeEach<CLabel>(QStringLiteral("LABELINFO"), [this](int nIndex, QString& strValue) {
        const QString strName = NextField(strValue);
        CLabel* pLabel = MakeLabel(strValue);
        pLabel->SetIndex(nIndex);
        pLabel->SetName(strName);
        return pLabel;
    });
}

// Fields: name, left, top, right, bottom, background colour, text colour,
// border colour, enabled flag.
QList<CSkinEdit*> CSkinFactory::MakeEdits() const
{
    return MakeEach<CSkinEdit>(QStringLiteral("EDITBOXINFO"), [this](int nIndex, QString& strValue) {
        const QString strName = NextField(strValue);
        const QRect rc = ParseRect(strValue);
        const COLORREF crBack = ParseColor(NextField(strValue));
        const COLORREF crText = ParseColor(NextField(strValue));
        const COLORREF crBorder = ParseColor(NextField(strValue));
        const QString strEnabled = NextField(strValue);

        auto* pEdit = new CSkinEdit(&m_window, m_skinParent);
        pEdit->Create(rc);
        pEdit->SetIndex(nIndex);
        pEdit->SetName(strName);
        pEdit->SetBkColor(crBack);
        pEdit->SetTextColor(crText);
        pEdit->SetBorderColor(crBorder);
        pEdit->setEnabled(SkinFields::IsEnabled(strEnabled));
        return pEdit;
    });
}

// Fields: name, left, top, right, bottom, item background, item text,
// selected item background, selected item text, scroll images 1 to 7.
QList<CSkinListBox*> CSkinFactory::MakeListBoxes() const
{
    return MakeEach<CSkinListBox>(QStringLiteral("LISTBOXINFO"), [this](int nIndex, QString& strValue) {
        const QString strName = NextField(strValue);
        const QRect rc = ParseRect(strValue);
        const COLORREF crBack = ParseColor(NextField(strValue));
        const COLORREF crText = ParseColor(NextField(strValue));
        const COLORREF crSelBack = ParseColor(NextField(strValue));
        const COLORREF crSelText = ParseColor(NextField(strValue));
        const QStringList arrScrollImages = ScrollImagePaths(strValue);

        auto* pList = new CSkinListBox(&m_window, m_skinParent);
        pList->Create(rc);
        pList->SetBkColor(crBack);
        pList->SetTextColor(crText);
        pList->SetSelBkColor(crSelBack);
        pList->SetSelTextColor(crSelText);
        pList->SetIndex(nIndex);
        pList->SetName(strName);
        pList->setFont(CSkinListBox::SkinListFont());
        pList->InitScrollBar(arrScrollImages);
        pList->InsertColumn(NUMBER_COLUMN_WIDTH, Qt::AlignRight);
        // The skin rectangle spans list and bar; the text column ends
        // TEXT_COLUMN_SPARE short of the bar.
        pList->InsertColumn(rc.width() - pList->ScrollBar()->width() - TEXT_COLUMN_SPARE, Qt::AlignLeft);
        return pList;
    });
}

// Fields: name, left, top, right, bottom, arrow image, edit background, edit
// text, edit border, item background, item text, selected item background,
// selected item text, scroll images 1 to 7.
QList<CSkinComboBox*> CSkinFactory::MakeComboBoxes() const
{
    return MakeEach<CSkinComboBox>(QStringLiteral("COMBOBOXINFO"), [this](int nIndex, QString& strValue) {
        const QString strName = NextField(strValue);
        const QRect rc = ParseRect(strValue);
        const QString strArrow = ImagePath(NextField(strValue));
        CSkinComboBox::CColors colors;
        colors.crEditBack = ParseColor(NextField(strValue));
        colors.crEditText = ParseColor(NextField(strValue));
        colors.crEditBorder = ParseColor(NextField(strValue));
        colors.crItemBack = ParseColor(NextField(strValue));
        colors.crItemText = ParseColor(NextField(strValue));
        colors.crSelectedBack = ParseColor(NextField(strValue));
        colors.crSelectedText = ParseColor(NextField(strValue));
        const QStringList arrScrollImages = ScrollImagePaths(strValue);

        auto* pCombo = new CSkinComboBox(&m_window, m_skinParent);
        pCombo->Create(rc);
        pCombo->SetIndex(nIndex);
        pCombo->SetName(strName);
        pCombo->LoadArrowSize(strArrow);
        pCombo->SetRects(rc);
        pCombo->CreateButton(strArrow);
        pCombo->CreateEdit(colors);
        pCombo->CreateList(colors, arrScrollImages);
        return pCombo;
    });
}
