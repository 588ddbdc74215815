#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include <QApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "encoder/CompressorPage.h"
#include "encoder/Encorda.h"
#include "engine/CompressorCatalog.h"

namespace {

const QString MPEG2_COMPRESSOR = QStringLiteral("MPEG-2 video (mpeg2video)");

// An option of the encoder typed as a plain number, with 1 in its range.
QString NumberOption()
{
    for (const CCompressorOption& option : ListCompressorOptions("mpeg2video")) {
        if (option.strType == "int" && option.namedValues.empty() && option.dMinimum <= 1 && option.dMaximum >= 1)
            return QString::fromStdString(option.strName);
    }
    return QString();
}

QLineEdit* FieldOf(QDialog& page, const QString& strOption)
{
    for (QFormLayout* pForm : page.findChildren<QFormLayout*>()) {
        for (int nRow = 0; nRow < pForm->rowCount(); ++nRow) {
            const auto* pLabel = qobject_cast<QLabel*>(pForm->itemAt(nRow, QFormLayout::LabelRole)->widget());
            if (pLabel && pLabel->text() == strOption)
                return qobject_cast<QLineEdit*>(pForm->itemAt(nRow, QFormLayout::FieldRole)->widget());
        }
    }
    return nullptr;
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

} // namespace
