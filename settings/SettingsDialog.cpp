#include "settings/SettingsDialog.h"

#include <algorithm>
#include <limits>

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {

const QString OK_BUTTON_ID = QStringLiteral("1");
const QString CANCEL_BUTTON_ID = QStringLiteral("2");
// An empty or short list still shows as a list a name fits in.
constexpr int MIN_LIST_CHARACTERS = 16;

} // namespace

CSettingsDialog::CSettingsDialog(const QString& strTitle, ConversionSettings& settings, QWidget* pParent)
    : QDialog(pParent)
    , m_settings(settings)
{
    setWindowTitle(strTitle);
    if (QFontDatabase::hasFamily(TEMPLATE_FONT_FAMILY))
        setFont(QFont(TEMPLATE_FONT_FAMILY, TEMPLATE_FONT_POINTS));

    auto* pLayout = new QVBoxLayout(this);
    m_pGroup = new QGroupBox(strTitle, this);
    pLayout->addWidget(m_pGroup);

    auto* pButtons = new QDialogButtonBox(this);
    auto* pOk = new QPushButton(tr("OK"), pButtons);
    pOk->setObjectName(OK_BUTTON_ID);
    pOk->setDefault(true);
    m_pOkButton = pOk;
    auto* pCancel = new QPushButton(tr("Cancel"), pButtons);
    pCancel->setObjectName(CANCEL_BUTTON_ID);
    pButtons->addButton(pOk, QDialogButtonBox::AcceptRole);
    pButtons->addButton(pCancel, QDialogButtonBox::RejectRole);
    connect(pButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(pButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    pLayout->addWidget(pButtons);
    // Nothing in these dialogs gains from stretching.
    pLayout->setSizeConstraint(QLayout::SetFixedSize);
}

int CSettingsDialog::ReadLeadingInteger(const QString& strText)
{
    qsizetype nPos = 0;
    while (nPos < strText.size() && strText[nPos].isSpace())
        ++nPos;
    bool bNegative = false;
    if (nPos < strText.size() && (strText[nPos] == u'+' || strText[nPos] == u'-')) {
        bNegative = strText[nPos] == u'-';
        ++nPos;
    }
    // Accumulated as a negative number, which reaches the lowest int exactly.
    constexpr long long LOWEST = std::numeric_limits<int>::min();
    long long nValue = 0;
    for (; nPos < strText.size() && strText[nPos] >= u'0' && strText[nPos] <= u'9'; ++nPos) {
        nValue = nValue * 10 - (strText[nPos].unicode() - u'0');
        if (nValue < LOWEST)
            nValue = LOWEST;
    }
    if (!bNegative)
        return static_cast<int>(std::min(-nValue, static_cast<long long>(std::numeric_limits<int>::max())));
    return static_cast<int>(nValue);
}

QComboBox* CSettingsDialog::MakeDropDownList(int nId, QWidget* pParent)
{
    auto* pList = new QComboBox(pParent);
    pList->setObjectName(QString::number(nId));
    pList->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    pList->setMinimumContentsLength(MIN_LIST_CHARACTERS);
    return pList;
}

QLineEdit* CSettingsDialog::MakeEdit(int nId, QWidget* pParent)
{
    auto* pEdit = new QLineEdit(pParent);
    pEdit->setObjectName(QString::number(nId));
    return pEdit;
}

CSettingsDialog::CRangedEdit CSettingsDialog::MakeRangedEdit(int nId, CEncorda::ERangedValue eValue,
                                                             int ConversionSettings::*pSetting)
{
    const CEncorda::CRange range = CEncorda::ValueRange(eValue);
    auto* pRow = new QWidget(Group());
    QLineEdit* pEdit = MakeEdit(nId, pRow);
    pEdit->setValidator(new QIntValidator(range.nMinimum, range.nMaximum, pEdit));
    auto* pRangeLabel = new QLabel(
        tr("%1 to %2 %3", "a field's range and unit").arg(range.nMinimum).arg(range.nMaximum).arg(range.strUnit), pRow);
    auto* pLayout = new QHBoxLayout(pRow);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->addWidget(pEdit);
    pLayout->addWidget(pRangeLabel);
    m_rangedEdits.append(pEdit);
    connect(pEdit, &QLineEdit::textChanged, this, [this, pEdit, pSetting](const QString& strText) {
        // A value on its way ("4" of "48000") is not stored.
        if (pEdit->hasAcceptableInput())
            m_settings.*pSetting = strText.toInt();
        UpdateOkButton();
    });
    return { pEdit, pRow };
}

void CSettingsDialog::UpdateOkButton()
{
    const bool bAllAcceptable = std::all_of(m_rangedEdits.cbegin(), m_rangedEdits.cend(), [](const QLineEdit* pEdit) {
        return !pEdit->isEnabled() || pEdit->hasAcceptableInput();
    });
    m_pOkButton->setEnabled(bAllAcceptable);
}

void CSettingsDialog::FillList(QComboBox* pList, const QStringList& arrItems)
{
    pList->clear();
    pList->addItems(arrItems);
    pList->setCurrentIndex(arrItems.isEmpty() ? -1 : 0);
}

void CSettingsDialog::SelectStored(QComboBox* pList, int nIndex, const QString& strName)
{
    const int nNamed = strName.isEmpty() ? -1 : pList->findText(strName, Qt::MatchExactly | Qt::MatchCaseSensitive);
    pList->setCurrentIndex(nNamed != -1 ? nNamed : nIndex);
}

void CSettingsDialog::StoreChoice(QComboBox* pList, int ConversionSettings::*pIndex, QString ConversionSettings::*pName)
{
    connect(pList, &QComboBox::activated, this, [this, pList, pIndex, pName](int nIndex) {
        m_settings.*pIndex = nIndex;
        m_settings.*pName = pList->itemText(nIndex);
    });
}

void CSettingsDialog::showEvent(QShowEvent* pEvent)
{
    // The window system's own show events (restoring from minimised) are
    // not openings.
    if (!pEvent->spontaneous())
        ShowStoredValues();
    QDialog::showEvent(pEvent);
}
