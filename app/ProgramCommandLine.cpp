#include "app/ProgramCommandLine.h"

#include <csignal>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

#include "app/ProgramCatalogues.h"
#include "app/ProgramIdentity.h"
#include "app/RemoteCommand.h"
#include "version/ProjectVersion.h"

namespace ProgramCommandLine {

namespace {

// The descriptions are translated when the parser is made, once the
// catalogues are installed.
constexpr char CONTEXT[] = "ProgramCommandLine";
const QStringList HELP_NAMES = { QStringLiteral("h"), QStringLiteral("help") };
const QStringList VERSION_NAMES = { QStringLiteral("v"), QStringLiteral("version") };
const QString VERBOSE_NAME = QStringLiteral("verbose");

struct CRemoteOption
{
    const char* pszName;
    const char* pszDescription;
    RemoteCommand::ECommand eCommand;
};

const CRemoteOption REMOTE_OPTIONS[] = {
    { "record",
      QT_TRANSLATE_NOOP("ProgramCommandLine",
                        "Record into FILE (the name the window proposes when none is given); "
                        "starts the program first when it does not run."),
      RemoteCommand::ECommand::Record },
    { "play", QT_TRANSLATE_NOOP("ProgramCommandLine", "Preview without a file, or resume."),
      RemoteCommand::ECommand::Play },
    { "pause", QT_TRANSLATE_NOOP("ProgramCommandLine", "Pause the recording or the preview."),
      RemoteCommand::ECommand::Pause },
    { "resume", QT_TRANSLATE_NOOP("ProgramCommandLine", "Resume after --pause."), RemoteCommand::ECommand::Resume },
    { "stop", QT_TRANSLATE_NOOP("ProgramCommandLine", "Stop and close the file."), RemoteCommand::ECommand::Stop },
    { "toggle",
      QT_TRANSLATE_NOOP("ProgramCommandLine",
                        "Stop a recording, or else record as --record does: the command for a "
                        "desktop shortcut."),
      RemoteCommand::ECommand::Toggle },
    { "show", QT_TRANSLATE_NOOP("ProgramCommandLine", "Bring the window to the front."),
      RemoteCommand::ECommand::Show },
    { "status",
      QT_TRANSLATE_NOOP("ProgramCommandLine",
                        "Print the state, the file and the time recorded; exit status 3 when "
                        "the program does not run."),
      RemoteCommand::ECommand::Status },
    { "timer-add",
      QT_TRANSLATE_NOOP("ProgramCommandLine",
                        "Add the timer given after it, \"TITLE;YYYY-MM-DD HH:MM;MINUTES\" (or \"TITLE;Mon,Wed "
                        "20:15;until 21:45\", \"daily 20:15\"), recording with the window's "
                        "settings; prints its id. Starts the program first when it does not run."),
      RemoteCommand::ECommand::TimerAdd },
    { "timer-remove", QT_TRANSLATE_NOOP("ProgramCommandLine", "Delete the timer whose id is given after it."),
      RemoteCommand::ECommand::TimerRemove },
    { "timers",
      QT_TRANSLATE_NOOP("ProgramCommandLine",
                        "Print the timers, one a line: id, timer as --timer-add takes it, state."),
      RemoteCommand::ECommand::Timers },
};

const char* const UNEXPECTED_ARGUMENT = QT_TRANSLATE_NOOP("ProgramCommandLine", "Unexpected argument '%1'.");

QString Translated(const char* pszText)
{
    return QCoreApplication::translate(CONTEXT, pszText);
}

// Parses as Qt reads its own options, so "-platform" is one unknown option,
// never the short options p, l, a, ... of which one might be ours.
bool Parse(QCommandLineParser& parser, const QStringList& arrArguments)
{
    parser.setApplicationDescription(
        Translated(QT_TRANSLATE_NOOP("ProgramCommandLine",
                                     "Records video and audio into MPEG or AVI files, in a window whose look comes "
                                     "from a skin package.\nQt's own options, such as -platform NAME, are taken as "
                                     "well.\nThe commands --record to --timers act on the program already running "
                                     "and exit: 0 when done, 1 with the reason on standard error. Without a command, "
                                     "a second start brings the running program's window to the front.")));
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOption(QCommandLineOption(
        HELP_NAMES, Translated(QT_TRANSLATE_NOOP("ProgramCommandLine", "Print these options and exit."))));
    parser.addOption(QCommandLineOption(
        VERSION_NAMES,
        Translated(QT_TRANSLATE_NOOP("ProgramCommandLine", "Print the program's name and version and exit."))));
    for (const CRemoteOption& remote : REMOTE_OPTIONS)
        parser.addOption(QCommandLineOption(QLatin1String(remote.pszName), Translated(remote.pszDescription)));
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 Translated(QT_TRANSLATE_NOOP("ProgramCommandLine", "The file --record records into.")),
                                 QStringLiteral("[FILE]"));
    parser.addOption(QCommandLineOption(VERBOSE_NAME,
                                        Translated(QT_TRANSLATE_NOOP("ProgramCommandLine",
                                                                     "Print a trace of the skins and recordings "
                                                                     "on standard error, for a bug report."))));
    return parser.parse(arrArguments);
}

QStringList Arguments(int argc, char** argv)
{
    QStringList arrArguments;
    for (int nIndex = 0; nIndex < argc; ++nIndex)
        arrArguments.append(QString::fromLocal8Bit(argv[nIndex]));
    return arrArguments;
}

// The commands for the running program the command line gives, in the order
// of the options' table.
QList<RemoteCommand::ECommand> RemoteCommands(const QStringList& arrArguments)
{
    QCommandLineParser parser;
    Parse(parser, arrArguments);
    QList<RemoteCommand::ECommand> arrCommands;
    for (const CRemoteOption& remote : REMOTE_OPTIONS) {
        if (parser.isSet(QLatin1String(remote.pszName)))
            arrCommands.append(remote.eCommand);
    }
    return arrCommands;
}

QString ProgramName(const QStringList& arrArguments)
{
    return arrArguments.isEmpty() ? ProgramIdentity::NAME : arrArguments.first().section(u'/', -1);
}

int ReportMistake(const QStringList& arrArguments, const QString& strMistake, QTextStream& err)
{
    err << ProgramName(arrArguments) << ": " << strMistake << u'\n'
        << Translated(QT_TRANSLATE_NOOP("ProgramCommandLine", "Try '%1 --help'.")).arg(ProgramName(arrArguments))
        << u'\n';
    return EXIT_USAGE;
}

} // namespace

