#include "skin/SkinFactory.h"

#include <QWidget>

#include "controls/KeyedImage.h"
#include "controls/SkinButton.h"
#include "controls/SkinCheck.h"
#include "controls/SkinOption.h"
#include "skin/IniFile.h"
#include "skin/SkinFields.h"
#include "skin/SkinLimits.h"
#include "skin/SkinPath.h"

using SkinFormat::CEntryReader;
using SkinFormat::CSectionFormat;
using SkinFormat::EField;

namespace {

const QString PLAY_BUTTON = QStringLiteral("BUTTON_PLAY");
const QString PAUSE_BUTTON = QStringLiteral("BUTTON_PAUSE");

} // namespace

CSkinFactory::CSkinFactory(QWidget& window, ISkinParent& skinParent, const CIniFile& ini, const QString& strFolder,
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

// Reads the fields BUTTONINFO shares with the state buttons; the entry keeps
// whatever follows.
void CSkinFactory::SetUpButton(CSkinButton& button, int nIndex, CEntryReader& entry) const
{
    const QString strName = entry.Take(EField::eName);
    const QString strImage = entry.Take(EField::eImage);
    const QRect rc = entry.TakeRect();
    const QString strTip = entry.Take(EField::eText);
    const QString strLatch = entry.Take(EField::eFlag);

    button.Create(rc);
    button.SetTransparentColor(m_crTransparent);
    button.LoadStrip(ImagePath(strImage), rc.left(), rc.top(), rc.left() + rc.width(), rc.top() + rc.height());
    button.SetIndex(nIndex);
    button.SetName(strName);
    button.SetTipText(strTip, true);
    button.SetLatched(SkinFields::IsFlagSet(strLatch));
}

QList<CSkinButton*> CSkinFactory::MakePushButtons(const CSectionFormat& format) const
{
    return MakeEach<CSkinButton>(format, [this](int nIndex, CEntryReader& entry) {
        auto* pButton = new CSkinButton(&m_window, m_skinParent);
        SetUpButton(*pButton, nIndex, entry);
        return pButton;
    });
}

QList<CSkinButton*> CSkinFactory::MakeButtons() const
{
    const QList<CSkinButton*> arrButtons = MakePushButtons(SkinFormat::BUTTONS);
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
    return MakePushButtons(SkinFormat::TASK_BUTTONS);
}

template <class TButton>
QList<TButton*> CSkinFactory::MakeStateButtons(const CSectionFormat& format) const
{
    return MakeEach<TButton>(format, [this](int nIndex, CEntryReader& entry) {
        auto* pButton = new TButton(&m_window, m_skinParent);
        SetUpButton(*pButton, nIndex, entry);
        pButton->SetChecked(SkinFields::IsFlagSet(entry.Take(EField::eFlag)));
        return pButton;
    });
}

QList<CSkinOption*> CSkinFactory::MakeOptions() const
{
    return MakeStateButtons<CSkinOption>(SkinFormat::OPTIONS);
}

QList<CSkinCheck*> CSkinFactory::MakeChecks() const
{
    return MakeStateButtons<CSkinCheck>(SkinFormat::CHECKS);
}

bool CSkinFactory::ReadIcon(QImage& imgIcon, QRect& rcIcon) const
{
    const QString strValue = SkinFormat::SingleValue(m_ini, SkinFormat::ICON);
    if (strValue.isEmpty())
        return false;
    CEntryReader entry(SkinFormat::ICON, strValue);
    const QString strImage = entry.Take(EField::eImage);
    const QRect rc = entry.TakeRect();
    if (!SkinLimits::ControlFits(rc))
        return false;
    rcIcon = rc;
    imgIcon = LoadSkinImage(ImagePath(strImage), m_window.devicePixelRatioF());
    return true;
}

bool CSkinFactory::ReadControlRect(QRect& rcControl) const
{
    const QString strValue = SkinFormat::SingleValue(m_ini, SkinFormat::CONTROL);
    if (strValue.isEmpty())
        return false;
    const QRect rc = CEntryReader(SkinFormat::CONTROL, strValue).TakeRect();
    if (!SkinLimits::WindowFits(rc.size()))
        return false;
    rcControl = rc;
    return true;
}

QRect CSkinFactory::ReadNotifierPageRect() const
{
    const QString strValue = SkinFormat::SingleValue(m_ini, SkinFormat::NOTIFIER_PAGE);
    const QRect rc = strValue.isEmpty() ? QRect() : CEntryReader(SkinFormat::NOTIFIER_PAGE, strValue).TakeRect();
    return SkinLimits::ControlFits(rc) ? rc : QRect();
}
