#pragma once

#include <QString>

#include "skin/ColorRef.h"

class CIniFile;
class CTaskNotifierDlg;
class QWidget;

// The task notifier popup of the main window: every skin load slides it in
// with the skin's notifier picture, task buttons and page area. UI thread
// only.
class CSkinNotifier
{
public:
    // The popup is made on the first load, as a child of owner, which then
    // owns it.
    explicit CSkinNotifier(QWidget& owner);

    // The skin in use is about to go: the popup hides, and its task buttons
    // go with the skin.
    void Release();
    // The skin's description has been read; strFolder holds its pictures.
    // The popup takes the picture, with its magenta pixels cut away, and the
    // task buttons drawn with crTransparent, the skin's colour key, and
    // slides in.
    void Load(const CIniFile& ini, const QString& strFolder, COLORREF crTransparent);
    // A button of the window that carries a task button's name acts on the
    // popup as the popup's own would.
    void OnTaskButton(const QString& strName);

    // Null before the first load.
    CTaskNotifierDlg* Popup() const { return m_pPopup; }

private:
    QWidget& m_owner;
    // A child window of the owner; it owns its task buttons.
    CTaskNotifierDlg* m_pPopup = nullptr;
};
