#include "app/MessageBoxPrompt.h"

#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>

namespace {

QMessageBox::Icon BoxIcon(IPrompt::EIcon eIcon)
{
    switch (eIcon) {
    case IPrompt::EIcon::Warning:
        return QMessageBox::Warning;
    case IPrompt::EIcon::Stop:
        return QMessageBox::Critical;
    case IPrompt::EIcon::Information:
        break;
    }
    return QMessageBox::Information;
}

} // namespace

void CMessageBoxPrompt::StopAsking()
{
    m_bStopped = true;
    if (m_pOpen != nullptr)
        m_pOpen->reject();
}

int CMessageBoxPrompt::Exec(QDialog& box)
{
    if (m_bStopped)
        return QDialog::Rejected;
    m_pOpen = &box;
    const int nResult = box.exec();
    m_pOpen = nullptr;
    return nResult;
}

void CMessageBoxPrompt::ShowMessage(const QString& strText, EIcon eIcon, const QString& strDetail)
{
    QMessageBox box(BoxIcon(eIcon), QGuiApplication::applicationDisplayName(), strText, QMessageBox::Ok, m_pParent);
    if (!strDetail.isEmpty())
        box.setDetailedText(strDetail);
    Exec(box);
}

void CMessageBoxPrompt::ShowFailure(const QString& strHeadline, const QString& strCause, const QString& strDetail)
{
    QMessageBox box(QMessageBox::Warning, QGuiApplication::applicationDisplayName(), strHeadline, QMessageBox::Ok,
                    m_pParent);
    box.setInformativeText(strCause);
    if (!strDetail.isEmpty())
        box.setDetailedText(strDetail);
    Exec(box);
}

IPrompt::EAnswer CMessageBoxPrompt::AskYesNo(const QString& strText, EIcon eIcon)
{
    QMessageBox box(BoxIcon(eIcon), QGuiApplication::applicationDisplayName(), strText,
                    QMessageBox::Yes | QMessageBox::No, m_pParent);
    return Exec(box) == QMessageBox::Yes ? EAnswer::Yes : EAnswer::No;
}

QString CMessageBoxPrompt::AskSaveFile(const QString& strTitle, const QStringList& arrFilters,
                                       const QString& strDefaultSuffix, const QString& strProposedPath)
{
    // QFileDialog asks before an existing file is replaced.
    QFileDialog dialog(m_pParent, strTitle);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(arrFilters);
    dialog.setDefaultSuffix(strDefaultSuffix);
    dialog.selectFile(strProposedPath);
    if (Exec(dialog) != QDialog::Accepted)
        return QString();
    return dialog.selectedFiles().value(0);
}
