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
#include "skin/SkinLimits.h"

using SkinFields::ParseColor;
using SkinFormat::CEntryReader;
using SkinFormat::EField;

QStringList CSkinFactory::ScrollImagePaths(CEntryReader& entry) const
{
    QStringList arrPaths;
    for (int i = 0; i < CSkinScrollBar::IMAGE_COUNT; ++i)
        arrPaths.append(ImagePath(entry.Take(EField::eImage)));
    return arrPaths;
}

QList<CSkinSlider*> CSkinFactory::MakeSliders() const
{
    return MakeEach<CSkinSlider>(SkinFormat::SLIDERS, [this](int nIndex, CEntryReader& entry) {
        const QString strName = entry.Take(EField::eName);
        const QString strChannel = entry.Take(EField::eImage);
        const QString strThumb = entry.Take(EField::eImage);
        const QString strDragThumb = entry.Take(EField::eImage);
        const QRect rc = entry.TakeRect();
        const QString strOrientation = entry.Take(EField::eOrientation);
        const QString strPosition = entry.Take(EField::eNumber);
        const QString strTip = entry.Take(EField::eText);

        auto* pSlider = new CSkinSlider(&m_window, m_skinParent);
        pSlider->Create(rc);
        pSlider->SetTransparentColor(m_crTransparent);
        pSlider->LoadChannelImage(ImagePath(strChannel));
        // An empty drag thumb field means the thumb does not change while
        // dragged; it does not take the thumb away.
        pSlider->LoadThumbImages(ImagePath(strThumb), strDragThumb.isEmpty() ? QString() : ImagePath(strDragThumb),
                                 true);
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

QList<CSkinProgress*> CSkinFactory::MakeProgresses() const
{
    return MakeEach<CSkinProgress>(SkinFormat::PROGRESSES, [this](int nIndex, CEntryReader& entry) {
        const QString strName = entry.Take(EField::eName);
        const QRect rc = entry.TakeRect();
        const QString strImage = entry.Take(EField::eImage);

        auto* pProgress = new CSkinProgress(&m_window, m_skinParent);
        pProgress->Create(rc);
        pProgress->SetTransparentColor(m_crTransparent);
        pProgress->SetIndex(nIndex);
        pProgress->SetName(strName);
        pProgress->LoadBlock(ImagePath(strImage));
        return pProgress;
    });
}

// Reads the fields after the name: CAPTION's name means nothing to the
// window, LABELINFO's does.
CLabel* CSkinFactory::MakeLabel(CEntryReader& entry) const
{
    const QRect rc = entry.TakeRect();
    const QString strText = entry.Take(EField::eText);
    const QString strFace = entry.Take(EField::eText);
    const QString strPoints = entry.Take(EField::eNumber);
    const QString strColor = entry.Take(EField::eColor);

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
    const QString strValue = SkinFormat::SingleValue(m_ini, SkinFormat::CAPTION);
    if (strValue.isEmpty())
        return nullptr;
    if (!SkinLimits::ControlFits(SkinFormat::RectOf(SkinFormat::CAPTION, strValue)))
        return nullptr;
    CEntryReader entry(SkinFormat::CAPTION, strValue);
    entry.Take(EField::eName);
    return MakeLabel(entry);
}

QList<CLabel*> CSkinFactory::MakeLabels() const
{
    return MakeEach<CLabel>(SkinFormat::LABELS, [this](int nIndex, CEntryReader& entry) {
        const QString strName = entry.Take(EField::eName);
        CLabel* pLabel = MakeLabel(entry);
        pLabel->SetIndex(nIndex);
        pLabel->SetName(strName);
        return pLabel;
    });
}

QList<CSkinEdit*> CSkinFactory::MakeEdits() const
{
    return MakeEach<CSkinEdit>(SkinFormat::EDITS, [this](int nIndex, CEntryReader& entry) {
        const QString strName = entry.Take(EField::eName);
        const QRect rc = entry.TakeRect();
        const COLORREF crBack = ParseColor(entry.Take(EField::eColor));
        const COLORREF crText = ParseColor(entry.Take(EField::eColor));
        const COLORREF crBorder = ParseColor(entry.Take(EField::eColor));
        const QString strEnabled = entry.Take(EField::eFlag);

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

QList<CSkinListBox*> CSkinFactory::MakeListBoxes() const
{
    return MakeEach<CSkinListBox>(SkinFormat::LIST_BOXES, [this](int nIndex, CEntryReader& entry) {
        const QString strName = entry.Take(EField::eName);
        const QRect rc = entry.TakeRect();
        const COLORREF crBack = ParseColor(entry.Take(EField::eColor));
        const COLORREF crText = ParseColor(entry.Take(EField::eColor));
        const COLORREF crSelBack = ParseColor(entry.Take(EField::eColor));
        const COLORREF crSelText = ParseColor(entry.Take(EField::eColor));
        const QStringList arrScrollImages = ScrollImagePaths(entry);

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

QList<CSkinComboBox*> CSkinFactory::MakeComboBoxes() const
{
    return MakeEach<CSkinComboBox>(SkinFormat::COMBO_BOXES, [this](int nIndex, CEntryReader& entry) {
        const QString strName = entry.Take(EField::eName);
        const QRect rc = entry.TakeRect();
        const QString strArrow = ImagePath(entry.Take(EField::eImage));
        CSkinComboBox::CColors colors;
        colors.crEditBack = ParseColor(entry.Take(EField::eColor));
        colors.crEditText = ParseColor(entry.Take(EField::eColor));
        colors.crEditBorder = ParseColor(entry.Take(EField::eColor));
        colors.crItemBack = ParseColor(entry.Take(EField::eColor));
        colors.crItemText = ParseColor(entry.Take(EField::eColor));
        colors.crSelectedBack = ParseColor(entry.Take(EField::eColor));
        colors.crSelectedText = ParseColor(entry.Take(EField::eColor));
        const QStringList arrScrollImages = ScrollImagePaths(entry);

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
