#pragma once

#include <QImage>
#include <QList>
#include <QRect>
#include <QString>

#include "controls/SkinColor.h"

class CIniFile;
class CSkinButton;
class CSkinCheck;
class CSkinOption;
class ISkinParent;
class QWidget;

// Turns the sections of a skin description into controls on the window: one
// control per entry of a control list section, created at the entry's
// rectangle with its images, name, index (entry number minus one) and flags.
// The window owns what the factory makes.
class CSkinFactory
{
public:
    // strFolder: the folder that holds the description; images are looked
    // up there without regard to letter case.
    CSkinFactory(QWidget& window,
                 ISkinParent& skinParent,
                 const CIniFile& ini,
                 const QString& strFolder,
                 COLORREF crTransparent);

    // BUTTONINFO. Afterwards "BUTTON_PLAY" is shown and "BUTTON_PAUSE"
    // hidden, whatever the skin says: a recording swaps them.
    QList<CSkinButton*> MakeButtons() const;
    QList<CSkinOption*> MakeOptions() const;
    QList<CSkinCheck*> MakeChecks() const;

    // ICON: false, and nothing changed, when the skin gives none. An image
    // that does not load gives a null image.
    bool ReadIcon(QImage& imgIcon, QRect& rcIcon) const;
    // CONTROL: false, and nothing changed, when the skin gives none.
    bool ReadControlRect(QRect& rcControl) const;

    // The path of an image named by the description.
    QString ImagePath(const QString& strImage) const;

private:
    template <class TButton>
    QList<TButton*> MakeStateButtons(const QString& strSection) const;
    void SetUpButton(CSkinButton& button, int nIndex, QString& strValue) const;

    QWidget& m_window;
    ISkinParent& m_skinParent;
    const CIniFile& m_ini;
    QString m_strFolder;
    COLORREF m_crTransparent;
};
