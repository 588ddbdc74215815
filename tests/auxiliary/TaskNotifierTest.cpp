#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QList>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include "auxiliary/HtmlCtrl.h"
#include "auxiliary/TaskNotifierDlg.h"
#include "controls/SkinButton.h"

namespace {

using EDirection = CTaskNotifierDlg::EDirection;
using EState = CTaskNotifierDlg::EState;

const QColor KEY(255, 0, 255);
const QColor BODY(40, 90, 160);
constexpr int WAIT_MS = 10000;

// Remembers every place the popup is moved to.
class CMoveRecorder : public QObject
{
public:
    explicit CMoveRecorder(QWidget& widget) { widget.installEventFilter(this); }

    QList<QPoint> m_arrPositions;

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override
    {
        if (pEvent->type() == QEvent::Move)
            m_arrPositions.append(static_cast<QWidget*>(pWatched)->pos());
        return false;
    }
};

class TaskNotifierTest : public ::testing::Test
{
protected:
    // A picture of the body colour with key-coloured corner pixels.
    QString WritePicture(const QString& strName, QSize size)
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(BODY);
        image.setPixelColor(0, 0, KEY);
        image.setPixelColor(size.width() - 1, size.height() - 1, KEY);
        const QString strPath = m_dir.filePath(strName);
        image.save(strPath, "BMP");
        return strPath;
    }

    static QRect WorkArea() { return QGuiApplication::primaryScreen()->availableGeometry(); }

    CSkinButton* AddExitButton()
    {
        auto* pButton = new CSkinButton(&m_popup, m_popup);
        pButton->Create(QRect(2, 2, 16, 16));
        pButton->SetName(CTaskNotifierDlg::TASK_EXIT_NAME);
        m_popup.AddTaskButtons({ pButton });
        return pButton;
    }

    QTemporaryDir m_dir;
    CTaskNotifierDlg m_popup { nullptr };
};

TEST(TaskNotifierPlan, TheTaskbarSideDecidesWhereThePopupComesFrom)
{
    const QSize sizePicture(300, 248);
    const QRect rcScreen(0, 0, 1920, 1080);
    const struct
    {
        const char* pszCase;
        QRect rcScreen;
        QRect rcWork;
        EDirection eDirection;
        QPoint ptStart;
        QPoint ptShown;
        int nSpan;
    } rows[] = {
        { "taskbar right", rcScreen, QRect(0, 0, 1860, 1080), EDirection::Left, { 1860, 832 }, { 1560, 832 }, 300 },
        { "taskbar left", rcScreen, QRect(60, 0, 1860, 1080), EDirection::Right, { -240, 832 }, { 60, 832 }, 300 },
        { "taskbar top", rcScreen, QRect(0, 40, 1920, 1040), EDirection::Down, { 1620, -208 }, { 1620, 40 }, 248 },
        { "taskbar bottom", rcScreen, QRect(0, 0, 1920, 1040), EDirection::Up, { 1620, 1040 }, { 1620, 792 }, 248 },
        { "no taskbar", rcScreen, rcScreen, EDirection::Up, { 1620, 1080 }, { 1620, 832 }, 248 },
        // A second screen right of the first: its own left edge counts.
        { "second screen, taskbar right",
          QRect(1920, 0, 1280, 1024),
          QRect(1920, 0, 1220, 1024),
          EDirection::Left,
          { 3140, 776 },
          { 2840, 776 },
          300 },
        { "second screen, taskbar bottom",
          QRect(1920, 0, 1280, 1024),
          QRect(1920, 0, 1280, 984),
          EDirection::Up,
          { 2900, 984 },
          { 2900, 736 },
          248 },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pszCase);
        const CTaskNotifierDlg::CSlidePlan plan = CTaskNotifierDlg::PlanSlide(row.rcWork, row.rcScreen, sizePicture);
        EXPECT_EQ(plan.eDirection, row.eDirection);
        EXPECT_EQ(plan.ptStart, row.ptStart);
        EXPECT_EQ(plan.ptShown, row.ptShown);
        EXPECT_EQ(plan.nSpan, row.nSpan);
    }
}

