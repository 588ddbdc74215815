#include <algorithm>

#include <gtest/gtest.h>

#include <QApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <QWheelEvent>

#include "controls/SkinComboBox.h"
#include "controls/SkinComboButton.h"
#include "controls/SkinEdit.h"
#include "controls/SkinListBox.h"
#include "controls/SkinScrollBar.h"
#include "tests/common/TestSkinParent.h"

namespace {

// Scroll images: channel 16 x 10, arrows 16 x 15, thumb 16 x 20.
QStringList WriteScrollImages(const QTemporaryDir& dir)
{
    return {
        WriteBitmap(dir, "channel.bmp", 16, 10, QColor(90, 90, 90)),
        WriteBitmap(dir, "up.bmp", 16, 15, QColor(0, 0, 250)),
        WriteBitmap(dir, "upPressed.bmp", 16, 15, QColor(0, 0, 120)),
        WriteBitmap(dir, "down.bmp", 16, 15, QColor(0, 250, 0)),
        WriteBitmap(dir, "downPressed.bmp", 16, 15, QColor(0, 120, 0)),
        WriteBitmap(dir, "thumb.bmp", 16, 20, QColor(250, 0, 0)),
        WriteBitmap(dir, "thumbPressed.bmp", 16, 20, QColor(120, 0, 0)),
    };
}

class SkinListBoxTest : public testing::Test
{
protected:
    SkinListBoxTest()
        : m_parent(MakeGradientBackground(400, 300))
    {
        m_pList = new CSkinListBox(&m_parent, m_parent);
        m_pList->Create(QRect(10, 10, 300, 200));
        m_pList->SetBkColor(MakeColorRef(0, 0, 0x40));
        m_pList->SetTextColor(MakeColorRef(0xFF, 0xFF, 0xFF));
        m_pList->SetSelBkColor(MakeColorRef(0xFF, 0xFF, 0));
        m_pList->SetSelTextColor(MakeColorRef(0, 0, 0));
        m_pList->setFont(CSkinListBox::SkinListFont());
        m_pList->InitScrollBar(WriteScrollImages(m_dir));
        m_pBar = m_pList->ScrollBar();
        m_parent.show();
    }

    // Rows enough for a scroll limit of 30.
    void FillForLimit30()
    {
        const int nRows = m_pList->RowsPerPage() + 30;
        for (int i = 0; i < nRows; ++i)
            m_pList->AddItem(QStringLiteral("row %1").arg(i));
        ASSERT_EQ(m_pList->GetScrollLimit(), 30);
    }

    QTemporaryDir m_dir;
    CTestSkinParent m_parent;
    CSkinListBox* m_pList = nullptr;
    CSkinScrollBar* m_pBar = nullptr;
};

} // namespace

TEST_F(SkinListBoxTest, BarStandsInAStripCutFromTheList)
{
    EXPECT_EQ(m_pList->geometry(), QRect(10, 10, 284, 200));
    EXPECT_EQ(m_pBar->geometry(), QRect(294, 10, 16, 200));
    EXPECT_EQ(m_pBar->parentWidget(), &m_parent);
}

TEST_F(SkinListBoxTest, RowsAreNumberedInThreeCharactersAndAPoint)
{
    for (const char* pszText : { "a", "b", "c" })
        m_pList->AddItem(pszText);
    EXPECT_EQ(m_pList->GetItemText(2, 0), QStringLiteral("  3."));
    EXPECT_EQ(m_pList->GetItemText(2, 1), QStringLiteral("c"));
}

TEST_F(SkinListBoxTest, ThumbPlacementFollowsScrollPosition)
{
    FillForLimit30();
    const struct
    {
        int nPos;
        int nThumbTop;
    } rows[] = { { 0, 15 }, { 11, 70 }, { 30, 165 } };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.nPos);
        m_pList->ScrollLines(row.nPos - m_pList->GetScrollPos());
        m_pBar->UpdateThumb();
        EXPECT_EQ(m_pBar->ThumbTop(), row.nThumbTop);
    }
}

