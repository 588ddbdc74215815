#include "skin/SkinFactory.h"

#include <QWidget>

#include "controls/SkinButton.h"
#include "controls/SkinCheck.h"
#include "controls/SkinOption.h"
#include "skin/IniFile.h"
#include "skin/SkinFields.h"
#include "skin/SkinPath.h"

namespace {

const QString PLAY_BUTTON = QStringLiteral("BUTTON_PLAY");
const QString PAUSE_BUTTON = QStringLiteral("BUTTON_PAUSE");

} // namespace

CSkinFactory::CSkinFactory(QWidget& window,
                           ISkinParent& skinParent,
                           const CIniFile& ini,
                           const QString& strFolder,
                           COLORREF crTransparent)
    : m_window(window)
    , m_skinParent(skinParent)
    , m_ini(ini)
    , m_strFolder(strFolder)
    , m_crTransparent(crTransparent)
{
}

QString CSkinFactory::ImagePath(const QString& strImage) const
{
    return ResolveSkinFile(m_strFolder, strImage);
}

// Fields: name, image, left, top, right, bottom, tooltip, latch flag. The
// value keeps whatever follows.
void CSkinFactory::SetUpButton(CSkinButton& button, int nIndex, QString& strValue) const
{
    const QString strName = SkinFields::NextField(strValue);
    const QString strImage = SkinFields::NextField(strValue);
    const QRect rc = SkinFields::ParseRect(strValue);
    const QString strTip = SkinFields::NextField(strValue);
    const QString strLatch = SkinFields::NextField(strValue);

    button.Create(rc);
    button.SetTransparentColor(m_crTransparent);
    button.LoadStrip(ImagePath(strImage), rc.left(), rc.top(), rc.left() + rc.width(), rc.top() + rc.height());
    button.SetIndex(nIndex);
    button.SetName(strName);
    button.SetTipText(strTip, true);
    button.SetLatched(SkinFields::IsFlagSet(strLatch));
}

QList<CSkinButton*> CSkinFactory::MakePushButtons(const QString& strSection) const
{
    return MakeEach<CSkinButton>(strSection, [this](int nIndex, QString& strValue) {
        auto* pButton = new CSkinButton(&m_window, m_skinParent);
        SetUpButton(*pButton, nIndex, strValue);
        return pButton;
    });
}

QList<CSkinButton*> CSkinFactory::MakeButtons() const
{
    const QList<CSkinButton*> arrButtons = MakePushButtons(QStringLiteral("BUTTONINFO"));
    for (CSkinButton* pButton : arrButtons) {
        if (pButton->GetName() == PAUSE_BUTTON)
            pButton->hide();
        else if (pButton->GetName() == PLAY_BUTTON)
            pButton->show();
    }
    return arrButtons;
}

QList<CSkinButton*> CSkinFactory::MakeTaskButtons() const
{
    return MakePushButtons(QStringLiteral("TASKBARBUTTON"));
}

// Fields: as a button's, then the checked flag.
template <class TButton>
QList<TButton*> CSkinFactory::MakeStateButtons(const QString& strSection) const
{
    return MakeEach<TButton>(strSection, [this](int nIndex, QString& strValue) {
        auto* pButton = new TButton(&m_window, m_skinParent);
        SetUpButton(*pButton, nIndex, strValue);
        pButton->SetChecked(SkinFields::IsFlagSet(SkinFields::NextField(strValue)));
        return pButton;
    });
}

QList<CSkinOption*> CSkinFactory::MakeOptions() const
{
    return MakeStateButtons<CSkinOption>(QStringLiteral("OPTIONINFO"));
}

QList<CSkinCheck*> CSkinFactory::MakeChecks() const
{
    return MakeStateButtons<CSkinCheck>(QStringLiteral("CHECKINFO"));
}

bool CSkinFactory::ReadIcon(QImage& imgIcon, QRect& rcIcon) const
{
    QString strValue = m_ini.GetString(QStringLiteral("ICON"), QStringLiteral("ICON"), QString());
    if (strValue.isEmpty())
        return false;
    const QString strImage = SkinFields::NextField(strValue);
    rcIcon = SkinFields::ParseRect(strValue);
    imgIcon = QImage(ImagePath(strImage));
    return true;
}

bool CSkinFactory::ReadControlRect(QRect& rcControl) const
{
    QString strValue = m_ini.GetString(QStringLiteral("CONTROL"), QStringLiteral("CONTROL"), QString());
    if (strValue.isEmpty())
        return false;
    rcControl = SkinFields::ParseRect(strValue);
    return true;
}

QRect CSkinFactory::ReadNotifierPageRect() const
{
    QString strValue = m_ini.GetString(QStringLiteral("TASKNOTIFIER"), QStringLiteral("PAGE"), QString());
    return strValue.isEmpty() ? QRect() : SkinFields::ParseRect(strValue);
}