std::optional<int> AnswerBeforeWindow(int& argc, char** argv, QTextStream& out)
{
    const QStringList arrArguments = Arguments(argc, argv);
    QCommandLineParser parser;
    Parse(parser, arrArguments);
    if (parser.isSet(HELP_NAMES.first())) {
        // Only now an application, for the user's language: the window's
        // start does not wait for one made and dropped.
        QCoreApplication app(argc, argv);
        ProgramCatalogues::Install(app);
        QCommandLineParser translated;
        Parse(translated, arrArguments);
        // The usage line names the program as it was called, as before the
        // application existed, not by the path the application gives it.
        QString strHelp = translated.helpText();
        const QString strCalledAs = QCoreApplication::arguments().value(0);
        const qsizetype nAt = strCalledAs.isEmpty() ? -1 : strHelp.indexOf(strCalledAs);
        if (nAt >= 0)
            strHelp.replace(nAt, strCalledAs.size(), ProgramName(arrArguments));
        out << strHelp;
        return 0;
    }
    if (parser.isSet(VERSION_NAMES.first())) {
        out << ProgramIdentity::NAME << " (SkinRecorder) " << SKINREC_VERSION << u'\n';
        return 0;
    }
    return std::nullopt;
}

bool IsVerbose(const QStringList& arrArguments)
{
    QCommandLineParser parser;
    Parse(parser, arrArguments);
    return parser.isSet(VERBOSE_NAME);
}

std::optional<int> RefuseLeftovers(const QStringList& arrArguments, QTextStream& err)
{
    QCommandLineParser parser;
    QString strMistake;
    if (!Parse(parser, arrArguments))
        strMistake = parser.errorText();
    else if (!parser.positionalArguments().isEmpty())
        strMistake = Translated(UNEXPECTED_ARGUMENT).arg(parser.positionalArguments().first());
    else
        return std::nullopt;
    return ReportMistake(arrArguments, strMistake, err);
}

std::optional<int> SendRemoteCommand(int& argc, char** argv, QTextStream& out, QTextStream& err)
{
    const QStringList arrArguments = Arguments(argc, argv);
    const QList<RemoteCommand::ECommand> arrCommands = RemoteCommands(arrArguments);
    if (arrCommands.isEmpty())
        return std::nullopt;
    // Made before the command line is judged, so its mistakes are told in
    // the user's language.
    QCoreApplication app(argc, argv);
    ProgramCatalogues::Install(app);
    QCommandLineParser parser;
    const bool bParsed = Parse(parser, arrArguments);
    const QStringList arrFiles = parser.positionalArguments();
    const bool bRecord = arrCommands.first() == RemoteCommand::ECommand::Record;
    const bool bTimer = arrCommands.first() == RemoteCommand::ECommand::TimerAdd
        || arrCommands.first() == RemoteCommand::ECommand::TimerRemove;
    // Qt's options are refused too: they are for the window, which a
    // command never makes.
    if (!bParsed)
        return ReportMistake(arrArguments, parser.errorText(), err);
    if (arrCommands.size() > 1)
        return ReportMistake(arrArguments,
                             Translated(QT_TRANSLATE_NOOP("ProgramCommandLine", "Give one command at a time.")), err);
    if (arrFiles.size() > (bRecord || bTimer ? 1 : 0))
        return ReportMistake(arrArguments, Translated(UNEXPECTED_ARGUMENT).arg(arrFiles.last()), err);
    if (bTimer && arrFiles.isEmpty())
        return ReportMistake(arrArguments,
                             Translated(QT_TRANSLATE_NOOP("ProgramCommandLine", "Which timer? See --help.")), err);
    // Nothing to close on Ctrl+C while a command waits for its answer: the
    // system's default action ends it.
    for (const int nSignal : { SIGTERM, SIGINT, SIGHUP })
        std::signal(nSignal, SIG_DFL);
    // The running program has a current folder of its own.
    const QString strFile = !bRecord || arrFiles.isEmpty() ? QString() : QFileInfo(arrFiles.first()).absoluteFilePath();
    const QString strTimer = bTimer ? arrFiles.first() : QString();
    return RemoteCommand::Run(QDBusConnection::sessionBus(), { arrCommands.first(), strFile, strTimer },
                              QCoreApplication::applicationFilePath(), out, err);
}

} // namespace ProgramCommandLine
