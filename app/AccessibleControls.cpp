#include "app/AccessibleControls.h"

#include <QCoreApplication>
#include <QHash>
#include <QWidget>

#include "app/ConverterDlg.h"
#include "auxiliary/HtmlCtrl.h"
#include "auxiliary/TaskNotifierDlg.h"
#include "controls/SkinButton.h"
#include "controls/SkinIdentity.h"

namespace {

const char* const CONTEXT = "AccessibleControls";
const char* const NOTIFIER_NAME = QT_TRANSLATE_NOOP("AccessibleControls", "SkinRecorder notice");
const char* const NOTIFIER_PAGE_NAME = QT_TRANSLATE_NOOP("AccessibleControls", "Notice page");
// Between the program's name and the recorder's state in the title.
const QString STATE_SEPARATOR = QStringLiteral(" – ");

// Translated when asked for, so the names follow the catalogue in use.
const QHash<QString, const char*>& ProgramNames()
{
    static const QHash<QString, const char*> names = {
        { CConverterDlg::CONVERT_BUTTON, QT_TRANSLATE_NOOP("AccessibleControls", "Record") },
        { CConverterDlg::PLAY_BUTTON, QT_TRANSLATE_NOOP("AccessibleControls", "Play") },
        { CConverterDlg::PAUSE_BUTTON, QT_TRANSLATE_NOOP("AccessibleControls", "Pause") },
        { CConverterDlg::STOP_BUTTON, QT_TRANSLATE_NOOP("AccessibleControls", "Stop") },
        { CConverterDlg::EXIT_BUTTON, QT_TRANSLATE_NOOP("AccessibleControls", "Quit") },
        { CConverterDlg::CLOSE_BUTTON, QT_TRANSLATE_NOOP("AccessibleControls", "Quit") },
        { QStringLiteral("BUTTON_MINIMIZE"), QT_TRANSLATE_NOOP("AccessibleControls", "Minimize") },
        { QStringLiteral("BUTTON_EDITVIDEO"), QT_TRANSLATE_NOOP("AccessibleControls", "Video device…") },
        { QStringLiteral("BUTTON_EDITAUDIO"), QT_TRANSLATE_NOOP("AccessibleControls", "Audio device…") },
        { QStringLiteral("BUTTON_EDITMODE"), QT_TRANSLATE_NOOP("AccessibleControls", "Audio sync mode…") },
        { QStringLiteral("BUTTON_EDIT"), QT_TRANSLATE_NOOP("AccessibleControls", "MPEG profile…") },
        { QStringLiteral("BUTTON_EDITAVI"), QT_TRANSLATE_NOOP("AccessibleControls", "AVI profile…") },
        { QStringLiteral("BUTTON_EDITFRAME"), QT_TRANSLATE_NOOP("AccessibleControls", "Frame picture…") },
        { QStringLiteral("BUTTON_UP"), QT_TRANSLATE_NOOP("AccessibleControls", "Up") },
        { QStringLiteral("BUTTON_DOWN"), QT_TRANSLATE_NOOP("AccessibleControls", "Down") },
        { QStringLiteral("CHECK_MUTE"), QT_TRANSLATE_NOOP("AccessibleControls", "Mute") },
        { QStringLiteral("OPTION_QUALITY_GOOD"), QT_TRANSLATE_NOOP("AccessibleControls", "Good quality") },
        { QStringLiteral("OPTION_QUALITY_BEST"), QT_TRANSLATE_NOOP("AccessibleControls", "Best quality") },
        { QStringLiteral("PROGRESS_LEVEL"), QT_TRANSLATE_NOOP("AccessibleControls", "Sound level") },
        { QStringLiteral("SLIDER_PROGRESS"), QT_TRANSLATE_NOOP("AccessibleControls", "Position") },
        { QStringLiteral("LIST_RECENT"), QT_TRANSLATE_NOOP("AccessibleControls", "Recordings") },
        { CConverterDlg::TITLE_EDIT, QT_TRANSLATE_NOOP("AccessibleControls", "Title") },
        { QStringLiteral("COMBO_EDIT"), QT_TRANSLATE_NOOP("AccessibleControls", "Output format") },
        { QStringLiteral("COMBO_BTN"), QT_TRANSLATE_NOOP("AccessibleControls", "Open the list") },
        { QStringLiteral("COMBO_LIST"), QT_TRANSLATE_NOOP("AccessibleControls", "Output formats") },
        { CTaskNotifierDlg::TASK_EXIT_NAME, QT_TRANSLATE_NOOP("AccessibleControls", "Close the notice") },
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
    const char* const pszName = ProgramNames().value(strSkinName);
    return pszName == nullptr ? QString() : QCoreApplication::translate(CONTEXT, pszName);
}

void NameSkinControls(CConverterDlg& dialog)
{
    const QList<QWidget*> arrChildren = dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* pChild : arrChildren)
        NameControl(*pChild);
    CTaskNotifierDlg* pNotifier = dialog.TaskNotifier();
    if (pNotifier == nullptr)
        return;
    const QString strNotifierName = QCoreApplication::translate(CONTEXT, NOTIFIER_NAME);
    pNotifier->setWindowTitle(strNotifierName);
    pNotifier->setAccessibleName(strNotifierName);
    pNotifier->HtmlPane()->setAccessibleName(QCoreApplication::translate(CONTEXT, NOTIFIER_PAGE_NAME));
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
        return tr("Paused");
    return status.bRecordingToFile ? tr("Recording") : tr("Previewing");
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
