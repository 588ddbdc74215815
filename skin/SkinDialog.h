#pragma once

#include <QDialog>
#include <QImage>
#include <QList>
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QString>

#include "controls/SkinParent.h"
#include "skin/ColorRef.h"
#include "skin/SkinArchive.h"
#include "skin/SkinPackage.h"

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
class CTaskNotifierDlg;
class IPrompt;
class QAction;
class QMenu;

// The base of every skinned window: a frameless top-level window whose
// background, shape and controls all come from a skin description. Controls
// report by index; the window turns that into the control's skin name and
// calls the overridable OnSkin... operations. Dragging any point of the
// background moves the window; Enter and Esc do nothing; a right click on
// the background opens the "&Change Skin" menu.
class CSkinDialog : public QDialog, public ISkinParent
{
    Q_OBJECT

public:
    // prompt tells the user about packages that cannot be unpacked.
    explicit CSkinDialog(IPrompt& prompt, QWidget* pParent = nullptr);
    ~CSkinDialog() override;

    // Seconds as "hh:mm:ss"; negative counts as 0, above 359999 as 359999.
    static QString FormatTime(int nSeconds);
    // The absolute folder of the file strPath names (relative paths against
    // the current directory), with one trailing '/'.
    static QString GetFolderOf(const QString& strPath);

    // The description LoadSkin reads; images are looked up beside it.
    void SetSkinFile(const QString& strSkinFile) { m_strSkinFile = strSkinFile; }
    // Releases the current skin and builds the window from the description.
    void LoadSkin();
    // Deletes every control and the images of the current skin. The icon,
    // the control rectangle and the colour key stay for a skin that does not
    // give its own.
    void ReleaseSkin();

    // Makes the package at strPackagePath the current skin: unpacks it into
    // a fresh working folder "Test" in a private temporary folder, loads the
    // skin from there and removes everything extracted. A package that does
    // not unpack, or lacks what a window needs (UsableSkin), is refused with
    // a message and leaves the skin in use as it was; returns whether the
    // package's skin was loaded. The skin menu then checks the command whose
    // package this is, by file or by content.
    bool MakeSkinCurrent(const QString& strPackagePath);
    // The folder the skin commands take their packages from; when empty,
    // they are looked up as SkinPackage::FindSkinPackage does.
    void SetPackageFolder(const QString& strFolder) { m_strPackageFolder = strFolder; }
    const QString& PackageFolder() const { return m_strPackageFolder; }

    // Skin commands 32771 to 32778: switches to the command's package.
    void ChangeSkin(int nCommandId);
    // Checks a skin command's menu item exactly when it is the current skin.
    void OnUpdateChangeSkin(QAction* pAction) const;
    // 0 to 7: the position of the skin command whose package is in use;
    // SkinPackage::NO_SKIN_COMMAND when it came from none of theirs.
    int SkinIndex() const { return m_nSkinIndex; }
    // The "&Change Skin" menu, one checkable item per skin command.
    QMenu* SkinMenu() const { return m_pSkinMenu; }

    // The first button whose skin name equals strName exactly, or null.
    CSkinButton* FindButton(const QString& strName) const;
    CSkinSlider* FindSlider(const QString& strName) const;
    CLabel* FindLabel(const QString& strName) const;
    CSkinCheck* FindCheck(const QString& strName) const;
    CSkinOption* FindOption(const QString& strName) const;
    CSkinProgress* FindProgress(const QString& strName) const;
    CSkinEdit* FindEdit(const QString& strName) const;
    CSkinListBox* FindListBox(const QString& strName) const;

    // The popup every skin load slides in; null before the first load.
    CTaskNotifierDlg* TaskNotifier() const { return m_pTaskNotifier; }

    // The shape last built from a background; empty before the first one.
    const QRegion& WindowRegion() const { return m_rgnWindow; }
    // Where the owner places its own, unskinned content.
    const QRect& ControlRect() const { return m_rcControl; }
    bool IsDropDownOpen() const { return m_bDropDownOpen; }

    // ISkinParent
    const QImage& BackgroundCopy() const override { return m_imgBackground; }
    void OnButtonClicked(int nIndex) override;
    void OnOptionClicked(int nIndex) override;
    CSkinCheck* OnCheckClicked(int nIndex) override;
    void OnSliderChanged(int nIndex, int nPos) override;
    void OnTaskButton(const QString& strName) override;
    CSkinComboBox* FirstComboBox() const override;
    void SetDropDownOpen(bool bOpen) override { m_bDropDownOpen = bOpen; }

protected:
    // A skinned button was clicked.
    virtual void OnSkinCommand(const QString& strName);
    // The user selected a skinned option.
    virtual void OnSkinOptionSelected(const QString& strName);
    virtual void OnSkinSliderMoved(const QString& strName, int nPos);
    // The mouse moved over the background; the name is empty.
    virtual void OnSkinMouseMove(const QString& strName, int nX, int nY);
    // A skin command has replaced the skin and every control with it; the
    // owner sets up its controls and its own content again.
    virtual void OnSkinChanged();

    void paintEvent(QPaintEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;
    void contextMenuEvent(QContextMenuEvent* pEvent) override;

    IPrompt& Prompt() const { return *m_pPrompt; }
    // Who answers from now on: a caller that must get the window's messages
    // back instead of a person (a command from another program) puts its own
    // prompt in for the command's length. The caller keeps it alive.
    void SetPrompt(IPrompt& prompt) { m_pPrompt = &prompt; }

    // One table per kind, in entry order; the window owns the controls.
    QList<CSkinButton*> m_buttons;
    QList<CSkinOption*> m_options;
    QList<CSkinCheck*> m_checks;
    QList<CSkinSlider*> m_sliders;
    QList<CSkinEdit*> m_edits;
    QList<CSkinListBox*> m_listBoxes;
    QList<CLabel*> m_labels;
    QList<CSkinProgress*> m_progresses;
    QList<CSkinComboBox*> m_comboBoxes;
    // The CAPTION label; null when the skin has none.
    CLabel* m_pCaption = nullptr;

    QRect m_rcControl;

private:
    bool LoadUsableSkin(const QString& strPackagePath, const QString& strWorkFolder);
    void ShowTaskNotifier(const QString& strFolder);
    void LoadTaskButtons(const CIniFile& ini, const QString& strFolder);
    void LoadBackground(const QString& strFolder, const QString& strImage);
    void BuildWindowRegion();
    void LoadControls(const CIniFile& ini, const QString& strFolder);
    void ReleaseSkinnedControls();
    void HideProgressDisplay();
    void CreateSkinMenu();

    IPrompt* m_pPrompt;

    QImage m_imgIcon;
    QPixmap m_pixIcon;
    QRect m_rcIcon;
    COLORREF m_crTransparent = 0;
    QRegion m_rgnWindow;
    // The background as loaded; controls copy the part under themselves.
    QImage m_imgBackground;
    // The background as painted: key-coloured pixels fully transparent, so
    // a compositor shows the shape even where the mask is only an input hint.
    QPixmap m_pixBackground;
    int m_nSkinIndex = SkinPackage::NO_SKIN_COMMAND;
    QString m_strSkinFile;
    QString m_strPackageFolder;
    CSkinArchive m_archive;
    QMenu* m_pSkinMenu = nullptr;
    // A child window; it owns its task buttons.
    CTaskNotifierDlg* m_pTaskNotifier = nullptr;
    bool m_bDropDownOpen = false;
    // Dragging by hand where the window system cannot move the window.
    bool m_bDragging = false;
    QPoint m_ptDragOffset;
};
