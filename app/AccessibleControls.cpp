#include "app/AccessibleControls.h"

#include <QHash>
#include <QWidget>

#include "app/ConverterDlg.h"
#include "auxiliary/HtmlCtrl.h"
#include "auxiliary/TaskNotifierDlg.h"
#include "controls/SkinButton.h"
#include "controls/SkinIdentity.h"

namespace {

const QString NOTIFIER_NAME = QStringLiteral("SkinRecorder notice");
const QString NOTIFIER_PAGE_NAME = QStringLiteral("Notice page");
// Between the program's name and the recorder's state in the title.
const QString STATE_SEPARATOR = QStringLiteral(" – ");

const QHash<QString, QString>& ProgramNames()
{
    static const QHash<QString, QString> names = {
        { CConverterDlg::CONVERT_BUTTON, QStringLiteral("Record") },
        { CConverterDlg::PLAY_BUTTON, QStringLiteral("Play") },
        { CConverterDlg::PAUSE_BUTTON, QStringLiteral("Pause") },
        { CConverterDlg::STOP_BUTTON, QStringLiteral("Stop") },
        { CConverterDlg::EXIT_BUTTON, QStringLiteral("Quit") },
        { CConverterDlg::CLOSE_BUTTON, QStringLiteral("Quit") },
        { QStringLiteral("BUTTON_MINIMIZE"), QStringLiteral("Minimize") },
        { QStringLiteral("BUTTON_EDITVIDEO"), QStringLiteral("Video device…") },
        { QStringLiteral("BUTTON_EDITAUDIO"), QStringLiteral("Audio device…") },
        { QStringLiteral("BUTTON_EDITMODE"), QStringLiteral("Audio sync mode…") },
        { QStringLiteral("BUTTON_EDIT"), QStringLiteral("MPEG profile…") },
        { QStringLiteral("BUTTON_EDITAVI"), QStringLiteral("AVI profile…") },
        { QStringLiteral("BUTTON_EDITFRAME"), QStringLiteral("Frame picture…") },
        { QStringLiteral("BUTTON_UP"), QStringLiteral("Up") },
        { QStringLiteral("BUTTON_DOWN"), QStringLiteral("Down") },
        { QStringLiteral("CHECK_MUTE"), QStringLiteral("Mute") },
        { QStringLiteral("OPTION_QUALITY_GOOD"), QStringLiteral("Good quality") },
        { QStringLiteral("OPTION_QUALITY_BEST"), QStringLiteral("Best quality") },
        { QStringLiteral("PROGRESS_LEVEL"), QStringLiteral("Sound level") },
        { QStringLiteral("SLIDER_PROGRESS"), QStringLiteral("Position") },
        { QStringLiteral("LIST_RECENT"), QStringLiteral("Recordings") },
        { CConverterDlg::TITLE_EDIT, QStringLiteral("Title") },
        { QStringLiteral("COMBO_EDIT"), QStringLiteral("Output format") },
        { QStringLiteral("COMBO_BTN"), QStringLiteral("Open the list") },
        { QStringLiteral("COMBO_LIST"), QStringLiteral("Output formats") },
        { CTaskNotifierDlg::TASK_EXIT_NAME, QStringLiteral("Close the notice") },
    };
    return names;
}

void NameControl(QWidget& widget)
{
    const auto* pControl = dynamic_cast<const CSkinIdentity*>(&widget);
    if (pControl == nullptr)
        return;
    const QString strProgramName = ProgramNameOf(pControl->GetName());
    const QString strSkinTip = widget.toolTip();
    const QString strName = strSkinTip.isEmpty() ? strProgramName : strSkinTip;
    if (!strName.isEmpty())
        widget.setAccessibleName(strName);
}

} // namespace

QString ProgramNameOf(const QString& strSkinName)
{
    return ProgramNames().value(strSkinName);
}

void NameSkinControls(CConverterDlg& dialog)
{
    const QList<QWidget*> arrChildren = dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* pChild : arrChildren)
        NameControl(*pChild);
    CTaskNotifierDlg* pNotifier = dialog.TaskNotifier();
    if (pNotifier == nullptr)
        return;
    pNotifier->setWindowTitle(NOTIFIER_NAME);
    pNotifier->setAccessibleName(NOTIFIER_NAME);
    pNotifier->HtmlPane()->setAccessibleName(NOTIFIER_PAGE_NAME);
    for (CSkinButton* pButton : pNotifier->TaskButtons())
        NameControl(*pButton);
}

CRecordingAnnouncer::CRecordingAnnouncer(QWidget& window, const CEncorda& encoder)
    : QObject(&window)
    , m_window(window)
    , m_encoder(encoder)
    , m_strBaseTitle(window.windowTitle())
{
    connect(&encoder, &CEncorda::StatusChanged, this, &CRecordingAnnouncer::Follow);
    connect(&encoder, &CEncorda::RecordingFinished, this, &CRecordingAnnouncer::Follow);
}

QString CRecordingAnnouncer::StateText(const CEncorda::CStatus& status)
{
    if (!status.bRunning)
        return QString();
    if (status.bPaused)
        return QStringLiteral("Paused");
    return status.bRecordingToFile ? QStringLiteral("Recording") : QStringLiteral("Previewing");
}

void CRecordingAnnouncer::Follow()
{
    const QString strState = StateText(m_encoder.GetStatus());
    if (strState == m_strState)
        return;
    m_strState = strState;
    // Setting the title tells screen readers of the name change.
    m_window.setWindowTitle(strState.isEmpty() ? m_strBaseTitle : m_strBaseTitle + STATE_SEPARATOR + strState);
}
