#include <gtest/gtest.h>

#include <QTest>

#include "controls/Label.h"
#include "tests/common/TestSkinParent.h"

namespace {

const QRect LABEL_RECT(30, 20, 160, 30);

class LabelTest : public testing::Test
{
protected:
    LabelTest()
        : m_parent(MakeGradientBackground(300, 100))
        , m_label(&m_parent, m_parent)
    {
        m_label.Create(LABEL_RECT);
    }

    QImage Shown() { return m_parent.grab(LABEL_RECT).toImage().convertToFormat(QImage::Format_RGB32); }
    QImage BackgroundUnder() const
    {
        return m_parent.BackgroundCopy().copy(LABEL_RECT).convertToFormat(QImage::Format_RGB32);
    }

    CTestSkinParent m_parent;
    CLabel m_label;
};

} // namespace

TEST_F(LabelTest, NewTextLeavesNoTraceOfTheOld)
{
    m_label.SetLabelText("WWWWWWWWWW");
    m_label.SetPointSize(14);
    m_label.SetTextRgb(MakeColorRef(255, 255, 0));
    m_parent.show();
    EXPECT_NE(Shown(), BackgroundUnder());

    m_label.SetLabelText(QString());
    m_label.update();
    EXPECT_EQ(Shown(), BackgroundUnder());
    // The window repaints beneath a label that is not opaque anyway; what
    // wipes the old text is the label's own copy of the skin background.
    EXPECT_EQ(m_label.grab().toImage().convertToFormat(QImage::Format_RGB32), BackgroundUnder());
}

TEST_F(LabelTest, DrawsInItsColourOrThePlatformsForAnEmptyField)
{
    m_label.SetLabelText(QString(20, QChar(0x2588)));
    m_label.SetPointSize(20);
    m_parent.show();
    const auto containsColour = [this](const QColor& colour) {
        const QImage shown = Shown();
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                if (shown.pixelColor(x, y) == colour)
                    return true;
        return false;
    };
    EXPECT_TRUE(containsColour(Qt::white));

    m_label.SetTextRgb(CLR_NONE_GIVEN).update();
    EXPECT_EQ(m_label.TextColor(), m_label.palette().color(QPalette::WindowText));
    EXPECT_TRUE(containsColour(m_label.palette().color(QPalette::WindowText)));
}

TEST_F(LabelTest, FontFollowsTheWindowUntilTheSkinSetsIt)
{
    EXPECT_EQ(m_label.GetLabelFont(), m_label.font());
    m_label.SetFaceName(QString(40, QChar('A')));
    m_label.SetPointSize(11);
    EXPECT_EQ(m_label.GetLabelFont().family(), QString(CLabel::MAX_FACE_NAME_CHARS, QChar('A')));
    EXPECT_EQ(m_label.GetLabelFont().pointSize(), 11);
}
