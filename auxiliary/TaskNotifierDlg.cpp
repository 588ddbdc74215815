#include "auxiliary/TaskNotifierDlg.h"

#include <algorithm>

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include "auxiliary/HtmlCtrl.h"
#include "auxiliary/NotifierPage.h"
#include "controls/KeyedImage.h"
#include "controls/SkinButton.h"
#include "skin/WindowShape.h"

namespace {

// Skins were drawn for a popup whose shape ends at the last multiple of four
// pixels of the picture's width; the columns beyond it stay cut.
constexpr int SHAPE_WIDTH_ALIGN = 4;

// Colour values are compared as 16-bit numbers, so 65535 also means none.
bool IsNoColor(int nValue)
{
    return static_cast<quint16>(nValue) == static_cast<quint16>(CTaskNotifierDlg::NO_COLOR);
}

// One step from nFrom toward nTo, never past it.
int Approach(int nFrom, int nTo)
{
    return nFrom < nTo ? std::min(nFrom + CTaskNotifierDlg::STEP_PIXELS, nTo)
                       : std::max(nFrom - CTaskNotifierDlg::STEP_PIXELS, nTo);
}

QPoint Approach(const QPoint& ptFrom, const QPoint& ptTo)
{
    return QPoint(Approach(ptFrom.x(), ptTo.x()), Approach(ptFrom.y(), ptTo.y()));
}

} // namespace

CTaskNotifierDlg::CSlidePlan CTaskNotifierDlg::PlanSlide(const QRect& rcWork, const QRect& rcScreen,
                                                         const QSize& sizePicture)
{
    const int nWidth = sizePicture.width();
    const int nHeight = sizePicture.height();
    const int nWorkRight = rcWork.x() + rcWork.width();
    const int nWorkBottom = rcWork.y() + rcWork.height();
    if (rcWork.width() < rcScreen.width()) {
        if (rcWork.left() == rcScreen.left())
            return { EDirection::Left,
                     { nWorkRight, nWorkBottom - nHeight },
                     { nWorkRight - nWidth, nWorkBottom - nHeight },
                     nWidth };
        return { EDirection::Right,
                 { rcWork.left() - nWidth, nWorkBottom - nHeight },
                 { rcWork.left(), nWorkBottom - nHeight },
                 nWidth };
    }
    if (rcWork.height() < rcScreen.height() && rcWork.top() != rcScreen.top())
        return { EDirection::Down,
                 { nWorkRight - nWidth, rcWork.top() - nHeight },
                 { nWorkRight - nWidth, rcWork.top() },
                 nHeight };
    return {
        EDirection::Up, { nWorkRight - nWidth, nWorkBottom }, { nWorkRight - nWidth, nWorkBottom - nHeight }, nHeight
    };
}

int CTaskNotifierDlg::StepPeriod(int nTimeMs, int nSpan)
{
    return nTimeMs / std::max(1, nSpan / STEP_PIXELS);
}

CTaskNotifierDlg::CTaskNotifierDlg(QWidget* pOwner)
    : QWidget(pOwner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus)
    , m_pOwner(pOwner)
    , m_timerAppear(this)
    , m_timerStay(this)
    , m_timerDisappear(this)
    , m_pHtmlPane(new CHtmlCtrl(this))
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    // Key-coloured pixels stay transparent where a compositor takes the
    // shape only as an input hint.
    setAttribute(Qt::WA_TranslucentBackground);
    for (QTimer* pTimer : { &m_timerAppear, &m_timerStay, &m_timerDisappear })
        pTimer->setTimerType(Qt::PreciseTimer);
    connect(&m_timerAppear, &QTimer::timeout, this, &CTaskNotifierDlg::OnAppearStep);
    connect(&m_timerStay, &QTimer::timeout, this, &CTaskNotifierDlg::OnStayOver);
    connect(&m_timerDisappear, &QTimer::timeout, this, &CTaskNotifierDlg::OnDisappearStep);
    // A click into the page finishes there before the popup slides away.
    connect(m_pHtmlPane, &CHtmlCtrl::Activated, this, &CTaskNotifierDlg::SlideOut, Qt::QueuedConnection);
    // An unreachable host leaves the popup its own page, not an error.
    m_pHtmlPane->SetFallbackUrl(NotifierPage::BuiltInUrl());
    if (m_pOwner != nullptr)
        m_pOwner->installEventFilter(this);
}

