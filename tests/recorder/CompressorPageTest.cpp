#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include "engine/CompressorCatalog.h"
#include "engine/Recorder.h"
#include "recorder/CompressorPage.h"
#include "recorder/Encorda.h"

namespace {

const QString MPEG2_COMPRESSOR = QStringLiteral("MPEG-2 video (mpeg2video)");
const std::string MPEG2_CODEC = "mpeg2video";

// An option of the encoder typed as a plain number, with 1 in its range.
QString NumberOption()
{
    for (const CCompressorOption& option : ListCompressorOptions(MPEG2_CODEC)) {
        if (option.strType == "int" && option.namedValues.empty() && option.dMinimum <= 1 && option.dMaximum >= 1)
            return QString::fromStdString(option.strName);
    }
    return QString();
}

// The label and the editor of the option the tooltips name first.
std::pair<QLabel*, QWidget*> RowOf(QDialog& page, const QString& strOption)
{
    for (QFormLayout* pForm : page.findChildren<QFormLayout*>()) {
        for (int nRow = 0; nRow < pForm->rowCount(); ++nRow) {
            auto* pLabel = qobject_cast<QLabel*>(pForm->itemAt(nRow, QFormLayout::LabelRole)->widget());
            if (pLabel && pLabel->toolTip().section(u'\n', 0, 0) == strOption)
                return { pLabel, pForm->itemAt(nRow, QFormLayout::FieldRole)->widget() };
        }
    }
    return { nullptr, nullptr };
}

template <typename TEditor>
TEditor* EditorOf(QDialog& page, const QString& strOption)
{
    return qobject_cast<TEditor*>(RowOf(page, strOption).second);
}

QLineEdit* FieldOf(QDialog& page, const QString& strOption)
{
    return EditorOf<QLineEdit>(page, strOption);
}

// Works the page that ShowPropertyPage is about to open, once it is open.
void OnNextPage(const std::function<void(QDialog&)>& work)
{
    QTimer::singleShot(0, [work] {
        auto* pPage = qobject_cast<CCompressorPage*>(QApplication::activeModalWidget());
        ASSERT_NE(pPage, nullptr);
        work(*pPage);
        pPage->reject();
    });
}

void PressButton(QDialog& page, QDialogButtonBox::StandardButton eButton)
{
    page.findChild<QDialogButtonBox*>()->button(eButton)->click();
}

void PressOk(QDialog& page)
{
    PressButton(page, QDialogButtonBox::Ok);
}

bool ShowsErrorFor(QDialog& page, const QString& strOption)
{
    const QList<QLabel*> arrLabels = page.findChildren<QLabel*>();
    return page.isVisible() && std::any_of(arrLabels.begin(), arrLabels.end(), [&](QLabel* pLabel) {
               return pLabel->isVisible() && pLabel->text().startsWith(strOption + ':');
           });
}

// The text of each named field when the page opens next.
QStringList FieldsShown(const CEncordaList& compressors, short nIndex, const QStringList& arrOptions)
{
    QStringList arrShown;
    OnNextPage([&](QDialog& page) {
        for (const QString& strOption : arrOptions) {
            const QLineEdit* pField = FieldOf(page, strOption);
            arrShown << (pField ? pField->text() : QStringLiteral("(no field)"));
        }
    });
    compressors.ShowPropertyPage(nIndex);
    return arrShown;
}

TEST(CompressorPage, KeepsAcceptedValuesAndNamesRefusedOnes)
{
    const QString strOption = NumberOption();
    if (strOption.isEmpty())
        GTEST_SKIP() << "this FFmpeg's mpeg2video has no plain number option";
    CEncorda encoder;
    const CEncordaList compressors = encoder.GetVideoCompressors();
    const short nIndex = compressors.FindIndex(MPEG2_COMPRESSOR);
    ASSERT_NE(nIndex, -1);

    bool bRefusedShown = false;
    OnNextPage([&](QDialog& page) {
        QLineEdit* pField = FieldOf(page, strOption);
        ASSERT_NE(pField, nullptr);
        pField->setText("not a number");
        PressOk(page);
        // Refused: the page stays and says which option and why.
        bRefusedShown = ShowsErrorFor(page, strOption);
        pField->setText("1");
        PressOk(page);
    });
    EXPECT_TRUE(compressors.ShowPropertyPage(nIndex));
    EXPECT_TRUE(bRefusedShown);

    QString strShown;
    OnNextPage([&](QDialog& page) {
        if (QLineEdit* pField = FieldOf(page, strOption))
            strShown = pField->text();
    });
    EXPECT_TRUE(encoder.GetVideoCompressors().ShowPropertyPage(nIndex));
    EXPECT_EQ(strShown, "1");
}

TEST(CompressorPage, GenericOptionsAreSetAndPutBackToTheirDefaults)
{
    CEncorda encoder;
    const CEncordaList compressors = encoder.GetVideoCompressors();
    const short nIndex = compressors.FindIndex(MPEG2_COMPRESSOR);
    ASSERT_NE(nIndex, -1);
    const QStringList arrOptions { QStringLiteral("g"), QStringLiteral("bf") };

    bool bRefusedShown = false;
    OnNextPage([&](QDialog& page) {
        QLineEdit* pGop = FieldOf(page, arrOptions[0]);
        QLineEdit* pBFrames = FieldOf(page, arrOptions[1]);
        ASSERT_NE(pGop, nullptr);
        ASSERT_NE(pBFrames, nullptr);
        pGop->setText("6");
        pBFrames->setText("lots");
        PressOk(page);
        bRefusedShown = ShowsErrorFor(page, arrOptions[1]);
        pBFrames->setText("0");
        PressOk(page);
    });
    EXPECT_TRUE(compressors.ShowPropertyPage(nIndex));
    EXPECT_TRUE(bRefusedShown);
    EXPECT_EQ(FieldsShown(compressors, nIndex, arrOptions), QStringList({ "6", "0" }));

    // An emptied field puts its option back and leaves the others.
    OnNextPage([&](QDialog& page) {
        if (QLineEdit* pGop = FieldOf(page, arrOptions[0]))
            pGop->clear();
        PressOk(page);
    });
    EXPECT_TRUE(compressors.ShowPropertyPage(nIndex));
    EXPECT_EQ(FieldsShown(compressors, nIndex, arrOptions), QStringList({ "", "0" }));

    // Restore Defaults empties every field; OK puts them all back.
    OnNextPage([&](QDialog& page) {
        FieldOf(page, arrOptions[0])->setText("9");
        PressButton(page, QDialogButtonBox::RestoreDefaults);
        PressOk(page);
    });
    EXPECT_TRUE(compressors.ShowPropertyPage(nIndex));
    EXPECT_EQ(FieldsShown(compressors, nIndex, arrOptions), QStringList({ "", "" }));
}

// The settings page of MPEG-2 video on an engine recorder, as the window
// opens it.
class Mpeg2CompressorPage : public testing::Test
{
protected:
    void SetUp() override { ASSERT_NE(m_nIndex, -1); }

