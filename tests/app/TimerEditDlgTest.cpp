#include <gtest/gtest.h>

#include <QCheckBox>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimeEdit>

#include <functional>

#include "app/TimerEditDlg.h"
#include "app/TimerLine.h"

namespace {

CRecordingTimer Parsed(const char* pszLine)
{
    QString strError;
    return TimerLine::Parse(QLatin1String(pszLine), CRecordingTimer(), strError).value_or(CRecordingTimer());
}

} // namespace

// What the editor hands back after a change in one of its fields. Its two
// choices (once or weekdays, length or end) once shared one group of radio
// buttons, so choosing weekdays switched the length choice off and the end
// field's time was taken instead of the length typed.
TEST(TimerEditDlg, ChoosingWeekdaysKeepsTheLengthChoice)
{
    struct CEditCase
    {
        const char* pszName;
        CRecordingTimer timer;
        std::function<void(CTimerEditDlg&)> edit;
        const char* pszExpected;
    } const cases[] = {
        { "a once-only timer made weekly, and shorter", Parsed("Show;2030-01-02 20:15;90"),
          [](CTimerEditDlg& editor) {
              editor.findChild<QCheckBox*>(CTimerEditDlg::WEEKDAY_BOX.arg(Qt::Wednesday))->setChecked(true);
              editor.findChild<QSpinBox*>(CTimerEditDlg::LENGTH_MINUTES)->setValue(30);
          },
          "Show;Wed 20:15;30" },
        { "an end after midnight", Parsed("Film;2030-01-02 23:30;90"),
          [](CTimerEditDlg& editor) {
              editor.findChild<QRadioButton*>(CTimerEditDlg::BY_END_OPTION)->setChecked(true);
              editor.findChild<QTimeEdit*>(CTimerEditDlg::END_EDIT)->setTime(QTime(0, 30));
          },
          "Film;2030-01-02 23:30;60" },
    };
    for (const CEditCase& testCase : cases) {
        SCOPED_TRACE(testCase.pszName);
        CRecordingTimer timer = testCase.timer;
        timer.strId = QStringLiteral("kept");
        CTimerEditDlg editor(timer, ConversionSettings(), 0);
        testCase.edit(editor);
        EXPECT_EQ(TimerLine::Text(editor.Timer()).toStdString(), testCase.pszExpected);
        EXPECT_EQ(editor.Timer().strId, QStringLiteral("kept"));
    }
}
