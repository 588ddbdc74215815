#include "skin/SkinDialog.h"

#include <algorithm>

#include <QContextMenuEvent>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QKeyEvent>
#include <QLoggingCategory>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QTemporaryDir>
#include <QWindow>

#include "controls/KeyedImage.h"
#include "controls/Label.h"
#include "controls/SkinAccessible.h"
#include "controls/SkinButton.h"
#include "controls/SkinCheck.h"
#include "controls/SkinComboBox.h"
#include "controls/SkinEdit.h"
#include "controls/SkinKeyboard.h"
#include "controls/SkinListBox.h"
#include "controls/SkinOption.h"
#include "controls/SkinProgress.h"
#include "controls/SkinSlider.h"
#include "skin/IniFile.h"
#include "skin/Prompt.h"
#include "skin/SkinFactory.h"
#include "skin/SkinFields.h"
#include "skin/SkinFormat.h"
#include "skin/SkinLimits.h"
#include "skin/SkinPackage.h"
#include "skin/SkinPath.h"
#include "skin/SkinUnpacker.h"
#include "skin/UsableSkin.h"
#include "skin/WindowShape.h"

namespace {

// Which packages and descriptions the window loads or refuses, and why:
// debug and info, so a normal run shows none of it.
Q_LOGGING_CATEGORY(lcSkin, "skinrecorder.skin", QtWarningMsg)

constexpr int MAX_SHOWN_SECONDS = 359999;
const char* const UNUSABLE_PACKAGE = QT_TRANSLATE_NOOP("CSkinDialog", "The skin package %1 cannot be used: %2.");

// Controls report the index the factory gave them. An empty entry before a
// control makes no control, so a position in the table need not match the
// index: look for the control that carries it.
template <class TControl>
TControl* ControlCarrying(const QList<TControl*>& arrControls, int nIndex)
{
    const auto it = std::find_if(arrControls.begin(), arrControls.end(),
                                 [nIndex](const TControl* pControl) { return pControl->GetIndex() == nIndex; });
    return it == arrControls.end() ? nullptr : *it;
}

// A control may be in the middle of reporting a click when its skin goes
// away, so it is deleted once control returns to the event loop.
template <class TControl>
void DeleteControls(QList<TControl*>& arrControls)
{
    for (TControl* pControl : arrControls) {
        pControl->hide();
        pControl->deleteLater();
    }
    arrControls.clear();
}

template <class TControl>
TControl* ControlNamed(const QList<TControl*>& arrControls, const QString& strName)
{
    const auto it = std::find_if(arrControls.begin(), arrControls.end(),
                                 [&strName](const TControl* pControl) { return pControl->GetName() == strName; });
    return it == arrControls.end() ? nullptr : *it;
}

} // namespace

CSkinDialog::CSkinDialog(IPrompt& prompt, QWidget* pParent)
    : QDialog(pParent, Qt::Window | Qt::FramelessWindowHint)
    , m_pPrompt(&prompt)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setMouseTracking(true);
    // Without a background the window takes the size its controls span
    // when shown, and a control may lie far outside any screen.
    setMaximumSize(SkinLimits::MaxWindowSize());
    CreateSkinMenu();
    m_pKeyboard = new CSkinKeyboard(*this);
    InstallSkinAccessibility();
}

void CSkinDialog::CreateSkinMenu()
{
    m_pSkinMenu = new QMenu(QStringLiteral("&Change Skin"), this);
    for (const SkinPackage::CSkinCommand& command : SkinPackage::SkinCommands()) {
        QAction* pAction = m_pSkinMenu->addAction(command.strMenuText);
        pAction->setCheckable(true);
        pAction->setData(command.nCommandId);
        const int nCommandId = command.nCommandId;
        connect(pAction, &QAction::triggered, this, [this, nCommandId] { ChangeSkin(nCommandId); });
    }
    connect(m_pSkinMenu, &QMenu::aboutToShow, this, [this] {
        const QList<QAction*> arrActions = m_pSkinMenu->actions();
        for (QAction* pAction : arrActions)
            OnUpdateChangeSkin(pAction);
    });
}

