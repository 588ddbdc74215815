#pragma once

#include <QImage>
#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>

#include "skin/ColorRef.h"
#include "skin/SkinFields.h"
#include "skin/SkinFormat.h"
#include "skin/SkinLimits.h"

class CIniFile;
class CLabel;
class CSkinButton;
class CSkinCheck;
class CSkinComboBox;
class CSkinEdit;
class CSkinListBox;
class CSkinOption;
class CSkinProgress;
class CSkinSlider;
class ISkinParent;
class QWidget;

// Turns the sections of a skin description into controls on the window: one
// control per entry of a control list section, children of the window, in
// entry order, each created at the entry's rectangle with its images, name,
// index (entry number minus one) and flags; an entry larger than SkinLimits
// allow makes no control. The window owns what the factory makes. The button family is made in SkinFactory.cpp, the
// other controls in SkinControlLoaders.cpp.
class CSkinFactory
{
public:
    // Sliders get this range whatever the skin says; their position is
    // clamped into it.
    static constexpr int SLIDER_RANGE_MAX = 7200;
    static constexpr int NUMBER_COLUMN_WIDTH = 35;
    // Space a LISTBOXINFO list leaves right of its text column.
    static constexpr int TEXT_COLUMN_SPARE = 40;

    // strFolder: the folder that holds the description; images are looked
    // up there without regard to letter case.
    CSkinFactory(QWidget& window, ISkinParent& skinParent, const CIniFile& ini, const QString& strFolder,
                 COLORREF crTransparent);

    // BUTTONINFO. Afterwards "BUTTON_PLAY" is shown and "BUTTON_PAUSE"
    // hidden, whatever the skin says: a recording swaps them.
    QList<CSkinButton*> MakeButtons() const;
    // TASKBARBUTTON: buttons as BUTTONINFO makes them, for the notifier
    // popup, which is then the factory's window and skin parent.
    QList<CSkinButton*> MakeTaskButtons() const;
    QList<CSkinOption*> MakeOptions() const;
    QList<CSkinCheck*> MakeChecks() const;

    QList<CSkinSlider*> MakeSliders() const;
    QList<CSkinProgress*> MakeProgresses() const;
    // Null when the skin has no CAPTION entry, or one larger than
    // SkinLimits allow a control.
    CLabel* MakeCaption() const;
    QList<CLabel*> MakeLabels() const;
    QList<CSkinEdit*> MakeEdits() const;
    QList<CSkinListBox*> MakeListBoxes() const;
    QList<CSkinComboBox*> MakeComboBoxes() const;

    // ICON: false, and nothing changed, when the skin gives none or one
    // larger than SkinLimits allow a control. An image that does not load
    // gives a null image.
    bool ReadIcon(QImage& imgIcon, QRect& rcIcon) const;
    // CONTROL: false, and nothing changed, when the skin gives none or one
    // larger than SkinLimits allow a window.
    bool ReadControlRect(QRect& rcControl) const;
    // PAGE of TASKNOTIFIER: where the notifier's web page lies on its
    // picture; an empty rectangle when the skin does not say or gives one
    // larger than SkinLimits allow a control.
    QRect ReadNotifierPageRect() const;

    // The path of an image named by the description.
    QString ImagePath(const QString& strImage) const;

private:
    // Reads the entries of a control list section and makes one control
    // each; make() takes the fields off the entry it is given.
    template <class TControl, class TMake>
    QList<TControl*> MakeEach(const SkinFormat::CSectionFormat& format, TMake make) const;
    // The value of a single value section; empty when the skin gives none.

    QList<CSkinButton*> MakePushButtons(const SkinFormat::CSectionFormat& format) const;
    template <class TButton>
    QList<TButton*> MakeStateButtons(const SkinFormat::CSectionFormat& format) const;
    void SetUpButton(CSkinButton& button, int nIndex, SkinFormat::CEntryReader& entry) const;
    QStringList ScrollImagePaths(SkinFormat::CEntryReader& entry) const;
    CLabel* MakeLabel(SkinFormat::CEntryReader& entry) const;

    QWidget& m_window;
    ISkinParent& m_skinParent;
    const CIniFile& m_ini;
    QString m_strFolder;
    COLORREF m_crTransparent;
};

template <class TControl, class TMake>
QList<TControl*> CSkinFactory::MakeEach(const SkinFormat::CSectionFormat& format, TMake make) const
{
    QList<TControl*> arrControls;
    for (const SkinFields::CControlEntry& entry : SkinFields::ReadControlList(m_ini, format.Section())) {
        // Left out before anything of it is made: its images would be
        // scaled to its size.
        if (!SkinLimits::ControlFits(SkinFormat::RectOf(format, entry.strValue)))
            continue;
        SkinFormat::CEntryReader reader(format, entry.strValue);
        arrControls.append(make(entry.nIndex, reader));
    }
    return arrControls;
}
