#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QRegularExpression>
#include <QTest>

#include "app/ConverterDlg.h"
#include "controls/SkinCheck.h"
#include "controls/SkinEdit.h"
#include "controls/SkinListBox.h"
#include "controls/SkinOption.h"
#include "controls/SkinProgress.h"
#include "skin/SkinPackage.h"
#include "tests/app/ProgramDriver.h"
#include "tests/common/ProgramSkin.h"
#include "tests/common/ScriptedPrompt.h"
#include "tests/engine/MediaProbe.h"

// The controls our skins show beside the transport: each does what it shows.

namespace {

TEST(LevelMeter, MapsDecibelsLinearlyFromMinusSixtyToFullScale)
{
    EXPECT_EQ(CConverterDlg::LevelMeterPosition(-60.0), 0);
    EXPECT_EQ(CConverterDlg::LevelMeterPosition(-6.0), 90);
    EXPECT_EQ(CConverterDlg::LevelMeterPosition(0.0), 100);
    EXPECT_EQ(CConverterDlg::LevelMeterPosition(CEncorda::SILENCE_DBFS), 0);
    EXPECT_EQ(CConverterDlg::LevelMeterPosition(-75.0), 0);
    EXPECT_EQ(CConverterDlg::LevelMeterPosition(3.0), 100) << "a clipping source fills the bar, no more";
}

using SkinControls = CProgramTest;

TEST_F(SkinControls, TheLevelMeterShowsTheToneAndEmptiesAfterStop)
{
    CConverterDlg dialog(m_prompt, m_settings);
    dialog.show();
    CSkinProgress* pMeter = dialog.FindProgress(QStringLiteral("PROGRESS_LEVEL"));
    ASSERT_NE(pMeter, nullptr) << "our skins have a level meter";
    const QImage imgEmpty = pMeter->grab().toImage();
    EXPECT_EQ(pMeter->GetPos(), 0);

    ClickButton(dialog, "BUTTON_PLAY");
    // The test tone plays at -18 dB of full scale: 70 of 100.
    ASSERT_TRUE(WaitUntil([&] { return pMeter->GetPos() == 70; }, RECORDING_START_TIMEOUT_MS)) << pMeter->GetPos();
    EXPECT_NE(pMeter->grab().toImage(), imgEmpty) << "the bar is drawn filled";

    ClickButton(dialog, "BUTTON_STOP");
    EXPECT_EQ(pMeter->GetPos(), 0);
    EXPECT_EQ(pMeter->grab().toImage(), imgEmpty);
}

TEST_F(SkinControls, MuteSilencesTheRecordingFromTheClickOn)
{
    const std::string strFile = m_current.FilePath(QStringLiteral("muted.mpg")).toStdString();
    m_prompt.m_arrFiles = { QString::fromStdString(strFile) };
    CConverterDlg dialog(m_prompt, m_settings);
    dialog.show();
    CSkinCheck* pMute = dialog.FindCheck(QStringLiteral("CHECK_MUTE"));
    ASSERT_NE(pMute, nullptr) << "our skins have a mute box";
    EXPECT_FALSE(pMute->IsChecked());
    CSkinProgress* pMeter = dialog.FindProgress(QStringLiteral("PROGRESS_LEVEL"));
    ASSERT_NE(pMeter, nullptr);

    ClickButton(dialog, "BUTTON_CONVERT");
    const CEncorda& encoder = dialog.RecorderWidget();
    ASSERT_TRUE(WaitForElapsed(encoder, 1.0));
    const double dMutedAt = encoder.GetStatus().dElapsedSeconds;
    QTest::mouseClick(pMute, Qt::LeftButton, {}, pMute->rect().center());
    EXPECT_TRUE(pMute->IsChecked());
    EXPECT_TRUE(WaitUntil([&] { return pMeter->GetPos() == 0; }, RECORDING_START_TIMEOUT_MS))
        << "the meter shows the silence";
    ASSERT_TRUE(WaitForElapsed(encoder, dMutedAt + 1.0));
    ClickButton(dialog, "BUTTON_STOP");

    EXPECT_GT(MaxVolumeDb(strFile, 0.1, dMutedAt - 0.3), -30.0) << "sound before the click";
    EXPECT_LT(MaxVolumeDb(strFile, dMutedAt + 0.5, dMutedAt + 0.9), -80.0) << "silence after it";
    EXPECT_NEAR(StreamSpanSeconds(strFile, "a"), StreamSpanSeconds(strFile, "v"), 0.1) << "the audio stream goes on";

    // A new skin's box shows the recorder still muted.
    dialog.ChangeSkin(SkinPackage::FIRST_SKIN_COMMAND + 1);
    CSkinCheck* pNewMute = dialog.FindCheck(QStringLiteral("CHECK_MUTE"));
    ASSERT_NE(pNewMute, nullptr);
    EXPECT_TRUE(pNewMute->IsChecked());
}

} // namespace