bool CSkinDialog::MakeSkinCurrent(const QString& strPackagePath)
{
    // A private folder for every load: nothing of the user's is overwritten
    // or deleted, and a read-only current directory does not matter.
    const QTemporaryDir workRoot;
    if (!workRoot.isValid()) {
        Prompt().ShowMessage(tr("Extract failed"), IPrompt::EIcon::Stop, workRoot.errorString());
        return false;
    }
    const QString strWorkFolder = QDir(workRoot.path()).filePath(SkinPackage::WORK_FOLDER_NAME);
    // Only the package itself can have put a file in the new folder: one
    // that names a file twice keeps its last copy, as it always has.
    const bool bLoaded =
        UnpackSkin(m_archive, strPackagePath, strWorkFolder, Prompt(), EExistingFile::Replace) == EUnpackResult::Ok
        && LoadUsableSkin(strPackagePath, strWorkFolder);
    SkinPackage::RemoveSkinFolder(strWorkFolder);
    return bLoaded;
}

bool CSkinDialog::LoadUsableSkin(const QString& strPackagePath, const QString& strWorkFolder)
{
    // Checked before the skin in use is let go: a window without background,
    // shape or controls could not even be closed.
    const QString strMissing = UsableSkin::WhatIsMissing(strWorkFolder);
    if (!strMissing.isEmpty()) {
        qCInfo(lcSkin).noquote() << "refused the package" << strPackagePath << "for its" << strMissing;
        Prompt().ShowMessage(tr(UNUSABLE_PACKAGE).arg(QDir::toNativeSeparators(strPackagePath), strMissing),
                             IPrompt::EIcon::Stop);
        return false;
    }
    m_strSkinFile = ResolveSkinFile(strWorkFolder, SkinPackage::DESCRIPTION_NAME);
    LoadSkin();
    m_nSkinIndex = SkinPackage::CommandIndexOf(strPackagePath, m_strPackageFolder);
    qCInfo(lcSkin).noquote() << "the package" << strPackagePath << "is the skin in use, skin command index"
                             << m_nSkinIndex;
    return true;
}

void CSkinDialog::ChangeSkin(int nCommandId)
{
    const QList<SkinPackage::CSkinCommand>& arrCommands = SkinPackage::SkinCommands();
    const int nSkinIndex = nCommandId - SkinPackage::FIRST_SKIN_COMMAND;
    if (nSkinIndex < 0 || nSkinIndex >= arrCommands.size())
        return;
    const QString strPath = SkinPackage::CommandPackagePath(nSkinIndex, m_strPackageFolder);
    // Hiding a running dialog would end it; painting waits instead. A
    // package that fails runs no hook: the skin in use stays as it was.
    setUpdatesEnabled(false);
    // The control the keyboard was on is there again in the new skin, if
    // the skin has one of that name.
    const auto* pFocused = dynamic_cast<const CSkinIdentity*>(focusWidget());
    const QString strFocused = pFocused ? pFocused->GetName() : QString();
    if (MakeSkinCurrent(strPath)) {
        OnSkinChanged();
        FocusControlNamed(strFocused);
    }
    setUpdatesEnabled(true);
    update();
}

void CSkinDialog::OnUpdateChangeSkin(QAction* pAction) const
{
    pAction->setChecked(pAction->data().toInt() == SkinPackage::FIRST_SKIN_COMMAND + m_nSkinIndex);
}

CSkinDialog::~CSkinDialog()
{
    ReleaseSkin();
}

QString CSkinDialog::FormatTime(int nSeconds)
{
    const int nShown = std::clamp(nSeconds, 0, MAX_SHOWN_SECONDS);
    return QString::asprintf("%02d:%02d:%02d", nShown / 3600, (nShown % 3600) / 60, nShown % 60);
}

QString CSkinDialog::GetFolderOf(const QString& strPath)
{
    // The last component is the file name, whatever the folders are called.
    QString strFolder = QFileInfo(strPath).absolutePath();
    if (strFolder.endsWith(u'/'))
        strFolder.chop(1);
    return strFolder + u'/';
}

CSkinButton* CSkinDialog::FindButton(const QString& strName) const
{
    return ControlNamed(m_buttons, strName);
}

CSkinSlider* CSkinDialog::FindSlider(const QString& strName) const
{
    return ControlNamed(m_sliders, strName);
}

CLabel* CSkinDialog::FindLabel(const QString& strName) const
{
    return ControlNamed(m_labels, strName);
}

CSkinCheck* CSkinDialog::FindCheck(const QString& strName) const
{
    return ControlNamed(m_checks, strName);
}

CSkinOption* CSkinDialog::FindOption(const QString& strName) const
{
    return ControlNamed(m_options, strName);
}

CSkinProgress* CSkinDialog::FindProgress(const QString& strName) const
{
    return ControlNamed(m_progresses, strName);
}

CSkinEdit* CSkinDialog::FindEdit(const QString& strName) const
{
    return ControlNamed(m_edits, strName);
}