TEST_F(SkinListBoxTest, ArrowScrollsOnReleaseAndRepeatsWhileHeld)
{
    FillForLimit30();
    const QPoint ptDown(8, 192);
    QTest::mousePress(m_pBar, Qt::LeftButton, Qt::NoModifier, ptDown);
    EXPECT_EQ(m_pList->GetScrollPos(), 0);
    QTest::mouseRelease(m_pBar, Qt::LeftButton, Qt::NoModifier, ptDown);
    EXPECT_EQ(m_pList->GetScrollPos(), 1);

    QTest::mousePress(m_pBar, Qt::LeftButton, Qt::NoModifier, ptDown);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_pList->GetScrollPos() >= 4; }));
    QTest::mouseRelease(m_pBar, Qt::LeftButton, Qt::NoModifier, ptDown);
    for (const QTimer* pTimer : m_pBar->findChildren<QTimer*>())
        EXPECT_FALSE(pTimer->isActive());
    EXPECT_EQ(m_pBar->ThumbTop(), 15 + m_pList->GetScrollPos() * 5);
}

TEST_F(SkinListBoxTest, ArrowRepeatPausesWhileTheMouseIsOffIt)
{
    FillForLimit30();
    const QPoint ptDown(8, 192);
    // Each tick of the repeat timer is a moment the held arrow may scroll.
    const QList<QTimer*> arrTimers = m_pBar->findChildren<QTimer*>();
    const auto itRepeat =
        std::find_if(arrTimers.begin(), arrTimers.end(), [](const QTimer* pTimer) { return !pTimer->isSingleShot(); });
    ASSERT_NE(itRepeat, arrTimers.end());
    QSignalSpy repeats(*itRepeat, &QTimer::timeout);

    QTest::mousePress(m_pBar, Qt::LeftButton, Qt::NoModifier, ptDown);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_pList->GetScrollPos() >= 2; }));
    QTest::mouseMove(m_pBar, QPoint(40, 192));
    const int nPosOff = m_pList->GetScrollPos();
    const int nRepeatsOff = int(repeats.size());
    ASSERT_TRUE(QTest::qWaitFor([&] { return repeats.size() >= nRepeatsOff + 3; }));
    EXPECT_EQ(m_pList->GetScrollPos(), nPosOff);

    QTest::mouseMove(m_pBar, ptDown);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_pList->GetScrollPos() > nPosOff; }));
    QTest::mouseRelease(m_pBar, Qt::LeftButton, Qt::NoModifier, ptDown);
}

TEST_F(SkinListBoxTest, ChannelPressPagesOnReleaseTowardsThePoint)
{
    FillForLimit30();
    const int nPage = m_pList->RowsPerPage();
    QTest::mousePress(m_pBar, Qt::LeftButton, Qt::NoModifier, QPoint(8, 150));
    EXPECT_EQ(m_pList->GetScrollPos(), 0);
    QTest::mouseRelease(m_pBar, Qt::LeftButton, Qt::NoModifier, QPoint(8, 150));
    EXPECT_EQ(m_pList->GetScrollPos(), std::min(30, nPage));

    m_pList->ScrollLines(30);
    m_pBar->UpdateThumb();
    QTest::mouseClick(m_pBar, Qt::LeftButton, Qt::NoModifier, QPoint(8, 40));
    EXPECT_EQ(m_pList->GetScrollPos(), 30 - nPage);
}

TEST_F(SkinListBoxTest, DraggingTheThumbScrollsByRatio)
{
    FillForLimit30();
    QTest::mousePress(m_pBar, Qt::LeftButton, Qt::NoModifier, QPoint(8, 25));
    QTest::mouseMove(m_pBar, QPoint(8, 80));
    // Thumb top 70: (70 - 15) / 5 = row 11.
    EXPECT_EQ(m_pList->GetScrollPos(), 11);
    EXPECT_EQ(m_pBar->ThumbTop(), 70);
    QTest::mouseMove(m_pBar, QPoint(8, 400));
    EXPECT_EQ(m_pList->GetScrollPos(), 30);
    EXPECT_EQ(m_pBar->ThumbTop(), 165);
    QTest::mouseRelease(m_pBar, Qt::LeftButton, Qt::NoModifier, QPoint(8, 400));
    EXPECT_EQ(m_pList->GetScrollPos(), 30);
}

