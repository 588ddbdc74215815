#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "settings/VideoFrameDlg.h"
#include "tests/settings/DialogDriver.h"
#include "tests/settings/TestOwner.h"

using namespace DialogDriver;
using EDispatchId = CEncorda::EDispatchId;

namespace {

constexpr int PICTURE_LIST = 1025;

// Runs each test in a current directory whose "Frame" folder holds the
// files below.
class VideoFrameDlgTest : public SettingsTest
{
protected:
    void SetUp() override
    {
        SettingsTest::SetUp();
        ASSERT_TRUE(m_current.isValid());
        QDir folder(m_current.path());
        ASSERT_TRUE(folder.mkpath("Frame/folder.bif"));
        for (const char* pszName : { "c.bif", "a.bif", "bif", "D.BIF", "e.Bif", "b.bif", "f.bmp", "g.bif.bak" }) {
            QFile file(folder.filePath(QStringLiteral("Frame/") + pszName));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
        m_strOldCurrent = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(m_current.path()));
    }

    void TearDown() override
    {
        QDir::setCurrent(m_strOldCurrent);
        SettingsTest::TearDown();
    }

    QTemporaryDir m_current;
    QString m_strOldCurrent;
    CTestOwner m_owner;
};

TEST_F(VideoFrameDlgTest, ListsLowerCaseBifFilesInNameOrder)
{
    CVideoFrameDlg dialog(Settings(), &m_owner);
    QComboBox* pList = Find<QComboBox>(dialog, PICTURE_LIST);
    QStringList arrItems;
    for (int i = 0; i < pList->count(); ++i)
        arrItems.append(pList->itemText(i));
    EXPECT_EQ(arrItems, QStringList({ "a.bif", "b.bif", "bif", "c.bif" }));
    EXPECT_EQ(pList->currentIndex(), 0);
    // Made at start-up: nothing is sent or stored until the user chooses.
    EXPECT_EQ(m_owner.CountCalls(EDispatchId::VideoFrame), 0);
    EXPECT_TRUE(Settings().strFramePictureName.isEmpty());
}

TEST_F(VideoFrameDlgTest, TheThirdPictureIsSentAsThreeAtOnce)
{
    CVideoFrameDlg dialog(Settings(), &m_owner);
    dialog.show();
    ChooseItem(Find<QComboBox>(dialog, PICTURE_LIST), 2);
    EXPECT_EQ(m_owner.Written(EDispatchId::VideoFrame), QVariantList { 3 });
    EXPECT_EQ(m_owner.RecorderWidget().GetVideoFrame(), 3);
    EXPECT_EQ(Settings().nFramePictureIndex, 2);
    EXPECT_EQ(Settings().strFramePictureName, "bif");
    Cancel(dialog);
    EXPECT_EQ(Settings().nFramePictureIndex, 2);
}

TEST_F(VideoFrameDlgTest, ShowingAgainKeepsTheListOfStartUp)
{
    CVideoFrameDlg dialog(Settings(), &m_owner);
    QFile(QDir(m_current.path()).filePath("Frame/0.bif")).open(QIODevice::WriteOnly);
    dialog.show();
    ChooseItem(Find<QComboBox>(dialog, PICTURE_LIST), 1);
    dialog.accept();
    dialog.show();
    QComboBox* pList = Find<QComboBox>(dialog, PICTURE_LIST);
    EXPECT_EQ(pList->count(), 4);
    EXPECT_EQ(pList->currentText(), "b.bif");
}

TEST_F(VideoFrameDlgTest, WithoutAFrameFolderHereTheOneBesideTheProgramIsListed)
{
    ASSERT_TRUE(QDir(m_current.filePath("Frame")).removeRecursively());
    // The build puts the program's pictures beside the test programs too.
    QDir besideProgram(QCoreApplication::applicationDirPath() + "/Frame");
    besideProgram.setNameFilters({ "*bif" });
    besideProgram.setFilter(QDir::Files | QDir::CaseSensitive);
    besideProgram.setSorting(QDir::Name);
    CVideoFrameDlg dialog(Settings(), &m_owner);
    QComboBox* pList = Find<QComboBox>(dialog, PICTURE_LIST);
    const QStringList arrExpected = besideProgram.exists() ? besideProgram.entryList() : QStringList();
    ASSERT_EQ(pList->count(), arrExpected.size());
    for (int i = 0; i < pList->count(); ++i)
        EXPECT_EQ(pList->itemText(i), i == 0 ? QStringLiteral("No frame") : arrExpected[i]);
}

// The first picture is what Convert and Play show unless another is chosen.
TEST_F(VideoFrameDlgTest, ThePictureThatDrawsNothingReadsNoFrame)
{
    QFile file(QDir(m_current.path()).filePath("Frame/Frame00.bif"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    CVideoFrameDlg dialog(Settings(), &m_owner);
    QComboBox* pList = Find<QComboBox>(dialog, PICTURE_LIST);
    ASSERT_GT(pList->count(), 1);
    EXPECT_EQ(pList->itemText(0), "No frame");
    EXPECT_EQ(pList->itemText(1), "a.bif");
    dialog.show();
    ChooseItem(pList, 0);
    EXPECT_EQ(m_owner.RecorderWidget().GetVideoFrame(), 1);
    EXPECT_EQ(Settings().strFramePictureName, "No frame");
}

} // namespace
