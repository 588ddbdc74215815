#pragma once

#include <QImage>
#include <QList>
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QSize>
#include <QString>
#include <QTimer>
#include <QWidget>

#include "controls/SkinParent.h"

class CHtmlCtrl;
class CSkinButton;
class QScreen;

// The task notifier: a small borderless window in the skin's picture that
// slides in, pixel by pixel, from the screen edge where the taskbar is,
// stays, and slides out again when its exit button is pressed, when the
// user clicks its page, or when it has stayed its time after a repeated
// Show. It never takes the focus. It carries the skin's task buttons and a
// web pane over the picture's page area.
class CTaskNotifierDlg : public QWidget, public ISkinParent
{
    Q_OBJECT

public:
    enum class EState { Hidden, Appearing, Shown, Disappearing };
    // Which way the popup moves while it appears.
    enum class EDirection { Down, Right, Left, Up };

    // Where the popup comes from and where it stops, in screen coordinates.
    struct CSlidePlan
    {
        EDirection eDirection = EDirection::Up;
        QPoint ptStart;
        QPoint ptShown;
        // The picture's extent along the move: the number of one-pixel steps.
        int nSpan = 0;
    };

    static inline const QString PICTURE_NAME = QStringLiteral("dlgTaskNotifier.bmp");
    // The task button that slides the popup out.
    static inline const QString TASK_EXIT_NAME = QStringLiteral("TASKBUTTON_EXIT");
    // A colour value that means "no transparent colour".
    static constexpr int NO_COLOR = -1;
    static constexpr int STEP_PIXELS = 1;

    // The taskbar's side follows from what it takes off the screen: right
    // or left when the work area is narrower than the screen, top when it is
    // lower and starts below the screen's top, bottom otherwise.
    static CSlidePlan PlanSlide(const QRect& rcWork, const QRect& rcScreen, const QSize& sizePicture);
    // The period of one step when nSpan pixels take nTimeMs.
    static int StepPeriod(int nTimeMs, int nSpan);

    // pOwner: the skinned window; the popup stays above it and is destroyed
    // with it. The page is loaded once the owner has painted, so the web
    // engine's start never holds up the owner's first appearance; it is let
    // go each time the popup has gone. Without an owner there is no page.
    explicit CTaskNotifierDlg(QWidget* pOwner);

    // Takes the picture from strPath and cuts away the pixels of the colour
    // (nRed, nGreen, nBlue); any of them NO_COLOR leaves the window
    // rectangular. False, and nothing changed, when the file does not load.
    bool SetSkin(const QString& strPath, int nRed, int nGreen, int nBlue);
    // The web pane's rectangle in picture coordinates; an empty one lets
    // the pane cover the whole picture.
    void SetPageRect(const QRect& rcPage);
    // Starts appearing when hidden (once the owner is on the screen, when
    // it is on its way there); when disappearing, jumps back to fully shown
    // and starts the stay; when shown, starts the stay anew. Nothing happens
    // without a picture.
    void Show(int nTimeToShowMs, int nTimeToStayMs, int nTimeToHideMs);
    // Stops at once and hides.
    void Hide();
    // Starts sliding out from wherever the popup is.
    void SlideOut();

    // The popup takes over the buttons, which have it as parent; the last
    // is the task button.
    void AddTaskButtons(const QList<CSkinButton*>& arrButtons);
    void DeleteTaskButton();
    CSkinButton* TaskButton() const { return m_arrTaskButtons.value(m_arrTaskButtons.size() - 1, nullptr); }
    const QList<CSkinButton*>& TaskButtons() const { return m_arrTaskButtons; }

    CHtmlCtrl* HtmlPane() const { return m_pHtmlPane; }
    EState State() const { return m_eState; }
    QPoint CurrentPosition() const { return m_ptCurrent; }
    int ShowStep() const { return m_nShowStepMs; }
    int HideStep() const { return m_nHideStepMs; }
    // The shape of the window; empty when it is rectangular.
    const QRegion& Region() const { return m_region; }
    const QImage& Picture() const { return m_imgPicture; }
    // A task button named strName was clicked, on the popup or on its owner.
    void OnTaskButton(const QString& strName);

    // ISkinParent
    const QImage& BackgroundCopy() const override { return m_imgPicture; }
    void OnButtonClicked(int nIndex) override;
    void OnOptionClicked(int nIndex) override;
    CSkinCheck* OnCheckClicked(int nIndex) override;
    void OnSliderChanged(int nIndex, int nPos) override;
    CSkinComboBox* FirstComboBox() const override { return nullptr; }
    void SetDropDownOpen(bool) override { }

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    void AppearWhenOwnerIsUp();
    void OnAppearStep();
    void OnStayOver();
    void OnDisappearStep();
    void MoveToCurrent();
    void PlacePane();
    void LoadPageWhenReady();
    QScreen* Screen() const;
    // The picture's size in the window's coordinates, whatever its resolution.
    QSize PictureSize() const;

    QWidget* m_pOwner;
    QList<CSkinButton*> m_arrTaskButtons;
    QImage m_imgPicture;
    // The picture as painted, key-coloured pixels fully transparent.
    QPixmap m_pixPicture;
    QRegion m_region;
    QRect m_rcPage;
    EState m_eState = EState::Hidden;
    int m_nTimeToStayMs = 0;
    int m_nShowStepMs = 0;
    int m_nHideStepMs = 0;
    CSlidePlan m_plan;
    QPoint m_ptCurrent;
    QTimer m_timerAppear;
    QTimer m_timerStay;
    QTimer m_timerDisappear;
    CHtmlCtrl* m_pHtmlPane;
    bool m_bOwnerPainted = false;
    // Shown, but waiting for the owner to come up before it appears.
    bool m_bAppearPending = false;
    bool m_bPageRequested = false;
};
