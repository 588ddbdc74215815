#include "recorder/CompressorPage.h"

#include <algorithm>

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QStringList>
#include <QVBoxLayout>

#include "engine/Recorder.h"

namespace {

// Encoders have dozens of options; the page scrolls beyond this height.
constexpr int PAGE_HEIGHT = 420;
// A list of flags shows this many and scrolls beyond.
constexpr int FLAG_ROWS_SHOWN = 6;
// Labels wrap at about this many characters, so that a long help text
// makes its row taller rather than the page wider.
constexpr int LABEL_WIDTH_CHARS = 40;
// Item data: the value a drop-down entry stands for, the bits of a flag.
constexpr int VALUE_ROLE = Qt::UserRole;

QString FirstSentence(const QString& strHelp)
{
    const qsizetype nEnd = strHelp.indexOf(QLatin1String(". "));
    return nEnd < 0 ? strHelp : strHelp.left(nEnd + 1);
}

// FFmpeg writes its help for a command line's option list; the first
// sentence, capitalised and without its full stop, reads as a label.
QString LabelText(const CCompressorOption& option)
{
    QString strLabel = FirstSentence(QString::fromStdString(option.strHelp).trimmed());
    if (strLabel.endsWith(u'.'))
        strLabel.chop(1);
    if (strLabel.isEmpty())
        return QString::fromStdString(option.strName);
    strLabel[0] = strLabel[0].toUpper();
    return strLabel;
}

// The option's name, which FFmpeg's documentation uses, and the whole help
// where the label shows only its first sentence.
QString ToolTipText(const CCompressorOption& option)
{
    const QString strName = QString::fromStdString(option.strName);
    const QString strHelp = QString::fromStdString(option.strHelp).trimmed();
    return FirstSentence(strHelp) == strHelp ? strName : strName + u'\n' + strHelp;
}

std::int64_t DefaultNumber(const CCompressorOption& option)
{
    return QString::fromStdString(option.strDefault).toLongLong();
}

QString DefaultEntryText(const CCompressorOption& option)
{
    const std::int64_t nDefault = DefaultNumber(option);
    for (const CNamedValue& named : option.namedValues) {
        if (named.nValue == nDefault)
            return CCompressorPage::tr("default (%1)").arg(QString::fromStdString(named.strName));
    }
    return CCompressorPage::tr("default (%1)").arg(QString::fromStdString(option.strDefault));
}

QComboBox* MakeChoice(const CCompressorOption& option, const QString& strValue)
{
    auto* pCombo = new QComboBox;
    // Options that also take numbers besides their names (a thread count
    // besides "auto") may be typed into.
    pCombo->setEditable(!option.bOnlyNamedValues);
    // A typed value is read as typed, never added as an entry of no value.
    pCombo->setInsertPolicy(QComboBox::NoInsert);
    pCombo->addItem(DefaultEntryText(option), QString());
    for (const CNamedValue& named : option.namedValues) {
        const QString strName = QString::fromStdString(named.strName);
        pCombo->addItem(strName, strName);
        pCombo->setItemData(pCombo->count() - 1, QString::fromStdString(named.strHelp), Qt::ToolTipRole);
    }
    int nCurrent = pCombo->findData(strValue);
    if (nCurrent < 0) {
        pCombo->addItem(strValue, strValue);
        nCurrent = pCombo->count() - 1;
    }
    pCombo->setCurrentIndex(nCurrent);
    return pCombo;
}

// FFmpeg's flag syntax: "+name" sets a flag, "-name" clears it, a bare name
// or number replaces the default.
std::int64_t ParseFlags(const QString& strText, std::int64_t nDefault, const std::vector<CNamedValue>& namedValues)
{
    static const QRegularExpression s_token(QStringLiteral("([+-]?)([^+-]+)"));
    std::int64_t nFlags = nDefault;
    for (const QRegularExpressionMatch& token : s_token.globalMatch(strText)) {
        const QString strName = token.captured(2).trimmed();
        bool bNumber = false;
        std::int64_t nBits = strName.toLongLong(&bNumber);
        for (const CNamedValue& named : namedValues) {
            if (QString::fromStdString(named.strName) == strName) {
                nBits = named.nValue;
                bNumber = true;
            }
        }
        if (!bNumber)
            continue;
        const QString strSign = token.captured(1);
        nFlags = strSign == u'+' ? nFlags | nBits : strSign == u'-' ? nFlags & ~nBits : nBits;
    }
    return nFlags;
}

void CheckFlags(QListWidget* pList, std::int64_t nFlags)
{
    for (int nRow = 0; nRow < pList->count(); ++nRow) {
        QListWidgetItem* pItem = pList->item(nRow);
        const std::int64_t nBits = pItem->data(VALUE_ROLE).toLongLong();
        pItem->setCheckState((nFlags & nBits) == nBits ? Qt::Checked : Qt::Unchecked);
    }
}

QListWidget* MakeFlagList(const CCompressorOption& option, const QString& strValue)
{
    auto* pList = new QListWidget;
    for (const CNamedValue& named : option.namedValues) {
        auto* pItem = new QListWidgetItem(QString::fromStdString(named.strName), pList);
        pItem->setData(VALUE_ROLE, static_cast<qlonglong>(named.nValue));
        pItem->setToolTip(QString::fromStdString(named.strHelp));
        pItem->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    }
    const std::int64_t nDefault = DefaultNumber(option);
    CheckFlags(pList, strValue.isEmpty() ? nDefault : ParseFlags(strValue, nDefault, option.namedValues));
    pList->setFixedHeight(pList->sizeHintForRow(0) * std::min(pList->count(), FLAG_ROWS_SHOWN)
                          + 2 * pList->frameWidth());
    return pList;
}

// The checked flags as FFmpeg reads them: empty when they are the default,
// so the option keeps following the encoder's own.
QString FlagsValue(const QListWidget* pList, std::int64_t nDefault)
{
    std::int64_t nFlags = 0;
    QStringList arrNames;
    for (int nRow = 0; nRow < pList->count(); ++nRow) {
        const QListWidgetItem* pItem = pList->item(nRow);
        if (pItem->checkState() != Qt::Checked)
            continue;
        nFlags |= pItem->data(VALUE_ROLE).toLongLong();
        arrNames << pItem->text();
    }
    if (nFlags == nDefault)
        return QString();
    return arrNames.isEmpty() ? QStringLiteral("0") : arrNames.join(u'+');
}

} // namespace