struct CScrollInputCase
{
    const char* pszName;
    int nStartPos;
    // Qt::Key_unknown for a wheel turn.
    Qt::Key key;
    // Away from the user is positive.
    int nWheelNotches;
    int nExpectedPos;
};

TEST_F(SkinListBoxTest, KeysAndWheelKeepTheThumbInStep)
{
    FillForLimit30();
    const CScrollInputCase cases[] = {
        { "End", 0, Qt::Key_End, 0, 30 },
        { "Home", 30, Qt::Key_Home, 0, 0 },
        { "Page Down from the top", 0, Qt::Key_PageDown, 0, 1 },
        { "wheel a notch down", 0, Qt::Key_unknown, -1, CSkinListBox::WHEEL_LINES },
        { "wheel a notch up", 30, Qt::Key_unknown, 1, 30 - CSkinListBox::WHEEL_LINES },
    };
    for (const CScrollInputCase& c : cases) {
        SCOPED_TRACE(c.pszName);
        m_pList->SetSelectedRow(-1);
        m_pList->ScrollLines(c.nStartPos - m_pList->GetScrollPos());
        m_pBar->UpdateThumb();
        if (c.key != Qt::Key_unknown) {
            QTest::keyClick(m_pList, c.key);
        } else {
            const QPoint pt = m_pList->rect().center();
            const QPoint angle(0, c.nWheelNotches * QWheelEvent::DefaultDeltasPerStep);
            QWheelEvent wheel(pt, m_pList->mapToGlobal(pt), QPoint(), angle, Qt::NoButton, Qt::NoModifier,
                              Qt::NoScrollPhase, false);
            QApplication::sendEvent(m_pList, &wheel);
        }
        EXPECT_EQ(m_pList->GetScrollPos(), c.nExpectedPos);
        // 5 pixels of track per row.
        EXPECT_EQ(m_pBar->ThumbTop(), 15 + 5 * c.nExpectedPos);
    }
}

TEST_F(SkinListBoxTest, ListThatCannotScrollShowsPlainFill)
{
    m_pList->AddItem("only");
    EXPECT_EQ(m_pList->GetScrollLimit(), 0);
    m_pBar->UpdateThumb();
    EXPECT_EQ(m_pBar->ThumbTop(), 15);
    EXPECT_EQ(m_pBar->grab().toImage().pixelColor(8, 100), QColor(0, 0, 0x40));
    QTest::mouseClick(m_pBar, Qt::LeftButton, Qt::NoModifier, QPoint(8, 192));
    EXPECT_EQ(m_pList->GetScrollPos(), 0);
}

