#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include "app/ConverterDlg.h"
#include "auxiliary/TaskNotifierDlg.h"
#include "controls/SkinButton.h"
#include "controls/SkinProgress.h"
#include "skin/SkinFormat.h"
#include "tests/app/ProgramDriver.h"
#include "tests/common/ProgramSkin.h"
#include "tests/common/ScriptedPrompt.h"
#include "tests/skin/ZipFixtures.h"

// The skin author's guide and its example skin, used the way the guide tells
// a reader to: the example packed with the guide's own zip command, checked
// with skintool, and started as the program's skin.

namespace {

const QString DOCS_FOLDER = QStringLiteral(SKINREC_DOCS_DIR);
const QString GUIDE = DOCS_FOLDER + QStringLiteral("/skin-authoring.md");
const QString EXAMPLE_FOLDER = DOCS_FOLDER + QStringLiteral("/example-skin");
const QString EXAMPLE_ART_SCRIPT = DOCS_FOLDER + QStringLiteral("/example-skin-art.py");
// The names the guide's commands use for the reader's folder and package.
const QString READER_FOLDER = QStringLiteral("myskin");
const QString READER_PACKAGE = QStringLiteral("MySkin.zip");
const QStringList COORDINATE_NAMES = { "left", "top", "right", "bottom" };
// As large as the example's background.bmp, where its CONTROL rectangle lies.
const QSize EXAMPLE_WINDOW_SIZE(248, 232);
const QRect EXAMPLE_CONTROL_RECT(12, 30, 224, 168);

QString ReadGuide()
{
    QFile file(GUIDE);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << GUIDE.toStdString();
    return QString::fromUtf8(file.readAll());
}

// The entry template the guide shows in a block of its own under the
// section's "[NAME]" line, as the reader writes the entry: "Main=image",
// "1=name,image,left,...". Empty when the guide shows none.
QString EntryTemplate(const QString& strGuide, const SkinFormat::CSectionFormat& format)
{
    const QString strKey = format.IsControlList() ? QStringLiteral("1") : format.Key();
    const QRegularExpression templateBlock(
        QStringLiteral("^```ini\\n\\[") + QRegularExpression::escape(format.Section()) + QStringLiteral("\\]\\n(")
            + QRegularExpression::escape(strKey) + QStringLiteral("=[^\\n]*)\\n```"),
        QRegularExpression::MultilineOption);
    return templateBlock.match(strGuide).captured(1);
}

// The guide's command line that holds strCommand, from its shell examples.
QString GuideCommand(const QString& strGuide, const QString& strCommand)
{
    const QRegularExpression shellBlock(QStringLiteral("```sh\\n(.*?)```"),
                                        QRegularExpression::DotMatchesEverythingOption);
    for (QRegularExpressionMatchIterator it = shellBlock.globalMatch(strGuide); it.hasNext();) {
        const QStringList arrLines = it.next().captured(1).split(u'\n');
        for (const QString& strLine : arrLines) {
            if (strLine.contains(strCommand))
                return strLine;
        }
    }
    return {};
}

QStringList RelativeFiles(const QString& strFolder, const QStringList& arrPatterns)
{
    QStringList arrFiles;
    QDirIterator it(strFolder, arrPatterns, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        arrFiles.append(QDir(strFolder).relativeFilePath(it.next()));
    arrFiles.sort();
    return arrFiles;
}

QByteArray ReadFile(const QString& strPath)
{
    QFile file(strPath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(SkinGuide, ShowsEverySectionOfTheFormatWithItsFieldsInOrder)
{
    const QString strGuide = ReadGuide();
    for (const SkinFormat::CSectionFormat* pFormat : SkinFormat::SECTIONS) {
        SCOPED_TRACE(pFormat->pszSection);
        const QString strTemplate = EntryTemplate(strGuide, *pFormat);
        ASSERT_FALSE(strTemplate.isEmpty()) << "the guide shows no entry under the section's name";
        const QStringList arrFields = strTemplate.section(u'=', 1).split(u',');
        ASSERT_EQ(arrFields.size(), pFormat->FieldCount()) << strTemplate.toStdString();
        const QList<int> arrCoordinates = pFormat->FieldsOf(SkinFormat::EField::eCoordinate);
        for (int i = 0; i < arrCoordinates.size(); ++i)
            EXPECT_EQ(arrFields[arrCoordinates[i]], COORDINATE_NAMES[i % COORDINATE_NAMES.size()])
                << strTemplate.toStdString();
    }
}

// The guide quotes skintool's usage word for word, so a new command or exit
// status shows up here until the guide is brought along.
TEST(SkinGuide, QuotesSkintoolsUsageAsItPrintsIt)
{
    const QRegularExpression usageBlock(QStringLiteral("`skintool --help`\\s+prints:\\s+```\\n(.*?)```"),
                                        QRegularExpression::DotMatchesEverythingOption);
    const QString strQuoted = usageBlock.match(ReadGuide()).captured(1);
    ASSERT_FALSE(strQuoted.isEmpty()) << "the guide quotes skintool --help";
    QProcess skintool;
    skintool.start(QStringLiteral(SKINTOOL_PATH), { QStringLiteral("--help") });
    ASSERT_TRUE(skintool.waitForFinished(-1));
    EXPECT_EQ(strQuoted, QString::fromUtf8(skintool.readAllStandardOutput()));
}

TEST(SkinGuide, TheExampleBitmapsAreWhatTheArtScriptDraws)
{
    const QTemporaryDir drawn;
    ASSERT_TRUE(drawn.isValid());
    QProcess python;
    python.start(QStringLiteral("python3"), { EXAMPLE_ART_SCRIPT, drawn.path() });
    ASSERT_TRUE(python.waitForFinished(-1));
    ASSERT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();

    const QStringList arrBitmaps = RelativeFiles(drawn.path(), { "*.bmp" });
    EXPECT_EQ(RelativeFiles(EXAMPLE_FOLDER, { "*.bmp" }), arrBitmaps);
    for (const QString& strBitmap : arrBitmaps) {
        SCOPED_TRACE(strBitmap.toStdString());
        EXPECT_EQ(ReadFile(QDir(EXAMPLE_FOLDER).filePath(strBitmap)), ReadFile(QDir(drawn.path()).filePath(strBitmap)));
    }
}

// The example copied to where a reader keeps a skin, and packed there with
// the guide's command.
class ExampleSkin : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QString strZipCommand = GuideCommand(ReadGuide(), QStringLiteral("zip -r"));
        ASSERT_FALSE(strZipCommand.isEmpty()) << "the guide shows how to zip a skin";
        for (const QString& strFile : RelativeFiles(EXAMPLE_FOLDER, { "*" })) {
            const QString strCopy = m_work.Path(READER_FOLDER + u'/' + strFile);
            QDir().mkpath(QFileInfo(strCopy).path());
            ASSERT_TRUE(QFile::copy(QDir(EXAMPLE_FOLDER).filePath(strFile), strCopy)) << strFile.toStdString();
        }
        ASSERT_EQ(m_work.Shell(strZipCommand), 0) << strZipCommand.toStdString();
        ASSERT_TRUE(QFileInfo(m_work.Path(READER_PACKAGE)).isFile()) << strZipCommand.toStdString();
    }

    CZipWorkspace m_work;
};

TEST_F(ExampleSkin, PassesSkintoolCheck)
{
    QByteArray arrOutput;
    EXPECT_EQ(m_work.Run(SKINTOOL_PATH, { "check", READER_PACKAGE }, QByteArray(), &arrOutput), 0);
    EXPECT_EQ(arrOutput, QByteArray()) << "no problem to report";
}

// Started as the guide says: the package as Pink.skn in the current
// directory.
TEST_F(ExampleSkin, StartsTheWindowWithEveryControlTheProgramNeeds)
{
    CProgramCurrentDirectory current;
    ASSERT_TRUE(current.IsValid());
    ASSERT_TRUE(QFile::copy(m_work.Path(READER_PACKAGE), current.FilePath(CConverterDlg::DEFAULT_SKIN)));
    CScriptedPrompt prompt;
    CConverterDlg dialog(prompt);
    dialog.show();
    EXPECT_EQ(prompt.Texts(), QStringList()) << "the package unpacks without a message";

    EXPECT_EQ(dialog.size(), EXAMPLE_WINDOW_SIZE);
    EXPECT_FALSE(dialog.WindowRegion().contains(QPoint(0, 0))) << "the rounded corner is cut away";
    EXPECT_TRUE(dialog.WindowRegion().contains(dialog.rect().center()));
    EXPECT_EQ(dialog.ControlRect(), EXAMPLE_CONTROL_RECT);
    EXPECT_EQ(dialog.RecorderWidget().geometry(), EXAMPLE_CONTROL_RECT) << "the preview sits in the CONTROL rectangle";
    for (const QString& strName : { CConverterDlg::CONVERT_BUTTON, CConverterDlg::STOP_BUTTON,
                                    CConverterDlg::EXIT_BUTTON, CConverterDlg::PLAY_BUTTON }) {
        const CSkinButton* pButton = dialog.FindButton(strName);
        ASSERT_NE(pButton, nullptr) << strName.toStdString();
        EXPECT_TRUE(pButton->isVisible()) << strName.toStdString();
    }
    ASSERT_NE(dialog.FindButton(CConverterDlg::PAUSE_BUTTON), nullptr);
    EXPECT_FALSE(dialog.FindButton(CConverterDlg::PAUSE_BUTTON)->isVisible()) << "Play is offered first";
    EXPECT_NE(dialog.FindProgress(QStringLiteral("PROGRESS_LEVEL")), nullptr);

    const CTaskNotifierDlg* pNotifier = dialog.TaskNotifier();
    ASSERT_NE(pNotifier, nullptr);
    EXPECT_FALSE(pNotifier->Picture().isNull());
    ASSERT_NE(pNotifier->TaskButton(), nullptr);
    EXPECT_EQ(pNotifier->TaskButton()->GetName(), CTaskNotifierDlg::TASK_EXIT_NAME);

    ClickButton(dialog, qPrintable(CConverterDlg::EXIT_BUTTON));
    EXPECT_EQ(dialog.result(), QDialog::Accepted) << "the close button closes the window";
}

} // namespace
