#include "app/RecorderTrayIcon.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>

#include "app/ProgramIdentity.h"
#include "skin/SkinDialog.h"

namespace {

// The sizes trays ask for, from a small panel's to a large one's.
constexpr int TRAY_ICON_SIZES[] = { 16, 22, 24, 32, 48, 64 };
// The mark covers this share of the icon's side, in its lower right corner.
constexpr double MARK_SHARE = 0.5;
// Its outline, in parts of the mark's side, keeps it apart from the icon.
constexpr double MARK_OUTLINE_SHARE = 0.12;
const QColor RECORDING_MARK_COLOUR(220, 0, 0);
const QColor PAUSE_MARK_COLOUR(40, 40, 40);
const QColor MARK_OUTLINE_COLOUR(255, 255, 255);
const QString X11_PLATFORM = QStringLiteral("xcb");

void DrawMark(QPainter& painter, ERecorderState eState, const QRectF& rcMark)
{
    const double dOutline = rcMark.width() * MARK_OUTLINE_SHARE;
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(MARK_OUTLINE_COLOUR, dOutline));
    const QRectF rcInside = rcMark.adjusted(dOutline / 2, dOutline / 2, -dOutline / 2, -dOutline / 2);
    if (eState == ERecorderState::Recording) {
        painter.setBrush(RECORDING_MARK_COLOUR);
        painter.drawEllipse(rcInside);
        return;
    }
    // Two bars with a gap of a bar's width between them.
    const double dBar = rcInside.width() / 3;
    painter.setBrush(PAUSE_MARK_COLOUR);
    painter.drawRect(QRectF(rcInside.left(), rcInside.top(), dBar, rcInside.height()));
    painter.drawRect(QRectF(rcInside.right() - dBar, rcInside.top(), dBar, rcInside.height()));
}

} // namespace

QString CRecorderTrayIcon::StateText(ERecorderState eState)
{
    // The words the bus's State property gives, for a reader.
    switch (eState) {
    case ERecorderState::Previewing:
        return tr("previewing");
    case ERecorderState::Recording:
        return tr("recording");
    case ERecorderState::Paused:
        return tr("paused");
    case ERecorderState::Stopped:
        break;
    }
    return tr("stopped");
}

CRecorderTrayIcon::CMenuState CRecorderTrayIcon::MenuStateFor(ERecorderState eState)
{
    switch (eState) {
    case ERecorderState::Previewing:
        return { .bRecord = true, .bPauseOrResume = true, .bResume = false, .bStop = true };
    case ERecorderState::Recording:
        return { .bRecord = false, .bPauseOrResume = true, .bResume = false, .bStop = true };
    case ERecorderState::Paused:
        return { .bRecord = false, .bPauseOrResume = true, .bResume = true, .bStop = true };
    case ERecorderState::Stopped:
        break;
    }
    return { .bRecord = true, .bPauseOrResume = false, .bResume = false, .bStop = false };
}

QString CRecorderTrayIcon::ToolTipFor(const CRecorderSnapshot& snapshot)
{
    QStringList arrLines { ProgramIdentity::DISPLAY_NAME + QStringLiteral(": ") + StateText(snapshot.eState) };
    if (!snapshot.strFile.isEmpty()) {
        arrLines.append(QFileInfo(snapshot.strFile).fileName());
        arrLines.append(CSkinDialog::FormatTime(static_cast<int>(snapshot.dElapsedSeconds)));
    }
    return arrLines.join(u'\n');
}

QIcon CRecorderTrayIcon::IconFor(ERecorderState eState, const QIcon& programIcon)
{
    if (eState != ERecorderState::Recording && eState != ERecorderState::Paused)
        return programIcon;
    QIcon icon;
    for (const int nSide : TRAY_ICON_SIZES) {
        QPixmap pixmap = programIcon.pixmap(nSide, nSide);
        if (pixmap.isNull()) {
            pixmap = QPixmap(nSide, nSide);
            pixmap.fill(Qt::transparent);
        }
        QPainter painter(&pixmap);
        const double dMark = nSide * MARK_SHARE;
        DrawMark(painter, eState, QRectF(nSide - dMark, nSide - dMark, dMark, dMark));
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

CRecorderTrayIcon::CRecorderTrayIcon(QObject* pParent)
    : QObject(pParent)
    , m_programIcon(ProgramIdentity::Icon())
    , m_tray(m_programIcon)
{
    m_pRecord = AddEntry(tr("Record"), &CRecorderTrayIcon::RecordRequested);
    m_pPauseOrResume = AddEntry(tr("Pause"), &CRecorderTrayIcon::OnPauseOrResume);
    m_pStop = AddEntry(tr("Stop"), &CRecorderTrayIcon::StopRequested);
    m_menu.addSeparator();
    AddEntry(tr("Show Window"), &CRecorderTrayIcon::ShowWindowRequested);
    AddEntry(tr("Quit"), &CRecorderTrayIcon::QuitRequested);
    m_tray.setContextMenu(&m_menu);
    connect(&m_tray, &QSystemTrayIcon::activated, this, &CRecorderTrayIcon::OnActivated);
    Show({});
    // On X11 also without a tray now: Qt docks the icon in one that starts
    // later. Elsewhere Qt would only complain that it cannot watch for one.
    if (QSystemTrayIcon::isSystemTrayAvailable() || QGuiApplication::platformName() == X11_PLATFORM)
        m_tray.show();
}

QAction* CRecorderTrayIcon::AddEntry(const QString& strText, void (CRecorderTrayIcon::*request)())
{
    return m_menu.addAction(strText, this, request);
}

void CRecorderTrayIcon::Show(const CRecorderSnapshot& snapshot)
{
    if (snapshot.eState != m_eShownState || m_tray.icon().isNull()) {
        m_tray.setIcon(IconFor(snapshot.eState, m_programIcon));
        m_eShownState = snapshot.eState;
    }
    m_tray.setToolTip(ToolTipFor(snapshot));
    const CMenuState menuState = MenuStateFor(snapshot.eState);
    m_pRecord->setEnabled(menuState.bRecord);
    m_pPauseOrResume->setEnabled(menuState.bPauseOrResume);
    m_pPauseOrResume->setText(menuState.bResume ? tr("Resume") : tr("Pause"));
    m_pStop->setEnabled(menuState.bStop);
}

bool CRecorderTrayIcon::IsInTray() const
{
    return m_tray.isVisible() && QSystemTrayIcon::isSystemTrayAvailable();
}

void CRecorderTrayIcon::OnPauseOrResume()
{
    if (MenuStateFor(m_eShownState).bResume)
        emit ResumeRequested();
    else
        emit PauseRequested();
}

void CRecorderTrayIcon::OnActivated(QSystemTrayIcon::ActivationReason eReason)
{
    if (eReason == QSystemTrayIcon::Trigger || eReason == QSystemTrayIcon::DoubleClick)
        emit ShowWindowRequested();
}
