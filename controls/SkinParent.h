#pragma once

#include <QRect>
#include <QString>

class QImage;
class CSkinCheck;
class CSkinComboBox;

// What a skinned control needs from the window that holds it. The skinned
// dialog implements it, and so does the notifier popup for its button; the
// controls never see the classes behind it.
class ISkinParent
{
public:
    virtual ~ISkinParent() = default;

    // The skin background as painted under the controls, in the parent's
    // client coordinates; a null image before a skin is loaded. Controls
    // copy the part under themselves once and draw over that copy. A
    // double-resolution background has a device pixel ratio of 2: its
    // pixels are twice the client coordinates.
    virtual const QImage& BackgroundCopy() const = 0;

    virtual void OnButtonClicked(int nIndex) = 0;
    virtual void OnOptionClicked(int nIndex) = 0;
    virtual CSkinCheck* OnCheckClicked(int nIndex) = 0;
    virtual void OnSliderChanged(int nIndex, int nPos) = 0;

    // Only the first combo box of a window is wired to its drop button, its
    // list clicks and the close-on-mouse-move rule; null when there is none.
    virtual CSkinComboBox* FirstComboBox() const = 0;
    // Shared flag: the first combo box's list is dropped down. The main
    // window's repaint timer pauses while it is set.
    virtual void SetDropDownOpen(bool bOpen) = 0;
};
