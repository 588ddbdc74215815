#include "encoder/CompressorPage.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "engine/Recorder.h"

namespace {

// Encoders have dozens of options; the page scrolls beyond this height.
constexpr int PAGE_HEIGHT = 420;

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
        const QString strOption = QString::fromStdString(option.strName);
        const QString strValue = QString::fromStdString(recorder.GetCompressorOption(eKind, nIndex, option.strName));
        QWidget* pEditor = MakeEditor(option, strValue);
        pFormLayout->addRow(strOption, pEditor);
        m_arrRows.push_back({ strOption, strValue, pEditor });
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
    const QString strHelp = QString::fromStdString(option.strHelp);
    if (!option.namedValues.empty()) {
        auto* pCombo = new QComboBox;
        // The first entry keeps the encoder's default.
        pCombo->addItem(QString());
        for (const std::string& strNamed : option.namedValues)
            pCombo->addItem(QString::fromStdString(strNamed));
        // Flags combine ("+mv4+cgop"), which a list of single names cannot.
        pCombo->setEditable(option.strType == "flags");
        pCombo->setCurrentText(strValue);
        pCombo->setToolTip(strHelp);
        return pCombo;
    }
    auto* pEdit = new QLineEdit(strValue);
    pEdit->setPlaceholderText(QString::fromStdString(option.strDefault));
    pEdit->setClearButtonEnabled(true);
    pEdit->setToolTip(strHelp);
    return pEdit;
}

QString CCompressorPage::EditorValue(const QWidget* pEditor)
{
    if (const auto* pCombo = qobject_cast<const QComboBox*>(pEditor))
        return pCombo->currentText();
    return qobject_cast<const QLineEdit*>(pEditor)->text().trimmed();
}

void CCompressorPage::ClearEditor(QWidget* pEditor)
{
    if (auto* pCombo = qobject_cast<QComboBox*>(pEditor))
        pCombo->setCurrentIndex(0);
    else
        qobject_cast<QLineEdit*>(pEditor)->clear();
}

void CCompressorPage::ClearAll()
{
    for (const CRow& row : m_arrRows)
        ClearEditor(row.pEditor);
}

void CCompressorPage::accept()
{
    for (const CRow& row : m_arrRows) {
        const QString strValue = EditorValue(row.pEditor);
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
