#pragma once

#include <QObject>
#include <QString>

#include "recorder/Encorda.h"

class CConverterDlg;
class QWidget;

// What a screen reader calls each control of the window: the skin's tooltip
// where the skin gives one, else the program's name for the command
// ("Record", "Video device…"). Also names the notifier popup and its page.
// Runs after every skin load, before the keys are added to the tooltips.
void NameSkinControls(CConverterDlg& dialog);

// The program's name for the control of that skin name; empty for a name
// the program gives no meaning.
QString ProgramNameOf(const QString& strSkinName);

// Tells the user when the recorder starts or stops recording, previews or
// pauses: the window's title says so ("SkinRecorder – Recording"), which
// screen readers announce for the active window and the taskbar shows.
class CRecordingAnnouncer : public QObject
{
    Q_OBJECT

public:
    CRecordingAnnouncer(QWidget& window, const CEncorda& encoder);

    // "Recording", "Paused", "Previewing", or empty when stopped.
    static QString StateText(const CEncorda::CStatus& status);

private:
    void Follow();

    QWidget& m_window;
    const CEncorda& m_encoder;
    QString m_strBaseTitle;
    QString m_strState;
};