CCompressorPage::CCompressorPage(CRecorder& recorder, ECompressorKind eKind, short nIndex, QWidget* pParent)
    : QDialog(pParent)
    , m_recorder(recorder)
    , m_eKind(eKind)
    , m_nIndex(nIndex)
{
    const QString strName = QString::fromStdString(
        (eKind == ECompressorKind::eVideo ? recorder.GetVideoCompressors() : recorder.GetAudioCompressors())
            .Name(nIndex));
    setWindowTitle(strName);

    auto* pForm = new QWidget;
    auto* pFormLayout = new QFormLayout(pForm);
    for (const CCompressorOption& option : recorder.GetCompressorOptions(eKind, nIndex)) {
        const QString strValue = QString::fromStdString(recorder.GetCompressorOption(eKind, nIndex, option.strName));
        CRow row { QString::fromStdString(option.strName), QString(), MakeEditor(option, strValue),
                   DefaultNumber(option) };
        // What the editor shows for the stored value, so that an untouched
        // row is left as it is.
        row.strInitial = EditorValue(row);
        auto* pLabel = new QLabel(LabelText(option));
        pLabel->setWordWrap(true);
        // A form takes a wrapped label's height at another width than it
        // gives it; a fixed width keeps the two the same.
        const int nLabelWidth = pLabel->fontMetrics().averageCharWidth() * LABEL_WIDTH_CHARS;
        pLabel->setFixedWidth(nLabelWidth);
        pLabel->setMinimumHeight(pLabel->heightForWidth(nLabelWidth));
        pLabel->setBuddy(row.pEditor);
        pLabel->setToolTip(ToolTipText(option));
        row.pEditor->setToolTip(ToolTipText(option));
        pFormLayout->addRow(pLabel, row.pEditor);
        m_arrRows.push_back(row);
    }
    auto* pScroll = new QScrollArea;
    pScroll->setWidget(pForm);
    pScroll->setWidgetResizable(true);

    m_pError = new QLabel;
    m_pError->setStyleSheet(QStringLiteral("color: #c00000"));
    m_pError->setWordWrap(true);
    m_pError->hide();

    auto* pButtons =
        new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::RestoreDefaults);
    connect(pButtons, &QDialogButtonBox::accepted, this, &CCompressorPage::accept);
    connect(pButtons, &QDialogButtonBox::rejected, this, &CCompressorPage::reject);
    connect(pButtons->button(QDialogButtonBox::RestoreDefaults), &QPushButton::clicked, this,
            &CCompressorPage::ClearAll);

    auto* pLayout = new QVBoxLayout(this);
    pLayout->addWidget(pScroll);
    pLayout->addWidget(m_pError);
    pLayout->addWidget(pButtons);
    resize(sizeHint().width(), PAGE_HEIGHT);
}

