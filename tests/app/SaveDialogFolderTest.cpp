#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "app/ConverterDlg.h"
#include "controls/SkinEdit.h"
#include "tests/app/ProgramDriver.h"

// Where Convert's save dialog opens, for a user of a home folder of the
// test's own.

namespace {

// The environment variable holds the value until the object ends.
class CEnvironmentValue
{
public:
    CEnvironmentValue(const char* pszName, const QByteArray& value)
        : m_pszName(pszName)
        , m_bWasSet(qEnvironmentVariableIsSet(pszName))
        , m_oldValue(qgetenv(pszName))
    {
        qputenv(pszName, value);
    }
    ~CEnvironmentValue()
    {
        if (m_bWasSet)
            qputenv(m_pszName, m_oldValue);
        else
            qunsetenv(m_pszName);
    }
    CEnvironmentValue(const CEnvironmentValue&) = delete;
    CEnvironmentValue& operator=(const CEnvironmentValue&) = delete;

private:
    const char* m_pszName;
    bool m_bWasSet;
    QByteArray m_oldValue;
};

// A home folder with the desktop's user-dirs file naming the videos folder.
class CPrivateHome
{
public:
    explicit CPrivateHome(const QByteArray& videosEntry)
    {
        QDir(m_folder.path()).mkpath(QStringLiteral(".config"));
        QFile userDirs(QDir(m_folder.path()).filePath(QStringLiteral(".config/user-dirs.dirs")));
        if (!videosEntry.isEmpty() && userDirs.open(QIODevice::WriteOnly))
            userDirs.write("XDG_VIDEOS_DIR=\"" + videosEntry + "\"\n");
    }

    QString Path(const QString& strName = QString()) const
    {
        return QDir::cleanPath(QDir(m_folder.path()).filePath(strName));
    }

private:
    QTemporaryDir m_folder;
    CEnvironmentValue m_home { "HOME", QFile::encodeName(m_folder.path()) };
    CEnvironmentValue m_config { "XDG_CONFIG_HOME", QFile::encodeName(Path(QStringLiteral(".config"))) };
};

using SaveDialogFolder = CProgramTest;

} // namespace

TEST_F(SaveDialogFolder, TheFirstConvertProposesAFolderThatExists)
{
    struct CFolderCase
    {
        const char* pszName;
        QByteArray videosEntry; // empty: no user-dirs file
        bool bMakeVideos;
        const char* pszExpectedFolder; // in the home folder
    } const cases[] = {
        { "videos folder there", "$HOME/Videos", true, "Videos" },
        { "videos folder missing", "$HOME/Videos", false, "" },
        { "no user-dirs file, videos folder missing", "", false, "" },
        { "user-dirs entry relative to home", "Films", true, "Films" },
    };
    CConverterDlg dialog(m_prompt, m_settings);
    CSkinEdit* pTitle = dialog.FindEdit(QStringLiteral("EDIT_TITLE"));
    ASSERT_NE(pTitle, nullptr) << "our skins have a title box";
    pTitle->setText(QStringLiteral("Clip"));
    for (const CFolderCase& testCase : cases) {
        SCOPED_TRACE(testCase.pszName);
        const CPrivateHome home(testCase.videosEntry);
        if (testCase.bMakeVideos) {
            ASSERT_TRUE(QDir().mkpath(home.Path(testCase.pszExpectedFolder)));
        }
        const QString strExpected = QDir(home.Path(testCase.pszExpectedFolder)).filePath(QStringLiteral("Clip.mpg"));
        // Cancelled, then asked again: the same proposal, not a longer one.
        for (int nAttempt = 0; nAttempt < 2; ++nAttempt) {
            ClickButton(dialog, "BUTTON_CONVERT");
            EXPECT_EQ(m_prompt.m_strLastProposedPath.toStdString(), strExpected.toStdString())
                << "attempt " << nAttempt + 1;
        }
    }
}

TEST_F(SaveDialogFolder, AfterARecordingItsFolderIsProposedWhileItExists)
{
    const CPrivateHome home("$HOME/Videos");
    QTemporaryDir elsewhere;
    const QString strFile = QDir(elsewhere.path()).filePath(QStringLiteral("first.mpg"));
    CConverterDlg dialog(m_prompt, m_settings);
    m_prompt.m_arrFiles = { strFile };
    ClickButton(dialog, "BUTTON_CONVERT");
    ASSERT_TRUE(WaitForElapsed(dialog.RecorderWidget(), 0.5));
    ClickButton(dialog, "BUTTON_STOP");

    ClickButton(dialog, "BUTTON_CONVERT");
    EXPECT_EQ(QFileInfo(m_prompt.m_strLastProposedPath).absolutePath().toStdString(),
              QDir::cleanPath(elsewhere.path()).toStdString());

    ASSERT_TRUE(elsewhere.remove());
    ClickButton(dialog, "BUTTON_CONVERT");
    EXPECT_EQ(QFileInfo(m_prompt.m_strLastProposedPath).absolutePath().toStdString(), home.Path().toStdString())
        << "the last recording's folder is gone, and the user has no videos folder";
}
