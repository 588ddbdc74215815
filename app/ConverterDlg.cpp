#include "app/ConverterDlg.h"

#include <QFileInfo>

#include "controls/SkinButton.h"
#include "skin/Prompt.h"
#include "skin/SkinPackage.h"

namespace {

const QString EXIT_BUTTON = QStringLiteral("BUTTON_EXIT");

} // namespace

CConverterDlg::CConverterDlg(IPrompt& prompt, QWidget* pParent)
    : CSkinDialog(prompt, pParent)
    , m_timerExitRefresh(this)
{
    setWindowTitle(QStringLiteral("SkinRecorder"));
    LoadStartupSkin();
    m_pRecorderArea = new QWidget(this);
    PlaceRecorderArea();
    RefreshExitButton();
    connect(&m_timerExitRefresh, &QTimer::timeout, this, [this] {
        // A dropped-down list would be painted over.
        if (!IsDropDownOpen())
            RefreshExitButton();
    });
    m_timerExitRefresh.start(EXIT_REFRESH_MS);
}

void CConverterDlg::LoadStartupSkin()
{
    const QString strPackage = SkinPackage::FindSkinPackage(DEFAULT_SKIN);
    // The skin commands take their packages from where the default skin lies.
    if (QFileInfo::exists(strPackage))
        SetPackageFolder(QFileInfo(strPackage).absolutePath());
    MakeSkinCurrent(strPackage);
}

void CConverterDlg::PlaceRecorderArea()
{
    m_pRecorderArea->setGeometry(m_rcControl);
    m_pRecorderArea->show();
    m_pRecorderArea->raise();
}

void CConverterDlg::RefreshExitButton()
{
    if (CSkinButton* pExit = FindButton(EXIT_BUTTON))
        pExit->update();
}

void CConverterDlg::OnSkinChanged()
{
    PlaceRecorderArea();
}

void CConverterDlg::OnSkinCommand(const QString& strName)
{
    if (strName == EXIT_BUTTON || strName == QLatin1String("BUTTON_CLOSE"))
        accept();
    else if (strName == QLatin1String("BUTTON_UP"))
        Prompt().ShowMessage(QStringLiteral("Up Button Pressed"), IPrompt::EIcon::Information);
    else if (strName == QLatin1String("BUTTON_DOWN"))
        Prompt().ShowMessage(QStringLiteral("Down Button Pressed"), IPrompt::EIcon::Information);
    else if (strName == QLatin1String("BUTTON_MINIMIZE"))
        showMinimized();
}
