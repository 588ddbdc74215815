#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

namespace {

struct CRun
{
    int nExitCode = -1;
    QString strOutput;
    QString strErrors;
};

// The program with the user's language given only by the variables named,
// as a terminal of that language would start it.
CRun RunInLanguage(const QString& strProgram, const QStringList& arrArgs, const QStringList& arrLanguage)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* pszVariable : { "LANG", "LANGUAGE", "LC_ALL", "LC_MESSAGES" })
        environment.remove(QString::fromLatin1(pszVariable));
    for (const QString& strSetting : arrLanguage)
        environment.insert(strSetting.section(u'=', 0, 0), strSetting.section(u'=', 1));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(strProgram, arrArgs);
    CRun run;
    if (!process.waitForFinished())
        return run;
    run.nExitCode = process.exitCode();
    run.strOutput = QString::fromUtf8(process.readAllStandardOutput());
    run.strErrors = QString::fromUtf8(process.readAllStandardError());
    return run;
}

// Help and mistakes in the user's language, found beside the built
// programs as an installed copy finds them in its data folder; English
// where the language has no catalogue or the locale is C.
TEST(ToolLanguage, HelpAndMistakesFollowTheUsersLanguage)
{
    const QStringList GERMAN = { "LANG=de_DE.UTF-8" };
    const struct
    {
        const char* pszCase;
        QString strProgram;
        QStringList arrArgs;
        QStringList arrLanguage;
        int nExitCode;
        QString strOutput; // the start of what it prints
        QString strError;  // part of what it complains
    } cases[] = {
        { "mpegrec help, German", MPEGREC_PATH, { "--help" }, GERMAN, 0, "Aufruf: mpegrec --list\n", {} },
        { "mpegrec help, C", MPEGREC_PATH, { "--help" }, { "LANG=C" }, 0, "usage: mpegrec --list\n", {} },
        { "mpegrec help, LANGUAGE",
          MPEGREC_PATH,
          { "--help" },
          { "LANG=en_US.UTF-8", "LANGUAGE=de" },
          0,
          "Aufruf: mpegrec --list\n",
          {} },
        { "mpegrec help, no catalogue",
          MPEGREC_PATH,
          { "--help" },
          { "LANG=fr_FR.UTF-8" },
          0,
          "usage: mpegrec --list\n",
          {} },
        { "mpegrec mistake, German",
          MPEGREC_PATH,
          { "--channels", "9", "-o", "x.mpg" },
          GERMAN,
          2,
          {},
          "mpegrec: --channels 9: erfordert eine ganze Zahl von 1 bis 8 Kanäle\n"
          "„mpegrec --help“ liefert weitere Informationen." },
        // The engine's reasons come through the recorder's catalogue.
        { "mpegrec disc picture, German",
          MPEGREC_PATH,
          { "-o", "x.mpg", "--target", "dvd", "--size", "640x480" },
          GERMAN,
          2,
          {},
          "mpegrec: DVD erlaubt nicht: Bildgröße 640x480, erfordert 720x576, 704x576, 352x576 oder 352x288\n" },
        { "mpegrec disc type, German",
          MPEGREC_PATH,
          { "-o", "x.mpg", "--target", "dvd", "--type", "mpeg1" },
          GERMAN,
          2,
          {},
          "mpegrec: DVD erlaubt nicht: MPEG-1-Video, erfordert MPEG-2\n" },
        { "skintool help, German", SKINTOOL_PATH, { "--help" }, GERMAN, 0, "Aufruf: skintool list PAKET\n", {} },
        { "skintool help, C", SKINTOOL_PATH, { "--help" }, { "LANG=C" }, 0, "usage: skintool list PACKAGE\n", {} },
        { "skintool check, German",
          SKINTOOL_PATH,
          { "check", "/nonexistent/missing.skn" },
          GERMAN,
          1,
          "/nonexistent/missing.skn: Paket kann nicht entpackt werden\n",
          {} },
        { "skintool mistake, German",
          SKINTOOL_PATH,
          { "frobnicate" },
          GERMAN,
          64,
          {},
          "skintool: unbekannter Befehl 'frobnicate'" },
    };
    for (const auto& runCase : cases) {
        SCOPED_TRACE(runCase.pszCase);
        const CRun run = RunInLanguage(runCase.strProgram, runCase.arrArgs, runCase.arrLanguage);
        EXPECT_EQ(run.nExitCode, runCase.nExitCode) << run.strErrors.toStdString();
        EXPECT_TRUE(run.strOutput.startsWith(runCase.strOutput)) << run.strOutput.toStdString();
        EXPECT_TRUE(run.strErrors.contains(runCase.strError)) << run.strErrors.toStdString();
    }
}

} // namespace