// The recordings list used to cut a row's length and size off after its
// title; details now take a line of their own, and long text an ellipsis.
TEST_F(SkinListBoxTest, DetailsTakeASecondLineAcrossTheRowAndTooltipsAreByRow)
{
    constexpr int TEXT_COLUMN_END = 135;
    m_pList->InsertColumn(35, Qt::AlignRight);
    m_pList->InsertColumn(TEXT_COLUMN_END - 35, Qt::AlignLeft);
    m_pList->SetDetailsShown(true);
    m_pList->AddItem(QStringLiteral("A title far too long for a hundred pixels"));
    m_pList->SetItemDetails(0, QStringLiteral("00:00:05  1.2 MiB"));
    m_pList->SetItemToolTip(0, QStringLiteral("/videos/A title.mpg"));
    m_pList->AddItem(QStringLiteral("no tooltip"));
    const int nLine = m_pList->fontMetrics().height();
    EXPECT_EQ(m_pList->RowHeight(), 2 * nLine + 2);

    // Text is white on the dark row: count its pixels in each band.
    const QImage image = m_pList->grab().toImage();
    const auto textPixels = [&image](const QRect& rc) {
        int nCount = 0;
        for (int y = rc.top(); y <= rc.bottom(); ++y) {
            for (int x = rc.left(); x <= rc.right(); ++x)
                nCount += qRed(image.pixel(x, y)) > 128;
        }
        return nCount;
    };
    const int nWidth = m_pList->width();
    EXPECT_EQ(textPixels(QRect(TEXT_COLUMN_END, 0, nWidth - TEXT_COLUMN_END, nLine)), 0)
        << "the title stays in its column";
    EXPECT_GT(textPixels(QRect(0, 0, TEXT_COLUMN_END, nLine)), 0);
    EXPECT_GT(textPixels(QRect(nWidth - 40, nLine + 1, 40, nLine)), 0) << "details end at the row's right edge";

    struct CTipCase
    {
        int nRow;
        const char* pszExpected; // null: no tooltip
    } const cases[] = { { 0, "/videos/A title.mpg" }, { 1, nullptr } };
    for (const CTipCase& testCase : cases) {
        SCOPED_TRACE(testCase.nRow);
        const QPoint pt(50, testCase.nRow * m_pList->RowHeight() + nLine);
        QHelpEvent help(QEvent::ToolTip, pt, m_pList->mapToGlobal(pt));
        QApplication::sendEvent(m_pList, &help);
        if (testCase.pszExpected)
            QTRY_COMPARE(QToolTip::text(), QString::fromUtf8(testCase.pszExpected));
        else
            QTRY_VERIFY(!QToolTip::isVisible());
    }
}

TEST_F(SkinListBoxTest, RowsShowSkinColoursAndSelection)
{
    m_pList->InsertColumn(35, Qt::AlignRight);
    m_pList->InsertColumn(200, Qt::AlignLeft);
    m_pList->AddItem("first");
    m_pList->AddItem("second");
    QTest::mouseClick(m_pList, Qt::LeftButton, Qt::NoModifier, QPoint(100, m_pList->RowHeight() + 2));
    EXPECT_EQ(m_pList->GetSelectedRow(), 1);
    const QImage shown = m_pList->grab().toImage();
    EXPECT_EQ(shown.pixelColor(200, m_pList->RowHeight() + 1), QColor(0xFF, 0xFF, 0));
    EXPECT_EQ(shown.pixelColor(200, 1), QColor(0, 0, 0x40));
    EXPECT_EQ(shown.pixelColor(250, m_pList->RowHeight() + 1), QColor(0, 0, 0x40));
    EXPECT_EQ(shown.pixelColor(100, 150), QColor(0, 0, 0x40));
}

TEST(SkinListBox, EmptyColourFieldsTakeThePlatformColours)
{
    CTestSkinParent parent(MakeGradientBackground(200, 200));
    CSkinListBox list(&parent, parent);
    list.Create(QRect(0, 0, 100, 100));
    list.SetBkColor(CLR_NONE_GIVEN);
    list.SetTextColor(CLR_NONE_GIVEN);
    list.SetSelBkColor(CLR_NONE_GIVEN);
    list.SetSelTextColor(CLR_NONE_GIVEN);
    const QPalette& platform = list.palette();
    EXPECT_EQ(list.BackColor(), platform.color(QPalette::Base));
    EXPECT_EQ(list.TextColor(), platform.color(QPalette::Text));
    EXPECT_EQ(list.SelBackColor(), platform.color(QPalette::Highlight));
    EXPECT_EQ(list.SelTextColor(), platform.color(QPalette::HighlightedText));
    list.AddItem("row");
    list.SetSelectedRow(0);
    parent.show();
    const QImage shown = list.grab().toImage();
    EXPECT_EQ(shown.pixelColor(95, 1).rgb(), platform.color(QPalette::Highlight).rgb());
    EXPECT_EQ(shown.pixelColor(50, 90).rgb(), platform.color(QPalette::Base).rgb());
}