    std::string StoredValue(const char* pszOption) const
    {
        return m_recorder.GetCompressorOption(ECompressorKind::eVideo, m_nIndex, pszOption);
    }

    CRecorder m_recorder;
    const short m_nIndex = m_recorder.GetVideoCompressors().FindIndex(MPEG2_COMPRESSOR.toStdString());
};

QStringList EntriesOf(const QComboBox& combo)
{
    QStringList arrEntries;
    for (int nIndex = 0; nIndex < combo.count(); ++nIndex)
        arrEntries << combo.itemText(nIndex);
    return arrEntries;
}

QStringList CheckedFlags(const QListWidget& list)
{
    QStringList arrChecked;
    for (int nRow = 0; nRow < list.count(); ++nRow) {
        if (list.item(nRow)->checkState() == Qt::Checked)
            arrChecked << list.item(nRow)->text();
    }
    return arrChecked;
}

void CheckFlag(QListWidget& list, const QString& strFlag)
{
    const QList<QListWidgetItem*> arrItems = list.findItems(strFlag, Qt::MatchExactly);
    ASSERT_EQ(arrItems.size(), 1) << strFlag.toStdString();
    arrItems.front()->setCheckState(Qt::Checked);
}

TEST_F(Mpeg2CompressorPage, LabelsReadTheHelpTextAndTooltipsTheName)
{
    CCompressorPage page(m_recorder, ECompressorKind::eVideo, m_nIndex, nullptr);
    for (const CCompressorOption& option : ListCompressorOptions(MPEG2_CODEC)) {
        SCOPED_TRACE(option.strName);
        const QString strName = QString::fromStdString(option.strName);
        const auto [pLabel, pEditor] = RowOf(page, strName);
        ASSERT_NE(pLabel, nullptr);
        EXPECT_EQ(pEditor->toolTip().section(u'\n', 0, 0), strName);
        const QString strHelp = QString::fromStdString(option.strHelp).trimmed();
        if (strHelp.isEmpty())
            EXPECT_EQ(pLabel->text(), strName);
        else
            EXPECT_TRUE(strHelp.startsWith(pLabel->text(), Qt::CaseInsensitive)) << pLabel->text().toStdString();
    }
    EXPECT_EQ(RowOf(page, QStringLiteral("intra_vlc")).first->text(), "Use MPEG-2 intra VLC table");
}

TEST_F(Mpeg2CompressorPage, NamedValuesAreChosenFromADropDownAndApplied)
{
    {
        CCompressorPage page(m_recorder, ECompressorKind::eVideo, m_nIndex, nullptr);
        page.show();
        auto* pMotion = EditorOf<QComboBox>(page, QStringLiteral("motion_est"));
        ASSERT_NE(pMotion, nullptr);
        EXPECT_FALSE(pMotion->isEditable()) << "its names are all it takes";
        EXPECT_EQ(EntriesOf(*pMotion), QStringList({ "default (epzs)", "zero", "epzs", "xone" }));
        pMotion->setCurrentIndex(pMotion->findText(QStringLiteral("xone")));
        // Thread counts are typed beside the named "auto".
        auto* pThreads = EditorOf<QComboBox>(page, QStringLiteral("threads"));
        ASSERT_NE(pThreads, nullptr);
        ASSERT_TRUE(pThreads->isEditable());
        EXPECT_TRUE(EntriesOf(*pThreads).contains(QStringLiteral("auto")));
        pThreads->setEditText(QStringLiteral("many"));
        PressOk(page);
        EXPECT_TRUE(ShowsErrorFor(page, QStringLiteral("threads"))) << "typed values are checked as before";
        pThreads->setEditText(QStringLiteral("2"));
        PressOk(page);
        EXPECT_EQ(page.result(), QDialog::Accepted);
    }
    EXPECT_EQ(StoredValue("motion_est"), "xone");
    EXPECT_EQ(StoredValue("threads"), "2");

    CCompressorPage page(m_recorder, ECompressorKind::eVideo, m_nIndex, nullptr);
    auto* pMotion = EditorOf<QComboBox>(page, QStringLiteral("motion_est"));
    ASSERT_NE(pMotion, nullptr);
    EXPECT_EQ(pMotion->currentText(), "xone");
    EXPECT_EQ(EditorOf<QComboBox>(page, QStringLiteral("threads"))->currentText(), "2");
    PressButton(page, QDialogButtonBox::RestoreDefaults);
    EXPECT_EQ(pMotion->currentText(), "default (epzs)");
    PressOk(page);
    EXPECT_EQ(StoredValue("motion_est"), "");
    EXPECT_EQ(StoredValue("threads"), "");
}

TEST_F(Mpeg2CompressorPage, FlagsAreCheckedInAListAndApplied)
{
    std::string strReason;
    ASSERT_TRUE(m_recorder.SetCompressorOption(ECompressorKind::eVideo, m_nIndex, "flags", "+ildct+ilme", strReason))
        << strReason;
    {
        CCompressorPage page(m_recorder, ECompressorKind::eVideo, m_nIndex, nullptr);
        auto* pFlags = EditorOf<QListWidget>(page, QStringLiteral("flags"));
        ASSERT_NE(pFlags, nullptr);
        EXPECT_EQ(CheckedFlags(*pFlags), QStringList({ "ildct", "ilme" }));
        auto* pMpegFlags = EditorOf<QListWidget>(page, QStringLiteral("mpv_flags"));
        ASSERT_NE(pMpegFlags, nullptr);
        EXPECT_TRUE(CheckedFlags(*pMpegFlags).isEmpty());
        CheckFlag(*pMpegFlags, QStringLiteral("naq"));
        CheckFlag(*pMpegFlags, QStringLiteral("mv0"));
        PressOk(page);
        EXPECT_EQ(page.result(), QDialog::Accepted);
    }
    EXPECT_EQ(StoredValue("mpv_flags"), "naq+mv0");
    EXPECT_EQ(StoredValue("flags"), "+ildct+ilme") << "an untouched row keeps its value";

    CCompressorPage page(m_recorder, ECompressorKind::eVideo, m_nIndex, nullptr);
    auto* pMpegFlags = EditorOf<QListWidget>(page, QStringLiteral("mpv_flags"));
    ASSERT_NE(pMpegFlags, nullptr);
    EXPECT_EQ(CheckedFlags(*pMpegFlags), QStringList({ "naq", "mv0" }));
    PressButton(page, QDialogButtonBox::RestoreDefaults);
    EXPECT_TRUE(CheckedFlags(*pMpegFlags).isEmpty());
    PressOk(page);
    EXPECT_EQ(StoredValue("mpv_flags"), "");
    EXPECT_EQ(StoredValue("flags"), "");
}

} // namespace
