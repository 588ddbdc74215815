#include <array>

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include "controls/SkinButton.h"
#include "controls/SkinCheck.h"
#include "controls/SkinComboButton.h"
#include "controls/SkinOption.h"
#include "tests/common/TestSkinParent.h"

namespace {

constexpr COLORREF KEY_MAGENTA = MakeColorRef(255, 0, 255);
const QColor HOST_COLOUR(40, 90, 140);
// Normal, hover, down, disabled.
const std::array<QColor, 4> FRAME_COLOURS = { QColor(200, 0, 0), QColor(0, 200, 0), QColor(0, 0, 200),
                                              QColor(200, 200, 0) };
const QRect BUTTON_RECT(20, 20, 40, 30);

enum class EKind { Button, Option, Check };

// A strip of four solid frames, each with a key-coloured top-left quarter.
QString WriteStrip(const QTemporaryDir& dir, int nFrameWidth, int nExtraColumns = 0)
{
    QImage strip(nFrameWidth * 4 + nExtraColumns, 10, QImage::Format_RGB32);
    strip.fill(Qt::white);
    QPainter painter(&strip);
    for (int i = 0; i < 4; ++i) {
        painter.fillRect(i * nFrameWidth, 0, nFrameWidth, 10, FRAME_COLOURS[i]);
        painter.fillRect(i * nFrameWidth, 0, nFrameWidth / 2, 5, QColor(255, 0, 255));
    }
    painter.end();
    const QString strPath = dir.filePath("strip.bmp");
    strip.save(strPath);
    return strPath;
}

class SkinButtonTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_host.resize(120, 100);
        m_host.setAutoFillBackground(true);
        QPalette palette = m_host.palette();
        palette.setColor(QPalette::Window, HOST_COLOUR);
        m_host.setPalette(palette);
        Activate(m_host);
    }

    static void Activate(QWidget& window)
    {
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    CSkinButton* MakeControl(EKind eKind, bool bChecked)
    {
        switch (eKind) {
        case EKind::Option:
            return MakeButton<CSkinOption>(false, bChecked);
        case EKind::Check:
            return MakeButton<CSkinCheck>(false, bChecked);
        case EKind::Button:
            break;
        }
        return MakeButton<CSkinButton>(false, bChecked);
    }

    // The user turns to another program: none of ours is active any more.
    static void DeactivateApplication()
    {
        QWidget other;
        Activate(other);
        other.hide();
        ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activeWindow() == nullptr; }));
    }

    template <class TButton>
    TButton* MakeButton(bool bLatched, bool bChecked, int nIndex = 3)
    {
        auto* pButton = new TButton(&m_host, m_parent);
        pButton->Create(BUTTON_RECT);
        pButton->SetTransparentColor(KEY_MAGENTA);
        pButton->LoadStrip(WriteStrip(m_dir, 10), BUTTON_RECT.left(), BUTTON_RECT.top(), BUTTON_RECT.right() + 1,
                           BUTTON_RECT.bottom() + 1);
        pButton->SetIndex(nIndex);
        pButton->SetName("BUTTON_TEST");
        pButton->SetLatched(bLatched);
        pButton->SetChecked(bChecked);
        return pButton;
    }

    // The colour the window shows at a point of the button (button coordinates).
    QColor ShownAt(const CSkinButton* pButton, QPoint pt)
    {
        return m_host.grab().toImage().pixelColor(pButton->mapTo(&m_host, pt));
    }
    QColor ShownFrame(const CSkinButton* pButton)
    {
        return ShownAt(pButton, QPoint(pButton->width() - 2, pButton->height() - 2));
    }

    // The enter and move a button gets when the mouse comes over it with
    // these buttons held.
    static void MouseComesOver(CSkinButton* pButton, QPoint pt, Qt::MouseButtons buttons)
    {
        const QPointF ptGlobal = pButton->mapToGlobal(QPointF(pt));
        QEnterEvent enter(pt, pt, ptGlobal);
        QApplication::sendEvent(pButton, &enter);
        QMouseEvent move(QEvent::MouseMove, pt, ptGlobal, Qt::NoButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(pButton, &move);
    }

    QTemporaryDir m_dir;
    QWidget m_host;
    CTestSkinParent m_parent;
};

enum class EMouse { Away, Over, PressedInside, PressedThenOutside };

struct CFrameCase
{
    const char* pszName;
    bool bLatched;
    bool bChecked;
    bool bEnabled;
    EMouse eMouse;
    CSkinButton::EFrame eExpected;
};