namespace {

TEST(RecordingTitle, BecomesAFileNameAnyFolderTakes)
{
    const QDateTime now(QDate(2026, 12, 7), QTime(9, 5, 3));
    EXPECT_EQ(CConverterDlg::FileNameForTitle(QStringLiteral("Holiday: day 1/2"), now),
              QStringLiteral("Holiday_ day 1_2"));
    EXPECT_EQ(CConverterDlg::FileNameForTitle(QStringLiteral("  a\tb  "), now), QStringLiteral("a b"));
    EXPECT_EQ(CConverterDlg::FileNameForTitle(QStringLiteral("x*?\"<>|\\y"), now), QStringLiteral("x_______y"));
    EXPECT_EQ(CConverterDlg::FileNameForTitle(QString(), now), QStringLiteral("Recording 2026-12-07 09-05-03"));
    EXPECT_EQ(CConverterDlg::FileNameForTitle(QStringLiteral(".."), now),
              QStringLiteral("Recording 2026-12-07 09-05-03"))
        << "a title must not name the parent folder";
    EXPECT_EQ(CConverterDlg::FileNameForTitle(QString(300, u'x'), now).size(), 120);
}

TEST_F(SkinControls, TheTitleIsProposedAndTheRecordingIsListed)
{
    const QString strFile = m_current.FilePath(QStringLiteral("Evening news.mpg"));
    CConverterDlg dialog(m_prompt, m_settings);
    QList<QUrl> arrOpened;
    bool bPlayerFound = true;
    dialog.SetUrlOpener([&arrOpened, &bPlayerFound](const QUrl& url) {
        arrOpened.append(url);
        return bPlayerFound;
    });
    dialog.show();
    CSkinEdit* pTitle = dialog.FindEdit(QStringLiteral("EDIT_TITLE"));
    ASSERT_NE(pTitle, nullptr) << "our skins have a title box";
    QTest::keyClicks(pTitle, QStringLiteral("Evening news"));

    // Cancelled: the first proposal lies in the videos folder.
    ClickButton(dialog, "BUTTON_CONVERT");
    EXPECT_EQ(QFileInfo(m_prompt.m_strLastProposedPath).fileName(), QStringLiteral("Evening news.mpg"));

    m_prompt.m_arrFiles = { strFile };
    ClickButton(dialog, "BUTTON_CONVERT");
    const CEncorda& encoder = dialog.RecorderWidget();
    ASSERT_TRUE(WaitForElapsed(encoder, 1.0));
    ClickButton(dialog, "BUTTON_STOP");

    CSkinListBox* pList = dialog.FindListBox(QStringLiteral("LIST_RECENT"));
    ASSERT_NE(pList, nullptr) << "our skins have a recordings list";
    ASSERT_EQ(pList->GetItemCount(), 1);
    EXPECT_EQ(pList->GetItemText(0, 1), QStringLiteral("Evening news"));
    const QString strDetails = pList->GetItemDetails(0);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^00:00:0[1-9]  \\S+")).match(strDetails).hasMatch())
        << strDetails.toStdString();
    EXPECT_TRUE(pList->GetItemToolTip(0).contains(strFile)) << pList->GetItemToolTip(0).toStdString();

    // The next proposal lies beside the last recording.
    pTitle->clear();
    ClickButton(dialog, "BUTTON_CONVERT");
    EXPECT_EQ(QFileInfo(m_prompt.m_strLastProposedPath).absolutePath(), QFileInfo(strFile).absolutePath());
    EXPECT_TRUE(QFileInfo(m_prompt.m_strLastProposedPath).fileName().startsWith(QStringLiteral("Recording ")));

    // Double-click opens it; once deleted, it shows as missing and does not open.
    const QPoint ptRow(pList->width() / 2, pList->RowHeight() / 2);
    QTest::mouseDClick(pList, Qt::LeftButton, {}, ptRow);
    EXPECT_EQ(arrOpened, QList<QUrl> { QUrl::fromLocalFile(strFile) });
    EXPECT_FALSE(m_prompt.Texts().contains(CConverterDlg::NO_PLAYER));
    // No program takes it: the user is told, not only the terminal.
    bPlayerFound = false;
    QTest::mouseDClick(pList, Qt::LeftButton, {}, ptRow);
    ASSERT_FALSE(m_prompt.m_arrAsked.isEmpty());
    EXPECT_EQ(m_prompt.m_arrAsked.back().strText, CConverterDlg::NO_PLAYER);
    EXPECT_EQ(m_prompt.m_arrAsked.back().strDetail, strFile);
    ASSERT_TRUE(QFile::remove(strFile));
    QTest::mouseDClick(pList, Qt::LeftButton, {}, ptRow);
    EXPECT_EQ(arrOpened.size(), 2);
    EXPECT_EQ(pList->GetItemText(0, 1), QStringLiteral("Evening news"));
    EXPECT_EQ(pList->GetItemDetails(0), QStringLiteral("missing"));
}

// A row used to put title, length and size on one line, and every skin's
// list cut it off after the title.
TEST_F(SkinControls, RecordingRowsFitTheListOfEverySkin)
{
    const QString strLongTitle = QStringLiteral("My first clip of the evening news, from the living room");
    const CRecentRecordings::CEntry entries[] = {
        { m_current.FilePath(QStringLiteral("My first clip.mpg")), QStringLiteral("My first clip"), 5, 1234567 },
        { m_current.FilePath(QStringLiteral("Recording 2026-12-07 09-05-03.mpg")), QString(), 7199, 1320000000 },
        { m_current.FilePath(QStringLiteral("news.mpg")), strLongTitle, 754, 123456789 },
    };
    CRecentRecordings recordings;
    for (const CRecentRecordings::CEntry& entry : entries) {
        QFile file(entry.strPath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        recordings.Add(entry);
    }
    CConverterDlg dialog(m_prompt, m_settings);
    for (const SkinPackage::CSkinCommand& command : SkinPackage::SkinCommands()) {
        SCOPED_TRACE(command.strPackage.toStdString());
        dialog.ChangeSkin(command.nCommandId);
        CSkinListBox* pList = dialog.FindListBox(QStringLiteral("LIST_RECENT"));
        ASSERT_NE(pList, nullptr) << "our skins have a recordings list";
        recordings.ShowIn(*pList);
        const QFontMetrics metrics(pList->font());
        for (int nRow = 0; nRow < pList->GetItemCount(); ++nRow) {
            const CRecentRecordings::CEntry& entry = *recordings.At(nRow);
            SCOPED_TRACE(entry.strPath.toStdString());
            const QString strName = entry.strTitle.isEmpty() ? QFileInfo(entry.strPath).fileName() : entry.strTitle;
            EXPECT_EQ(pList->GetItemText(nRow, 1), strName);
            // Length and size are shown whole; a long title ends in an
            // ellipsis, and the tooltip holds it whole with the path.
            const QString strDetails = pList->GetItemDetails(nRow);
            EXPECT_TRUE(strDetails.startsWith(CSkinDialog::FormatTime(static_cast<int>(entry.dSeconds))))
                << strDetails.toStdString();
            EXPECT_LE(metrics.horizontalAdvance(strDetails), pList->DetailsWidth()) << strDetails.toStdString();
            const QString strToolTip = pList->GetItemToolTip(nRow);
            EXPECT_TRUE(strToolTip.contains(strName) && strToolTip.contains(entry.strPath)) << strToolTip.toStdString();
        }
    }
}

} // namespace

namespace {

TEST_F(SkinControls, QualityOptionsChooseTheEncodingAndSurviveASkinChange)
{
    constexpr int DELUXE_COMMAND = SkinPackage::FIRST_SKIN_COMMAND + 7;
    CConverterDlg dialog(m_prompt, m_settings);
    dialog.show();
    dialog.ChangeSkin(DELUXE_COMMAND);
    CSkinOption* pGood = dialog.FindOption(QStringLiteral("OPTION_QUALITY_GOOD"));
    CSkinOption* pBest = dialog.FindOption(QStringLiteral("OPTION_QUALITY_BEST"));
    ASSERT_NE(pGood, nullptr) << "Deluxe has the quality options";
    ASSERT_NE(pBest, nullptr);
    EXPECT_TRUE(pGood->IsChecked());
    EXPECT_FALSE(dialog.RecorderWidget().GetBestQuality());

    QTest::mouseClick(pBest, Qt::LeftButton, {}, pBest->rect().center());
    EXPECT_TRUE(dialog.RecorderWidget().GetBestQuality());
    EXPECT_FALSE(pGood->IsChecked());

    // Another skin without the options keeps the choice; Deluxe shows it again.
    dialog.ChangeSkin(SkinPackage::FIRST_SKIN_COMMAND);
    EXPECT_TRUE(dialog.RecorderWidget().GetBestQuality());
    dialog.ChangeSkin(DELUXE_COMMAND);
    EXPECT_TRUE(dialog.FindOption(QStringLiteral("OPTION_QUALITY_BEST"))->IsChecked());
    EXPECT_FALSE(dialog.FindOption(QStringLiteral("OPTION_QUALITY_GOOD"))->IsChecked());
}

} // namespace
