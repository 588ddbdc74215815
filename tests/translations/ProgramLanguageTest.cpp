#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLocale>
#include <QMenu>
#include <QProcess>
#include <QTranslator>

#include "app/AccessibleControls.h"
#include "app/ConverterDlg.h"
#include "app/ProgramCatalogues.h"
#include "tests/common/ProgramSkin.h"
#include "tests/common/ScriptedPrompt.h"

// The program speaks German where the user's language is German, and the
// English of its sources where no catalogue is for it.

namespace {

constexpr int TIMEOUT_MS = 30000;

QString ProgramPath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/skinrecorder");
}

struct CCommandLineCase
{
    const char* pszLang;
    QStringList arrArguments;
    // What the program prints, on standard output or standard error.
    const char* pszLine;
};

TEST(ProgramLanguage, TheCommandLineAnswersInTheUsersLanguage)
{
    if (!QFileInfo(ProgramPath()).isExecutable())
        GTEST_SKIP() << "the program is not built beside the test";
    const CCommandLineCase cases[] = {
        // --help is answered before the window's application exists.
        { "de_DE.UTF-8", { "--help" }, "Diese Optionen ausgeben und beenden." },
        { "C", { "--help" }, "Print these options and exit." },
        // A command's mistakes are told before the running program is asked.
        { "de_DE.UTF-8", { "--stop", "extra" }, "skinrecorder: Unerwartetes Argument 'extra'." },
        { "C", { "--stop", "extra" }, "skinrecorder: Unexpected argument 'extra'." },
        // The window's application, which then refuses what Qt left over.
        { "de_DE.UTF-8", { "-platform", "offscreen", "extra" }, "skinrecorder: Unerwartetes Argument 'extra'." },
    };
    for (const CCommandLineCase& c : cases) {
        SCOPED_TRACE(std::string(c.pszLang) + " " + c.arrArguments.join(u' ').toStdString());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* pszVariable : { "LC_ALL", "LC_MESSAGES", "LANGUAGE" })
            environment.remove(QString::fromLatin1(pszVariable));
        environment.insert(QStringLiteral("LANG"), QString::fromLatin1(c.pszLang));
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(ProgramPath(), c.arrArguments);
        ASSERT_TRUE(program.waitForFinished(TIMEOUT_MS));
        const QString strPrinted = QString::fromUtf8(program.readAllStandardOutput() + program.readAllStandardError());
        EXPECT_TRUE(strPrinted.contains(QString::fromUtf8(c.pszLine))) << strPrinted.toStdString();
    }
}

struct CWindowCase
{
    QLocale locale;
    const char* pszTimersCommand;
    const char* pszConvertName;
    const char* pszSaveTitle;
};

TEST(ProgramLanguage, TheWindowSpeaksTheUsersLanguage)
{
    if (!CProgramCurrentDirectory::HasProgramSkin(CConverterDlg::DEFAULT_SKIN))
        GTEST_SKIP() << "the skin packages are not built beside the test";
    const CWindowCase cases[] = {
        { QLocale(QLocale::German, QLocale::Germany), "&Timer…", "Aufnehmen", "Speichern unter" },
        { QLocale::c(), "&Timers…", "Record", "Save As" },
    };
    const QLocale oldDefault;
    for (const CWindowCase& c : cases) {
        SCOPED_TRACE(c.locale.name().toStdString());
        QLocale::setDefault(c.locale);
        ProgramCatalogues::Install(*QCoreApplication::instance());
        {
            CProgramCurrentDirectory current;
            CScriptedPrompt prompt;
            CConverterDlg dialog(prompt);
            ASSERT_TRUE(dialog.HasSkin());
            QStringList arrMenu;
            for (const QAction* pAction : dialog.SkinMenu()->actions())
                arrMenu.append(pAction->text());
            EXPECT_TRUE(arrMenu.contains(QString::fromUtf8(c.pszTimersCommand))) << arrMenu.join(u'|').toStdString();
            EXPECT_EQ(ProgramNameOf(CConverterDlg::CONVERT_BUTTON), QString::fromUtf8(c.pszConvertName));
            // Asked for a file, and cancelled.
            dialog.RunCommand(CConverterDlg::CONVERT_BUTTON, prompt);
            EXPECT_EQ(prompt.Texts().value(0), QString::fromUtf8(c.pszSaveTitle));
        }
        // Each translator goes with its object; the next row starts bare.
        qDeleteAll(QCoreApplication::instance()->findChildren<QTranslator*>(Qt::FindDirectChildrenOnly));
    }
    QLocale::setDefault(oldDefault);
}

} // namespace