bool CTaskNotifierDlg::SetSkin(const QString& strPath, int nRed, int nGreen, int nBlue)
{
    const QImage imgPicture = LoadSkinImage(strPath, devicePixelRatioF());
    if (imgPicture.isNull())
        return false;
    m_imgPicture = imgPicture;
    if (IsNoColor(nRed) || IsNoColor(nGreen) || IsNoColor(nBlue)) {
        m_pixPicture = QPixmap::fromImage(m_imgPicture);
        m_region = QRegion();
        clearMask();
    } else {
        const COLORREF crKey = MakeColorRef(nRed, nGreen, nBlue);
        const int nShapeWidth = PictureSize().width() - PictureSize().width() % SHAPE_WIDTH_ALIGN;
        const qreal dRatio = m_imgPicture.devicePixelRatio();
        m_pixPicture = KeyedPixmap(m_imgPicture, crKey);
        m_region =
            BuildShapeRegion(m_imgPicture.copy(0, 0, qRound(nShapeWidth * dRatio), m_imgPicture.height()), crKey);
        setMask(m_region);
    }
    resize(PictureSize());
    PlacePane();
    update();
    return true;
}

QSize CTaskNotifierDlg::PictureSize() const
{
    return LogicalSize(m_imgPicture);
}

void CTaskNotifierDlg::SetPageRect(const QRect& rcPage)
{
    m_rcPage = rcPage;
    PlacePane();
}

void CTaskNotifierDlg::PlacePane()
{
    m_pHtmlPane->setGeometry(m_rcPage.isEmpty() ? QRect(QPoint(0, 0), PictureSize()) : m_rcPage);
}

void CTaskNotifierDlg::Show(int nTimeToShowMs, int nTimeToStayMs, int nTimeToHideMs)
{
    if (m_imgPicture.isNull())
        return;
    m_nTimeToStayMs = nTimeToStayMs;
    switch (m_eState) {
    case EState::Hidden: {
        const QScreen* pScreen = Screen();
        m_plan = PlanSlide(pScreen->availableGeometry(), pScreen->geometry(), PictureSize());
        m_nShowStepMs = StepPeriod(nTimeToShowMs, m_plan.nSpan);
        m_nHideStepMs = StepPeriod(nTimeToHideMs, m_plan.nSpan);
        m_ptCurrent = m_plan.ptStart;
        MoveToCurrent();
        m_bAppearPending = true;
        if (m_pOwner == nullptr)
            AppearWhenOwnerIsUp();
        else
            QTimer::singleShot(0, this, &CTaskNotifierDlg::AppearWhenOwnerIsUp);
        break;
    }
    case EState::Appearing:
        update();
        break;
    case EState::Shown:
        update();
        m_timerStay.start(m_nTimeToStayMs);
        break;
    case EState::Disappearing:
        // Stays in this state: when the stay is over it slides out again.
        m_timerDisappear.stop();
        m_timerStay.start(m_nTimeToStayMs);
        m_ptCurrent = m_plan.ptShown;
        MoveToCurrent();
        update();
        break;
    }
}

void CTaskNotifierDlg::Hide()
{
    // A stay started by a Show while disappearing would run on unseen.
    m_timerAppear.stop();
    m_timerStay.stop();
    m_timerDisappear.stop();
    m_bAppearPending = false;
    hide();
    m_eState = EState::Hidden;
    // The page and its helper process cost memory while nobody sees them;
    // the next Show loads it anew.
    m_pHtmlPane->Release();
    m_bPageRequested = false;
}

// The popup's window draws with OpenGL, whose start in the process takes a
// while: an owner on its way to the screen gets there first.
void CTaskNotifierDlg::AppearWhenOwnerIsUp()
{
    if (!m_bAppearPending || (m_pOwner != nullptr && m_pOwner->isVisible() && !m_bOwnerPainted))
        return;
    m_bAppearPending = false;
    if (m_pOwner != nullptr)
        m_pHtmlPane->ReadyWindowForBrowser();
    show();
    m_timerAppear.start(m_nShowStepMs);
    LoadPageWhenReady();
}