TEST_F(SkinButtonTest, FrameFollowsState)
{
    using F = CSkinButton::EFrame;
    const CFrameCase cases[] = {
        { "plain", false, false, true, EMouse::Away, F::Normal },
        { "hover", false, false, true, EMouse::Over, F::Hover },
        { "pressed", false, false, true, EMouse::PressedInside, F::Down },
        { "pressed, dragged outside", false, false, true, EMouse::PressedThenOutside, F::Normal },
        { "disabled", false, false, false, EMouse::Over, F::Disabled },
        { "checked", false, true, true, EMouse::Away, F::Down },
        { "checked under the mouse", false, true, true, EMouse::Over, F::Hover },
        { "latched checked under the mouse", true, true, true, EMouse::Over, F::Down },
        { "latched checked pressed", true, true, true, EMouse::PressedInside, F::Down },
        { "latched checked disabled", true, true, false, EMouse::Away, F::Down },
        { "latched unchecked under the mouse", true, false, true, EMouse::Over, F::Normal },
        { "latched unchecked pressed", true, false, true, EMouse::PressedInside, F::Normal },
    };
    for (const CFrameCase& c : cases) {
        SCOPED_TRACE(c.pszName);
        auto* pButton = MakeButton<CSkinButton>(c.bLatched, c.bChecked);
        pButton->setEnabled(c.bEnabled);
        const QPoint ptInside = pButton->rect().center();
        QTest::mouseMove(&m_host, QPoint(110, 90));
        if (c.eMouse == EMouse::Over)
            QTest::mouseMove(pButton, ptInside);
        if (c.eMouse == EMouse::PressedInside || c.eMouse == EMouse::PressedThenOutside)
            QTest::mousePress(pButton, Qt::LeftButton, {}, ptInside);
        if (c.eMouse == EMouse::PressedThenOutside)
            QTest::mouseMove(pButton, QPoint(-5, -5));

        EXPECT_EQ(pButton->CurrentFrame(), c.eExpected);
        EXPECT_EQ(ShownFrame(pButton), FRAME_COLOURS[int(c.eExpected)]);

        if (c.eMouse == EMouse::PressedInside || c.eMouse == EMouse::PressedThenOutside)
            QTest::mouseRelease(pButton, Qt::LeftButton, {}, QPoint(-5, -5));
        delete pButton;
    }
}

TEST_F(SkinButtonTest, KeyColouredPixelsShowTheWindowBeneath)
{
    const CSkinButton* pButton = MakeButton<CSkinButton>(false, false);
    EXPECT_EQ(ShownAt(pButton, QPoint(1, 1)), HOST_COLOUR);
}

TEST_F(SkinButtonTest, ComboButtonTreatsBlackAsKey)
{
    auto* pButton = new CSkinComboButton(&m_host, m_parent);
    pButton->Create(BUTTON_RECT);
    QImage strip(8, 4, QImage::Format_RGB32);
    strip.fill(Qt::black);
    strip.setPixelColor(0, 3, FRAME_COLOURS[0]);
    const QString strPath = m_dir.filePath("combo.bmp");
    ASSERT_TRUE(strip.save(strPath));
    ASSERT_TRUE(pButton->LoadStrip(strPath, 0, 0, 2, 4));
    pButton->resize(2, 4);
    EXPECT_EQ(ShownAt(pButton, QPoint(0, 0)), HOST_COLOUR);
    EXPECT_EQ(ShownAt(pButton, QPoint(0, 3)), FRAME_COLOURS[0]);
}

TEST_F(SkinButtonTest, RemainderColumnsOfTheStripAreNeverShown)
{
    // 401 columns: four frames of 100 and one column left over.
    QImage strip(401, 4, QImage::Format_RGB32);
    for (int i = 0; i < 4; ++i) {
        for (int x = 0; x < 100; ++x) {
            for (int y = 0; y < 4; ++y)
                strip.setPixelColor(i * 100 + x, y, x == 99 ? FRAME_COLOURS[(i + 1) % 4] : FRAME_COLOURS[i]);
        }
    }
    for (int y = 0; y < 4; ++y)
        strip.setPixelColor(400, y, Qt::white);
    const QString strPath = m_dir.filePath("wide.bmp");
    ASSERT_TRUE(strip.save(strPath));
    auto* pButton = new CSkinButton(&m_host, m_parent);
    pButton->Create(QRect(0, 0, 100, 4));
    ASSERT_TRUE(pButton->LoadStrip(strPath, 0, 0, 100, 4));
    EXPECT_EQ(ShownAt(pButton, QPoint(98, 1)), FRAME_COLOURS[0]);
    EXPECT_EQ(ShownAt(pButton, QPoint(99, 1)), FRAME_COLOURS[1]);
}

TEST_F(SkinButtonTest, OnlyAReleaseInsideReports)
{
    CSkinButton* pButton = MakeButton<CSkinButton>(false, false, 5);
    const QPoint ptInside = pButton->rect().center();

    QTest::mousePress(pButton, Qt::LeftButton, {}, ptInside);
    QTest::mouseMove(pButton, QPoint(-10, -10));
    QTest::mouseRelease(pButton, Qt::LeftButton, {}, QPoint(-10, -10));
    EXPECT_TRUE(m_parent.m_arrButtons.isEmpty());

    QTest::mouseClick(pButton, Qt::LeftButton, {}, ptInside);
    EXPECT_EQ(m_parent.m_arrButtons, QList<int> { 5 });
    EXPECT_FALSE(pButton->IsHover());
}