TEST(TaskNotifierPlan, OneStepTakesTheTimeOverThePixels)
{
    const struct
    {
        int nTimeMs;
        int nSpan;
        int nStepMs;
    } rows[] = {
        { 300, 150, 2 },
        { 300, 248, 1 },
        // More pixels than milliseconds: steps as fast as timers go.
        { 300, 400, 0 },
        { 0, 150, 0 },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.nTimeMs << " ms over " << row.nSpan << " px");
        EXPECT_EQ(CTaskNotifierDlg::StepPeriod(row.nTimeMs, row.nSpan), row.nStepMs);
    }
}

TEST_F(TaskNotifierTest, TheShapeEndsAtTheLastMultipleOfFourPixels)
{
    ASSERT_TRUE(m_popup.SetSkin(WritePicture("wide.bmp", QSize(203, 40)), 255, 0, 255));
    EXPECT_EQ(m_popup.size(), QSize(203, 40));
    EXPECT_EQ(m_popup.Region().boundingRect(), QRect(0, 0, 200, 40));
    // The key-coloured top-left pixel is cut; the bottom-right one lies in
    // the columns cut anyway.
    EXPECT_FALSE(m_popup.Region().contains(QPoint(0, 0)));
    EXPECT_TRUE(m_popup.Region().contains(QPoint(1, 0)));
    EXPECT_TRUE(m_popup.Region().contains(QPoint(199, 39)));
}

TEST_F(TaskNotifierTest, NoColourLeavesTheWholePicture)
{
    ASSERT_TRUE(m_popup.SetSkin(WritePicture("keyed.bmp", QSize(64, 40)), 255, 0, 255));
    ASSERT_FALSE(m_popup.Region().isEmpty());
    for (const int nNoColour : { -1, 65535 }) {
        SCOPED_TRACE(nNoColour);
        ASSERT_TRUE(m_popup.SetSkin(WritePicture("plain.bmp", QSize(64, 40)), 255, nNoColour, 255));
        EXPECT_TRUE(m_popup.Region().isEmpty());
        EXPECT_TRUE(m_popup.mask().isEmpty());
    }
}

TEST_F(TaskNotifierTest, AMissingPictureChangesNothing)
{
    ASSERT_TRUE(m_popup.SetSkin(WritePicture("first.bmp", QSize(64, 40)), 255, 0, 255));
    const QRegion regionBefore = m_popup.Region();
    EXPECT_FALSE(m_popup.SetSkin(m_dir.filePath("missing.bmp"), 255, 0, 255));
    EXPECT_EQ(m_popup.Picture().size(), QSize(64, 40));
    EXPECT_EQ(m_popup.Region(), regionBefore);
}

TEST_F(TaskNotifierTest, WithoutAPictureShowDoesNothing)
{
    m_popup.Show(300, 1000, 300);
    EXPECT_TRUE(m_popup.isHidden());
    EXPECT_EQ(m_popup.State(), EState::Hidden);
}

TEST_F(TaskNotifierTest, RisesAtTheBottomRightOnePixelAStep)
{
    ASSERT_TRUE(m_popup.SetSkin(WritePicture("tall.bmp", QSize(100, 150)), 255, 0, 255));
    const CMoveRecorder moves(m_popup);
    m_popup.Show(300, 1000, 300);
    EXPECT_EQ(m_popup.ShowStep(), 2);
    EXPECT_EQ(m_popup.HideStep(), 2);
    const QRect rcWork = WorkArea();
    const QPoint ptShown(rcWork.x() + rcWork.width() - 100, rcWork.y() + rcWork.height() - 150);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_popup.State() == EState::Shown; }, WAIT_MS));
    EXPECT_EQ(m_popup.pos(), ptShown);
    ASSERT_FALSE(moves.m_arrPositions.isEmpty());
    EXPECT_EQ(moves.m_arrPositions.first(), ptShown + QPoint(0, 150));
    for (qsizetype i = 1; i < moves.m_arrPositions.size(); ++i)
        EXPECT_EQ(moves.m_arrPositions[i - 1].y() - moves.m_arrPositions[i].y(), 1) << "move " << i;
}

