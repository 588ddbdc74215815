#include "app/ConverterDlg.h"

#include <algorithm>

#include <QKeySequence>
#include <QShortcut>

#include "controls/SkinButton.h"
#include "skin/Prompt.h"

// The keyboard's way to the transport and to quitting: the skinned buttons
// take no keyboard focus, so without these a recording needs the mouse.

namespace {

const QKeySequence RECORD_KEYS(Qt::CTRL | Qt::Key_R);
const QKeySequence PLAY_PAUSE_KEYS(Qt::Key_Space);
const QKeySequence STOP_KEYS(Qt::CTRL | Qt::Key_Period);
const QKeySequence QUIT_KEYS(Qt::CTRL | Qt::Key_Q);

struct CKeyTip
{
    QString strButton;
    // For a skin whose button has no tooltip of its own; translated when shown.
    const char* pszDescription;
    QKeySequence keys;
};

QList<CKeyTip> KeyTips()
{
    return {
        { CConverterDlg::CONVERT_BUTTON, QT_TRANSLATE_NOOP("CConverterDlg", "Record to file"), RECORD_KEYS },
        { CConverterDlg::PLAY_BUTTON, QT_TRANSLATE_NOOP("CConverterDlg", "Play"), PLAY_PAUSE_KEYS },
        { CConverterDlg::PAUSE_BUTTON, QT_TRANSLATE_NOOP("CConverterDlg", "Pause"), PLAY_PAUSE_KEYS },
        { CConverterDlg::STOP_BUTTON, QT_TRANSLATE_NOOP("CConverterDlg", "Stop"), STOP_KEYS },
        { CConverterDlg::EXIT_BUTTON, QT_TRANSLATE_NOOP("CConverterDlg", "Quit"), QUIT_KEYS },
    };
}

// The buttons a window cannot do without (any one of the names), and what
// to call them to a user.
struct CStandIn
{
    QStringList arrButtons;
    const char* pszLabel;
    QKeySequence keys;
};

QList<CStandIn> StandIns()
{
    return {
        { { CConverterDlg::CONVERT_BUTTON }, QT_TRANSLATE_NOOP("CConverterDlg", "Convert"), RECORD_KEYS },
        { { CConverterDlg::STOP_BUTTON }, QT_TRANSLATE_NOOP("CConverterDlg", "Stop"), STOP_KEYS },
        { { CConverterDlg::EXIT_BUTTON, CConverterDlg::CLOSE_BUTTON },
          QT_TRANSLATE_NOOP("CConverterDlg", "Exit"),
          QUIT_KEYS },
    };
}

} // namespace

void CConverterDlg::ReportMissingButtons()
{
    QStringList arrLines;
    for (const CStandIn& standIn : StandIns()) {
        const bool bHasOne = std::any_of(standIn.arrButtons.begin(), standIn.arrButtons.end(),
                                         [this](const QString& strButton) { return FindButton(strButton) != nullptr; });
        if (!bHasOne)
            arrLines.append(tr("This skin has no %1 button; %2 does its work.")
                                .arg(tr(standIn.pszLabel), standIn.keys.toString(QKeySequence::NativeText)));
    }
    if (!arrLines.isEmpty())
        Prompt().ShowMessage(arrLines.join(u'\n'), IPrompt::EIcon::Information);
}

void CConverterDlg::MakeKeyCommands()
{
    const auto bind = [this](const QKeySequence& keys, auto command) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, command);
    };
    bind(RECORD_KEYS, [this] { OnSkinCommand(CONVERT_BUTTON); });
    bind(PLAY_PAUSE_KEYS, [this] { OnSkinCommand(m_bPauseOffered ? PAUSE_BUTTON : PLAY_BUTTON); });
    bind(STOP_KEYS, [this] { OnSkinCommand(STOP_BUTTON); });
    bind(QUIT_KEYS, [this] { OnSkinCommand(EXIT_BUTTON); });
}

void CConverterDlg::ShowKeysInTooltips()
{
    for (const CKeyTip& tip : KeyTips()) {
        CSkinButton* pButton = FindButton(tip.strButton);
        if (pButton == nullptr)
            continue;
        const QString strSkinTip = pButton->toolTip();
        pButton->SetTipText(QStringLiteral("%1 (%2)").arg(strSkinTip.isEmpty() ? tr(tip.pszDescription) : strSkinTip,
                                                          tip.keys.toString(QKeySequence::NativeText)),
                            true);
    }
}