TEST_F(SkinButtonTest, DragFromElsewhereStartsNoHighlight)
{
    CSkinButton* pButton = MakeButton<CSkinButton>(false, false);
    const QPoint ptInside = pButton->rect().center();
    QTest::mousePress(&m_host, Qt::LeftButton, {}, QPoint(110, 90));
    // Qt's mouse grab keeps a held mouse's events with the widget it went
    // down on; the button has to refuse them itself wherever they do reach
    // it, so they go to it directly.
    MouseComesOver(pButton, ptInside, Qt::LeftButton);
    EXPECT_FALSE(pButton->IsHover());
    EXPECT_EQ(ShownFrame(pButton), FRAME_COLOURS[int(CSkinButton::EFrame::Normal)]);
    QTest::mouseRelease(&m_host, Qt::LeftButton, {}, pButton->geometry().center());
    EXPECT_TRUE(m_parent.m_arrButtons.isEmpty());

    MouseComesOver(pButton, ptInside, Qt::NoButton);
    EXPECT_TRUE(pButton->IsHover());
}

struct CHighlightCase
{
    const char* pszName;
    EKind eKind;
    bool bChecked;
    bool bApplicationActive;
    bool bHighlights;
};

TEST_F(SkinButtonTest, HighlightStartsOnlyOnAnUncheckedControlOfTheActiveApplication)
{
    const CHighlightCase cases[] = {
        { "button", EKind::Button, false, true, true },
        { "unchecked option", EKind::Option, false, true, true },
        { "checked option", EKind::Option, true, true, false },
        { "unchecked check box", EKind::Check, false, true, true },
        { "checked check box", EKind::Check, true, true, false },
        { "button of an inactive application", EKind::Button, false, false, false },
    };
    for (const CHighlightCase& c : cases) {
        SCOPED_TRACE(c.pszName);
        CSkinButton* pButton = MakeControl(c.eKind, c.bChecked);
        QTest::mouseMove(&m_host, QPoint(110, 90));
        if (!c.bApplicationActive)
            DeactivateApplication();
        QTest::mouseMove(pButton, pButton->rect().center());
        EXPECT_EQ(pButton->IsHover(), c.bHighlights);
        delete pButton;
        if (!c.bApplicationActive)
            Activate(m_host);
    }
}

TEST_F(SkinButtonTest, LosingActivationEndsTheHighlight)
{
    CSkinButton* pButton = MakeButton<CSkinButton>(false, false);
    QTest::mouseMove(pButton, pButton->rect().center());
    ASSERT_TRUE(pButton->IsHover());
    QWidget other;
    Activate(other);
    EXPECT_FALSE(pButton->IsHover());
    EXPECT_EQ(ShownFrame(pButton), FRAME_COLOURS[int(CSkinButton::EFrame::Normal)]);
}

TEST_F(SkinButtonTest, CheckTogglesAndNeverHighlightsWhileChecked)
{
    auto* pCheck = MakeButton<CSkinCheck>(false, false, 2);
    const QPoint ptInside = pCheck->rect().center();
    QTest::mouseClick(pCheck, Qt::LeftButton, {}, ptInside);
    EXPECT_TRUE(pCheck->IsChecked());
    QTest::mouseMove(pCheck, ptInside + QPoint(1, 0));
    EXPECT_FALSE(pCheck->IsHover());
    EXPECT_EQ(ShownFrame(pCheck), FRAME_COLOURS[int(CSkinButton::EFrame::Down)]);
    QTest::mouseClick(pCheck, Qt::LeftButton, {}, ptInside);
    EXPECT_FALSE(pCheck->IsChecked());
    EXPECT_EQ(m_parent.m_arrChecks, (QList<int> { 2, 2 }));
}

TEST_F(SkinButtonTest, ClickingACheckedOptionKeepsItCheckedAndReports)
{
    auto* pOption = MakeButton<CSkinOption>(false, true, 4);
    QTest::mouseClick(pOption, Qt::LeftButton, {}, pOption->rect().center());
    EXPECT_TRUE(pOption->IsChecked());
    EXPECT_FALSE(pOption->IsHover());
    EXPECT_EQ(m_parent.m_arrOptions, QList<int> { 4 });
}

TEST_F(SkinButtonTest, ComboButtonAsksForTheDropDown)
{
    auto* pButton = new CSkinComboButton(&m_host, m_parent);
    pButton->Create(BUTTON_RECT);
    QSignalSpy spy(pButton, &CSkinComboButton::DropDownRequested);
    QTest::mouseClick(pButton, Qt::LeftButton, {}, pButton->rect().center());
    EXPECT_EQ(spy.count(), 1);
    EXPECT_EQ(pButton->GetName(), "COMBO_BTN");
    EXPECT_TRUE(m_parent.m_arrButtons.isEmpty());
}

} // namespace