TEST_F(TaskNotifierTest, ExitWhileRisingSinksBackFromTheHeightReached)
{
    ASSERT_TRUE(m_popup.SetSkin(WritePicture("tall.bmp", QSize(100, 150)), 255, 0, 255));
    CSkinButton* pExit = AddExitButton();
    m_popup.Show(300, 1000, 300);
    const QPoint ptStart = m_popup.pos();
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_popup.CurrentPosition().y() <= ptStart.y() - 40; }, WAIT_MS));
    ASSERT_EQ(m_popup.State(), EState::Appearing);

    const CMoveRecorder moves(m_popup);
    const int nReached = m_popup.CurrentPosition().y();
    QTest::mouseClick(pExit, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_popup.isHidden(); }, WAIT_MS));

    EXPECT_EQ(m_popup.State(), EState::Hidden);
    EXPECT_EQ(m_popup.CurrentPosition(), ptStart);
    ASSERT_FALSE(moves.m_arrPositions.isEmpty());
    EXPECT_EQ(moves.m_arrPositions.first().y(), nReached + 1);
    EXPECT_EQ(moves.m_arrPositions.last(), ptStart);
    for (qsizetype i = 1; i < moves.m_arrPositions.size(); ++i)
        EXPECT_EQ(moves.m_arrPositions[i].y() - moves.m_arrPositions[i - 1].y(), 1) << "move " << i;
}

TEST_F(TaskNotifierTest, ShowWhileDisappearingJumpsBackAndStaysItsTime)
{
    constexpr int STAY_MS = 400;
    ASSERT_TRUE(m_popup.SetSkin(WritePicture("low.bmp", QSize(100, 40)), 255, 0, 255));
    m_popup.Show(80, STAY_MS, 400);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_popup.State() == EState::Shown; }, WAIT_MS));
    const QPoint ptShown = m_popup.pos();

    m_popup.OnTaskButton(CTaskNotifierDlg::TASK_EXIT_NAME);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_popup.pos().y() >= ptShown.y() + 5; }, WAIT_MS));
    ASSERT_EQ(m_popup.State(), EState::Disappearing);

    QElapsedTimer stay;
    stay.start();
    m_popup.Show(80, STAY_MS, 400);
    EXPECT_EQ(m_popup.pos(), ptShown);
    EXPECT_EQ(m_popup.State(), EState::Disappearing);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_popup.isHidden(); }, WAIT_MS));
    EXPECT_GE(stay.elapsed(), STAY_MS);
}

TEST_F(TaskNotifierTest, HideStopsAStayAShowWhileDisappearingStarted)
{
    ASSERT_TRUE(m_popup.SetSkin(WritePicture("low.bmp", QSize(100, 40)), 255, 0, 255));
    m_popup.Show(40, 1000, 40);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_popup.State() == EState::Shown; }, WAIT_MS));
    m_popup.SlideOut();
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_popup.State() == EState::Disappearing; }, WAIT_MS));
    constexpr int SHORT_STAY_MS = 150;
    m_popup.Show(40, SHORT_STAY_MS, 40);
    m_popup.Hide();
    // Shown anew: a stay left running would send the popup away soon.
    m_popup.Show(40, 1000, 40);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_popup.State() == EState::Shown; }, WAIT_MS));
    EXPECT_FALSE(QTest::qWaitFor([&] { return m_popup.State() != EState::Shown; }, 3 * SHORT_STAY_MS));
}

TEST_F(TaskNotifierTest, ThePaneCoversThePageOrTheWholePicture)
{
    ASSERT_TRUE(m_popup.SetSkin(WritePicture("pane.bmp", QSize(120, 90)), 255, 0, 255));
    EXPECT_EQ(m_popup.HtmlPane()->geometry(), QRect(0, 0, 120, 90));
    m_popup.SetPageRect(QRect(10, 30, 100, 50));
    EXPECT_EQ(m_popup.HtmlPane()->geometry(), QRect(10, 30, 100, 50));
    // Above the page: the exit button stays where a click reaches it.
    CSkinButton* pExit = AddExitButton();
    pExit->move(20, 40);
    EXPECT_EQ(m_popup.childAt(25, 45), pExit);
    m_popup.SetPageRect(QRect());
    EXPECT_EQ(m_popup.HtmlPane()->geometry(), QRect(0, 0, 120, 90));
}

} // namespace