CSkinListBox* CSkinDialog::FindListBox(const QString& strName) const
{
    return ControlNamed(m_listBoxes, strName);
}

void CSkinDialog::ReleaseSkin()
{
    m_imgBackground = QImage();
    m_pixBackground = QPixmap();
    // The window keeps its mask until the next background replaces it.
    m_rgnWindow = QRegion();
    DeleteControls(m_buttons);
    DeleteControls(m_options);
    DeleteControls(m_checks);
    ReleaseSkinnedControls();
}

void CSkinDialog::ReleaseSkinnedControls()
{
    DeleteControls(m_edits);
    DeleteControls(m_listBoxes);
    DeleteControls(m_progresses);
    DeleteControls(m_labels);
    if (m_pCaption != nullptr) {
        m_pCaption->hide();
        m_pCaption->deleteLater();
        m_pCaption = nullptr;
    }
    DeleteControls(m_sliders);
    for (CSkinComboBox* pCombo : std::as_const(m_comboBoxes))
        pCombo->DeleteParts();
    DeleteControls(m_comboBoxes);
}

void CSkinDialog::LoadSkin()
{
    const QString strFolder = GetFolderOf(m_strSkinFile);
    OnSkinReleasing();
    ReleaseSkin();
    const CIniFile ini(m_strSkinFile);
    LoadBackground(strFolder, SkinFormat::SingleValue(ini, SkinFormat::BACKGROUND));
    const QString strKey = SkinFormat::SingleValue(ini, SkinFormat::KEY_COLOR);
    if (!strKey.isEmpty())
        m_crTransparent = SkinFields::ParseColor(strKey);
    if (!m_imgBackground.isNull()) {
        m_pixBackground = KeyedPixmap(m_imgBackground, m_crTransparent);
        BuildWindowRegion();
    }
    LoadControls(ini, strFolder);
    qCDebug(lcSkin).noquote() << "loaded" << m_strSkinFile << "with background" << m_imgBackground.size() << "and"
                              << m_buttons.size() << "buttons," << m_sliders.size() << "sliders," << m_labels.size()
                              << "labels";
    // An icon kept from the previous skin is drawn with the new colour key.
    m_pixIcon = KeyedPixmap(m_imgIcon, m_crTransparent);
    OnSkinLoaded(ini, strFolder);
    update();
}

void CSkinDialog::LoadBackground(const QString& strFolder, const QString& strImage)
{
    if (strImage.isEmpty())
        return;
    const QString strPath = ResolveSkinFile(strFolder, strImage);
    if (strPath.isEmpty())
        return;
    // The header tells the size before any pixel is read: a background
    // larger than a window may be is never loaded.
    if (!SkinLimits::WindowFits(QImageReader(strPath).size()))
        return;
    m_imgBackground = LoadSkinImage(strPath, devicePixelRatioF());
    if (!m_imgBackground.isNull())
        resize(LogicalSize(m_imgBackground));
}

void CSkinDialog::BuildWindowRegion()
{
    m_rgnWindow = BuildShapeRegion(m_imgBackground, m_crTransparent);
    setMask(m_rgnWindow);
}

void CSkinDialog::LoadControls(const CIniFile& ini, const QString& strFolder)
{
    const CSkinFactory factory(*this, *this, ini, strFolder, m_crTransparent);
    factory.ReadIcon(m_imgIcon, m_rcIcon);
    m_buttons = factory.MakeButtons();
    m_sliders = factory.MakeSliders();
    m_progresses = factory.MakeProgresses();
    m_options = factory.MakeOptions();
    m_checks = factory.MakeChecks();
    m_pCaption = factory.MakeCaption();
    m_labels = factory.MakeLabels();
    m_edits = factory.MakeEdits();
    m_listBoxes = factory.MakeListBoxes();
    m_comboBoxes = factory.MakeComboBoxes();
    factory.ReadControlRect(m_rcControl);
    const CLabel* pTextLabel = m_pCaption ? m_pCaption : m_labels.value(0, nullptr);
    // The focus mark is drawn in the skin's own text colour.
    m_pKeyboard->Attach(pTextLabel ? pTextLabel->TextColor() : palette().color(QPalette::WindowText));
}