QWidget* CCompressorPage::MakeEditor(const CCompressorOption& option, const QString& strValue)
{
    if (option.namedValues.empty()) {
        auto* pEdit = new QLineEdit(strValue);
        pEdit->setPlaceholderText(QString::fromStdString(option.strDefault));
        pEdit->setClearButtonEnabled(true);
        return pEdit;
    }
    if (option.strType == "flags")
        return MakeFlagList(option, strValue);
    return MakeChoice(option, strValue);
}

QString CCompressorPage::EditorValue(const CRow& row)
{
    if (const auto* pCombo = qobject_cast<const QComboBox*>(row.pEditor)) {
        // An entry chosen stands for its value; text typed over it is the value.
        const int nIndex = pCombo->currentIndex();
        if (nIndex >= 0 && pCombo->itemText(nIndex) == pCombo->currentText())
            return pCombo->itemData(nIndex, VALUE_ROLE).toString();
        return pCombo->currentText().trimmed();
    }
    if (const auto* pList = qobject_cast<const QListWidget*>(row.pEditor))
        return FlagsValue(pList, row.nDefaultFlags);
    return qobject_cast<const QLineEdit*>(row.pEditor)->text().trimmed();
}

void CCompressorPage::ClearEditor(const CRow& row)
{
    if (auto* pCombo = qobject_cast<QComboBox*>(row.pEditor))
        pCombo->setCurrentIndex(0);
    else if (auto* pList = qobject_cast<QListWidget*>(row.pEditor))
        CheckFlags(pList, row.nDefaultFlags);
    else
        qobject_cast<QLineEdit*>(row.pEditor)->clear();
}

void CCompressorPage::ClearAll()
{
    for (const CRow& row : m_arrRows)
        ClearEditor(row);
}

void CCompressorPage::accept()
{
    for (const CRow& row : m_arrRows) {
        const QString strValue = EditorValue(row);
        if (strValue == row.strInitial)
            continue;
        if (strValue.isEmpty()) {
            m_recorder.ResetCompressorOption(m_eKind, m_nIndex, row.strOption.toStdString());
            continue;
        }
        std::string strReason;
        if (!m_recorder.SetCompressorOption(m_eKind, m_nIndex, row.strOption.toStdString(), strValue.toStdString(),
                                            strReason)) {
            m_pError->setText(QStringLiteral("%1: %2").arg(row.strOption, QString::fromStdString(strReason)));
            m_pError->show();
            row.pEditor->setFocus();
            return;
        }
    }
    QDialog::accept();
}
