#pragma once

#include <QList>
#include <QRect>
#include <QString>

#include "controls/SkinColor.h"

class CIniFile;
class CLabel;
class CSkinComboBox;
class CSkinEdit;
class CSkinListBox;
class CSkinProgress;
class CSkinSlider;
class ISkinParent;
class QWidget;

// The loaders of the skin sections that are not buttons: sliders, progress
// bars, the caption and text labels, edit boxes, list boxes and combo boxes.
// Each makes one control per entry, children of the window, in entry order;
// the window owns what they make.
class CSkinControlLoaders
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
    CSkinControlLoaders(QWidget& window,
                        ISkinParent& skinParent,
                        const CIniFile& ini,
                        const QString& strFolder,
                        COLORREF crTransparent);

    QList<CSkinSlider*> MakeSliders() const;
    QList<CSkinProgress*> MakeProgresses() const;
    // Null when the skin has no CAPTION entry.
    CLabel* MakeCaption() const;
    QList<CLabel*> MakeLabels() const;
    QList<CSkinEdit*> MakeEdits() const;
    QList<CSkinListBox*> MakeListBoxes() const;
    QList<CSkinComboBox*> MakeComboBoxes() const;

private:
    QString ImagePath(const QString& strImage) const;
    QStringList ScrollImagePaths(QString& strValue) const;
    CLabel* MakeLabel(QString& strValue) const;

    QWidget& m_window;
    ISkinParent& m_skinParent;
    const CIniFile& m_ini;
    QString m_strFolder;
    COLORREF m_crTransparent;
};
