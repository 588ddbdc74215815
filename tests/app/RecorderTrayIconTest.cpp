#include <gtest/gtest.h>

#include <QAction>
#include <QSignalSpy>

#include "app/RecorderTrayIcon.h"

// The tray shows the recorder's state in its icon, tooltip and menu, and its
// menu asks for the commands that state allows.

namespace {

enum class EMark { None, Recording, Pause };

// The mark's colour where IconFor draws it in a 32-pixel icon: on the dot's
// centre and on the pause mark's left bar.
EMark MarkIn(const QIcon& icon)
{
    const QImage image = icon.pixmap(32, 32).toImage();
    const QColor dot = image.pixelColor(24, 24);
    const QColor bar = image.pixelColor(19, 24);
    if (dot.red() > 180 && dot.green() < 60 && dot.blue() < 60)
        return EMark::Recording;
    if (bar.red() < 80 && bar.green() < 80 && bar.blue() < 80)
        return EMark::Pause;
    return EMark::None;
}

struct CStateCase
{
    ERecorderState eState;
    QString strFile;
    double dElapsedSeconds;
    QString strToolTip;
    EMark eMark;
    bool bRecord;
    bool bPauseOrResume;
    QString strPauseEntry;
    bool bStop;
    // What the pause entry asks for.
    void (CRecorderTrayIcon::*pauseRequest)();
};

QAction* Entry(CRecorderTrayIcon& tray, int nIndex)
{
    return tray.Menu().actions().at(nIndex);
}

} // namespace

TEST(RecorderTrayIcon, EachStateShowsItsMarkToolTipAndCommands)
{
    const CStateCase arrCases[] = {
        { ERecorderState::Stopped,
          {},
          0,
          "SkinRecorder: stopped",
          EMark::None,
          true,
          false,
          "Pause",
          false,
          &CRecorderTrayIcon::PauseRequested },
        { ERecorderState::Previewing,
          {},
          3,
          "SkinRecorder: previewing",
          EMark::None,
          true,
          true,
          "Pause",
          true,
          &CRecorderTrayIcon::PauseRequested },
        { ERecorderState::Recording, "/videos/talk.mpg", 75.6, "SkinRecorder: recording\ntalk.mpg\n00:01:15",
          EMark::Recording, false, true, "Pause", true, &CRecorderTrayIcon::PauseRequested },
        { ERecorderState::Paused, "/videos/talk.mpg", 3600, "SkinRecorder: paused\ntalk.mpg\n01:00:00", EMark::Pause,
          false, true, "Resume", true, &CRecorderTrayIcon::ResumeRequested },
    };
    CRecorderTrayIcon tray;
    for (const CStateCase& test : arrCases) {
        SCOPED_TRACE(test.strToolTip.toStdString());
        tray.Show({ test.eState, test.strFile, test.dElapsedSeconds });
        EXPECT_EQ(tray.TrayIcon().toolTip(), test.strToolTip);
        EXPECT_EQ(MarkIn(tray.TrayIcon().icon()), test.eMark);
        EXPECT_EQ(Entry(tray, 0)->isEnabled(), test.bRecord);
        EXPECT_EQ(Entry(tray, 1)->isEnabled(), test.bPauseOrResume);
        EXPECT_EQ(Entry(tray, 1)->text(), test.strPauseEntry);
        EXPECT_EQ(Entry(tray, 2)->isEnabled(), test.bStop);
        QSignalSpy asked(&tray, test.pauseRequest);
        Entry(tray, 1)->trigger();
        // A disabled entry asks for nothing.
        EXPECT_EQ(asked.count(), test.bPauseOrResume ? 1 : 0);
    }
}