void CSkinDialog::FocusControlNamed(const QString& strName)
{
    if (strName.isEmpty())
        return;
    const QList<QWidget*> arrChildren = findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* pChild : arrChildren) {
        const auto* pControl = dynamic_cast<const CSkinIdentity*>(pChild);
        if (pControl && pControl->GetName() == strName && !pChild->isHidden()) {
            pChild->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}

void CSkinDialog::OnButtonClicked(int nIndex)
{
    if (const CSkinButton* pButton = ControlCarrying(m_buttons, nIndex))
        OnSkinCommand(QString(pButton->GetName()));
}

void CSkinDialog::OnOptionClicked(int nIndex)
{
    const CSkinOption* pClicked = ControlCarrying(m_options, nIndex);
    if (pClicked == nullptr)
        return;
    for (CSkinOption* pOption : std::as_const(m_options)) {
        if (pOption != pClicked && !m_arrOptionsOutsideGroup.contains(pOption->GetName()))
            pOption->SetChecked(false);
    }
    OnSkinOptionSelected(QString(pClicked->GetName()));
}

CSkinCheck* CSkinDialog::OnCheckClicked(int nIndex)
{
    return ControlCarrying(m_checks, nIndex);
}

void CSkinDialog::OnSliderChanged(int nIndex, int nPos)
{
    if (const CSkinSlider* pSlider = ControlCarrying(m_sliders, nIndex))
        OnSkinSliderMoved(QString(pSlider->GetName()), nPos);
}

CSkinComboBox* CSkinDialog::FirstComboBox() const
{
    return m_comboBoxes.value(0, nullptr);
}

void CSkinDialog::OnSkinCommand(const QString&)
{
}

void CSkinDialog::OnSkinOptionSelected(const QString&)
{
}

void CSkinDialog::OnSkinSliderMoved(const QString&, int)
{
}

void CSkinDialog::OnSkinMouseMove(const QString&, int, int)
{
}

void CSkinDialog::OnSkinChanged()
{
}

void CSkinDialog::OnSkinReleasing()
{
}

void CSkinDialog::OnSkinLoaded(const CIniFile&, const QString&)
{
}

void CSkinDialog::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (m_pixBackground.isNull()) {
        // Without a background the window would be invisible and could not
        // be reached at all.
        painter.fillRect(rect(), palette().window());
    } else {
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawPixmap(0, 0, m_pixBackground);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
    if (!m_pixIcon.isNull())
        DrawPixmapPart(painter, m_rcIcon.topLeft(), m_pixIcon, QRect(QPoint(0, 0), m_rcIcon.size()));
}

void CSkinDialog::mousePressEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() != Qt::LeftButton) {
        QDialog::mousePressEvent(pEvent);
        return;
    }
    // The window system moves the window as if its caption were dragged;
    // without one that can, the window follows the mouse itself.
    if (windowHandle() != nullptr && windowHandle()->startSystemMove())
        return;
    m_bDragging = true;
    m_ptDragOffset = pEvent->globalPosition().toPoint() - frameGeometry().topLeft();
}

void CSkinDialog::mouseMoveEvent(QMouseEvent* pEvent)
{
    if (m_bDragging && (pEvent->buttons() & Qt::LeftButton))
        move(pEvent->globalPosition().toPoint() - m_ptDragOffset);
    const QPoint pt = pEvent->position().toPoint();
    if (CSkinComboBox* pCombo = FirstComboBox())
        pCombo->CloseDropDownOnMouseMove(pt);
    QDialog::mouseMoveEvent(pEvent);
    OnSkinMouseMove(QString(), pt.x(), pt.y());
}

void CSkinDialog::mouseReleaseEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() == Qt::LeftButton)
        m_bDragging = false;
    QDialog::mouseReleaseEvent(pEvent);
}

void CSkinDialog::keyPressEvent(QKeyEvent* pEvent)
{
    if (pEvent->key() == Qt::Key_F10 && pEvent->modifiers() == Qt::ShiftModifier) {
        PopUpSkinMenuAtFocus();
        return;
    }
    // Neither key closes or confirms a skinned window.
    switch (pEvent->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        pEvent->accept();
        return;
    default:
        QDialog::keyPressEvent(pEvent);
    }
}

void CSkinDialog::contextMenuEvent(QContextMenuEvent* pEvent)
{
    if (pEvent->reason() == QContextMenuEvent::Keyboard) {
        PopUpSkinMenuAtFocus();
        return;
    }
    if (childAt(pEvent->pos()) != nullptr) {
        QDialog::contextMenuEvent(pEvent);
        return;
    }
    m_pSkinMenu->popup(pEvent->globalPos());
}

void CSkinDialog::PopUpSkinMenuAtFocus()
{
    const QWidget* pFocus = focusWidget();
    const QWidget* pAt = pFocus && pFocus != this ? pFocus : this;
    m_pSkinMenu->popup(pAt->mapToGlobal(pAt->rect().center()));
}