void CTaskNotifierDlg::SlideOut()
{
    // A click reported after the popup went away has nothing to end.
    if (isHidden())
        return;
    m_timerAppear.stop();
    m_timerStay.stop();
    m_timerDisappear.start(m_nHideStepMs);
}

void CTaskNotifierDlg::OnAppearStep()
{
    m_eState = EState::Appearing;
    if (m_ptCurrent == m_plan.ptShown) {
        // Shown until the exit button, a click into the page or another Show.
        m_timerAppear.stop();
        m_eState = EState::Shown;
        return;
    }
    m_ptCurrent = Approach(m_ptCurrent, m_plan.ptShown);
    MoveToCurrent();
}

void CTaskNotifierDlg::OnStayOver()
{
    m_timerStay.stop();
    m_timerDisappear.start(m_nHideStepMs);
}

void CTaskNotifierDlg::OnDisappearStep()
{
    m_eState = EState::Disappearing;
    if (m_ptCurrent == m_plan.ptStart) {
        Hide();
        return;
    }
    m_ptCurrent = Approach(m_ptCurrent, m_plan.ptStart);
    MoveToCurrent();
}

void CTaskNotifierDlg::MoveToCurrent()
{
    setGeometry(QRect(m_ptCurrent, PictureSize()));
}

void CTaskNotifierDlg::AddTaskButtons(const QList<CSkinButton*>& arrButtons)
{
    m_arrTaskButtons += arrButtons;
    // Above the page, which may have been made after them.
    for (CSkinButton* pButton : arrButtons)
        pButton->raise();
}

void CTaskNotifierDlg::DeleteTaskButton()
{
    // The exit button may still be reporting its click.
    for (CSkinButton* pButton : std::as_const(m_arrTaskButtons)) {
        pButton->hide();
        pButton->deleteLater();
    }
    m_arrTaskButtons.clear();
}

void CTaskNotifierDlg::OnButtonClicked(int nIndex)
{
    const auto it = std::find_if(m_arrTaskButtons.cbegin(), m_arrTaskButtons.cend(),
                                 [nIndex](const CSkinButton* pButton) { return pButton->GetIndex() == nIndex; });
    if (it != m_arrTaskButtons.cend())
        OnTaskButton((*it)->GetName());
}

void CTaskNotifierDlg::OnOptionClicked(int)
{
}

CSkinCheck* CTaskNotifierDlg::OnCheckClicked(int)
{
    return nullptr;
}

void CTaskNotifierDlg::OnSliderChanged(int, int)
{
}

void CTaskNotifierDlg::OnTaskButton(const QString& strName)
{
    if (strName == TASK_EXIT_NAME)
        SlideOut();
}

void CTaskNotifierDlg::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawPixmap(0, 0, m_pixPicture);
}

bool CTaskNotifierDlg::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    if (pWatched == m_pOwner && pEvent->type() == QEvent::Paint && !m_bOwnerPainted) {
        m_bOwnerPainted = true;
        m_pOwner->removeEventFilter(this);
        // Runs after the owner's paint has reached the screen.
        QTimer::singleShot(0, this, [this] {
            AppearWhenOwnerIsUp();
            LoadPageWhenReady();
        });
    }
    return QWidget::eventFilter(pWatched, pEvent);
}

// The web engine takes a good part of a second to start: it starts once the
// owner is on the screen, and only for a popup that is shown.
void CTaskNotifierDlg::LoadPageWhenReady()
{
    if (m_bPageRequested || !m_bOwnerPainted || isHidden())
        return;
    m_bPageRequested = true;
    // A turn later: what waits to be drawn goes out before the engine's
    // start holds up the event loop.
    QTimer::singleShot(0, this, [this] {
        if (m_bPageRequested)
            m_pHtmlPane->Navigate(NotifierPage::PageUrl());
    });
}

QScreen* CTaskNotifierDlg::Screen() const
{
    return m_pOwner != nullptr ? m_pOwner->screen() : QGuiApplication::primaryScreen();
}