namespace {

constexpr COLORREF EDIT_BORDER = MakeColorRef(0xFF, 0x80, 0);

// The combo box of a COMBOBOXINFO entry at (10, 20, 210, 40) with a
// 64 x 18 arrow strip, as the window's first combo box.
class SkinComboBoxTest : public testing::Test
{
protected:
    SkinComboBoxTest()
        : m_parent(MakeGradientBackground(300, 200))
    {
        m_pCombo = new CSkinComboBox(&m_parent, m_parent);
        const QRect rcSkin(10, 20, 200, 20);
        m_pCombo->Create(rcSkin);
        const QString strArrow = WriteBitmap(m_dir, "arrow.bmp", 64, 18, QColor(40, 40, 40));
        m_pCombo->LoadArrowSize(strArrow);
        m_pCombo->SetRects(rcSkin);
        m_pCombo->CreateButton(strArrow);
        CSkinComboBox::CColors colors;
        colors.crEditBorder = EDIT_BORDER;
        colors.crItemBack = MakeColorRef(0, 0, 0x40);
        m_pCombo->CreateEdit(colors);
        m_pCombo->CreateList(colors, WriteScrollImages(m_dir));
        m_parent.m_pFirstCombo = m_pCombo;
        m_parent.show();
    }

    QTemporaryDir m_dir;
    CTestSkinParent m_parent;
    CSkinComboBox* m_pCombo = nullptr;
};

} // namespace

TEST_F(SkinComboBoxTest, LayoutFromSkinRectangleAndArrowFrame)
{
    EXPECT_EQ(m_pCombo->EditRect(), QRect(10, 20, 184, 18));
    EXPECT_EQ(m_pCombo->ButtonRect(), QRect(194, 19, 16, 20));
    EXPECT_EQ(m_pCombo->ListRect(), QRect(10, 40, 199, 50));
    EXPECT_EQ(m_pCombo->WholeRect(), QRect(10, 20, 200, 70));
    EXPECT_EQ(m_pCombo->Edit()->geometry(), m_pCombo->EditRect());
    EXPECT_EQ(m_pCombo->Button()->geometry(), m_pCombo->ButtonRect());
    EXPECT_FALSE(m_pCombo->IsDropDownVisible());
    EXPECT_TRUE(m_pCombo->List()->ScrollBar()->isHidden());
}

TEST(SkinComboBox, MissingArrowStripCollapsesTheEditField)
{
    CTestSkinParent parent(MakeGradientBackground(300, 200));
    CSkinComboBox combo(&parent, parent);
    combo.LoadArrowSize(QStringLiteral("/nonexistent/arrow.bmp"));
    combo.SetRects(QRect(10, 20, 200, 100));
    EXPECT_EQ(combo.EditRect(), QRect(10, 20, 200, 0));
    EXPECT_EQ(combo.ButtonRect(), QRect(210, 19, 0, 2));
    EXPECT_EQ(combo.ListRect(), QRect(10, 22, 199, 98));
    combo.ToggleDropDown();
    combo.AddString("ignored");
    EXPECT_FALSE(parent.m_bDropDownOpen);
}

TEST_F(SkinComboBoxTest, DropButtonOpensAndClosesWithTheSharedFlag)
{
    const QPoint ptButton = m_pCombo->Button()->rect().center();
    QTest::mouseClick(m_pCombo->Button(), Qt::LeftButton, Qt::NoModifier, ptButton);
    EXPECT_TRUE(m_pCombo->IsDropDownVisible());
    EXPECT_FALSE(m_pCombo->List()->ScrollBar()->isHidden());
    EXPECT_TRUE(m_parent.m_bDropDownOpen);
    const QRect rcFrame = m_pCombo->ListRect().adjusted(-1, -1, 1, 1);
    EXPECT_EQ(m_parent.grab(rcFrame).toImage().pixelColor(0, 0), ColorFromRef(EDIT_BORDER));

    QTest::mouseClick(m_pCombo->Button(), Qt::LeftButton, Qt::NoModifier, ptButton);
    EXPECT_FALSE(m_pCombo->IsDropDownVisible());
    EXPECT_FALSE(m_parent.m_bDropDownOpen);
    EXPECT_EQ(m_parent.grab(rcFrame).toImage().pixelColor(0, 0),
              m_parent.BackgroundCopy().pixelColor(rcFrame.topLeft()));
}

