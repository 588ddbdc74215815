#include "app/SkinNotifier.h"

#include <QLoggingCategory>

#include "auxiliary/TaskNotifierDlg.h"
#include "skin/SkinFactory.h"
#include "skin/SkinPath.h"

// What the popup takes from each skin: info, so a normal run shows none.
Q_LOGGING_CATEGORY(lcNotifier, "skinrecorder.notifier", QtWarningMsg)

namespace {

// The notifier's picture loses its magenta pixels; it takes these times to
// slide in, to stay after a repeated show, and to slide out.
constexpr int NOTIFIER_KEY_RED = 255;
constexpr int NOTIFIER_KEY_GREEN = 0;
constexpr int NOTIFIER_KEY_BLUE = 255;
constexpr int NOTIFIER_SHOW_MS = 300;
constexpr int NOTIFIER_STAY_MS = 1000;
constexpr int NOTIFIER_HIDE_MS = 300;

} // namespace

CSkinNotifier::CSkinNotifier(QWidget& owner)
    : m_owner(owner)
{
}

void CSkinNotifier::Release()
{
    if (m_pPopup == nullptr)
        return;
    m_pPopup->Hide();
    m_pPopup->DeleteTaskButton();
}

void CSkinNotifier::Load(const CIniFile& ini, const QString& strFolder, COLORREF crTransparent)
{
    if (m_pPopup == nullptr) {
        m_pPopup = new CTaskNotifierDlg(&m_owner);
        m_pPopup->Hide();
    }
    const QString strPicture = ResolveSkinFile(strFolder, CTaskNotifierDlg::PICTURE_NAME);
    const bool bPicture = m_pPopup->SetSkin(strPicture, NOTIFIER_KEY_RED, NOTIFIER_KEY_GREEN, NOTIFIER_KEY_BLUE);
    qCInfo(lcNotifier).noquote() << (bPicture ? "slides in with" : "keeps its picture: none usable at")
                                 << (strPicture.isEmpty() ? CTaskNotifierDlg::PICTURE_NAME : strPicture);
    m_pPopup->Show(NOTIFIER_SHOW_MS, NOTIFIER_STAY_MS, NOTIFIER_HIDE_MS);
    const CSkinFactory factory(*m_pPopup, *m_pPopup, ini, strFolder, crTransparent);
    m_pPopup->AddTaskButtons(factory.MakeTaskButtons());
    m_pPopup->SetPageRect(factory.ReadNotifierPageRect());
    qCDebug(lcNotifier) << m_pPopup->TaskButtons().size() << "task buttons";
}

void CSkinNotifier::OnTaskButton(const QString& strName)
{
    if (m_pPopup != nullptr)
        m_pPopup->OnTaskButton(strName);
}
