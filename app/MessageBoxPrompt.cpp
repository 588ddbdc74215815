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

void CMessageBoxPrompt::ShowMessage(const QString& strText, EIcon eIcon, const QString& strDetail)
{
    QMessageBox box(BoxIcon(eIcon), QGuiApplication::applicationDisplayName(), strText, QMessageBox::Ok, m_pParent);
    if (!strDetail.isEmpty())
        box.setDetailedText(strDetail);
    box.exec();
}

void CMessageBoxPrompt::ShowFailure(const QString& strHeadline, const QString& strCause, const QString& strDetail)
{
    QMessageBox box(QMessageBox::Warning, QGuiApplication::applicationDisplayName(), strHeadline, QMessageBox::Ok,
                    m_pParent);
    box.setInformativeText(strCause);
    if (!strDetail.isEmpty())
        box.setDetailedText(strDetail);
    box.exec();
}

IPrompt::EAnswer CMessageBoxPrompt::AskYesNo(const QString& strText, EIcon eIcon)
{
    QMessageBox box(BoxIcon(eIcon), QGuiApplication::applicationDisplayName(), strText,
                    QMessageBox::Yes | QMessageBox::No, m_pParent);
    return box.exec() == QMessageBox::Yes ? EAnswer::Yes : EAnswer::No;
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
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    return dialog.selectedFiles().value(0);
}