TEST_F(SkinComboBoxTest, ClickingARowSelectsItsTextAndCloses)
{
    m_pCombo->AddString("MPEG1");
    m_pCombo->AddString("MPEG2");
    m_pCombo->ToggleDropDown();
    CSkinListBox* pList = m_pCombo->List();
    QTest::mouseClick(pList, Qt::LeftButton, Qt::NoModifier, QPoint(20, pList->RowHeight() + 2));
    EXPECT_EQ(m_pCombo->Edit()->text(), QStringLiteral("MPEG2"));
    EXPECT_FALSE(m_pCombo->IsDropDownVisible());
    EXPECT_FALSE(m_parent.m_bDropDownOpen);

    m_pCombo->ToggleDropDown();
    EXPECT_TRUE(m_pCombo->IsDropDownVisible());
}

TEST_F(SkinComboBoxTest, MouseMoveOutsideClosesAndRepaintsWhatLayUnder)
{
    // A sibling beneath the list area, as an option button may be.
    QWidget option(&m_parent);
    option.setGeometry(20, 60, 30, 20);
    option.show();
    option.lower();
    int nPaints = 0;
    struct CPaintCounter : QObject
    {
        int& m_nPaints;
        explicit CPaintCounter(int& nPaints)
            : m_nPaints(nPaints)
        {
        }
        bool eventFilter(QObject*, QEvent* pEvent) override
        {
            if (pEvent->type() == QEvent::Paint)
                ++m_nPaints;
            return false;
        }
    } counter(nPaints);
    option.installEventFilter(&counter);

    m_pCombo->ToggleDropDown();
    EXPECT_FALSE(m_pCombo->CloseDropDownOnMouseMove(QPoint(100, 80)));
    EXPECT_TRUE(m_pCombo->IsDropDownVisible());
    QCoreApplication::processEvents();
    nPaints = 0;
    EXPECT_TRUE(m_pCombo->CloseDropDownOnMouseMove(QPoint(250, 150)));
    EXPECT_FALSE(m_pCombo->IsDropDownVisible());
    ASSERT_TRUE(QTest::qWaitFor([&] { return nPaints > 0; }));
    EXPECT_FALSE(m_pCombo->CloseDropDownOnMouseMove(QPoint(250, 150)));
}

TEST_F(SkinComboBoxTest, ASelectOnlyEditTakesNoTypingAndOpensTheList)
{
    m_pCombo->SelectText(QStringLiteral("MPEG1"));
    m_pCombo->MakeSelectOnly();
    CSkinEdit* pEdit = m_pCombo->Edit();
    pEdit->setFocus();
    QTest::keyClicks(pEdit, QStringLiteral("garbage"));
    QTest::keyClick(pEdit, Qt::Key_Backspace);
    EXPECT_EQ(pEdit->text(), QStringLiteral("MPEG1"));

    // Anywhere on the field, not only on the arrow.
    QTest::mouseClick(pEdit, Qt::LeftButton, {}, QPoint(3, pEdit->height() / 2));
    EXPECT_TRUE(m_pCombo->IsDropDownVisible());
    EXPECT_TRUE(m_parent.m_bDropDownOpen);
    QTest::mouseClick(pEdit, Qt::LeftButton, {}, pEdit->rect().center());
    EXPECT_FALSE(m_pCombo->IsDropDownVisible());
}

TEST_F(SkinComboBoxTest, AnOrdinaryEditTakesTypingAndLeavesTheListClosed)
{
    CSkinEdit* pEdit = m_pCombo->Edit();
    pEdit->setFocus();
    QTest::keyClicks(pEdit, QStringLiteral("typed"));
    EXPECT_EQ(pEdit->text(), QStringLiteral("typed"));
    QTest::mouseClick(pEdit, Qt::LeftButton, {}, pEdit->rect().center());
    EXPECT_FALSE(m_pCombo->IsDropDownVisible());
}
