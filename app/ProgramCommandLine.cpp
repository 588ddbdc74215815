#include "app/ProgramCommandLine.h"

#include <csignal>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

#include "app/ProgramIdentity.h"
#include "app/RemoteCommand.h"
#include "version/ProjectVersion.h"

namespace ProgramCommandLine {

namespace {

const QCommandLineOption HELP_OPTION({ QStringLiteral("h"), QStringLiteral("help") },
                                     QStringLiteral("Print these options and exit."));
const QCommandLineOption VERSION_OPTION({ QStringLiteral("v"), QStringLiteral("version") },
                                        QStringLiteral("Print the program's name and version and exit."));
struct CRemoteOption
{
    QCommandLineOption option;
    RemoteCommand::ECommand eCommand;
};

const CRemoteOption REMOTE_OPTIONS[] = {
    { QCommandLineOption(QStringLiteral("record"),
                         QStringLiteral("Record into FILE (the name the window proposes when none is given); starts "
                                        "the program first when it does not run.")),
      RemoteCommand::ECommand::Record },
    { QCommandLineOption(QStringLiteral("play"), QStringLiteral("Preview without a file, or resume.")),
      RemoteCommand::ECommand::Play },
    { QCommandLineOption(QStringLiteral("pause"), QStringLiteral("Pause the recording or the preview.")),
      RemoteCommand::ECommand::Pause },
    { QCommandLineOption(QStringLiteral("resume"), QStringLiteral("Resume after --pause.")),
      RemoteCommand::ECommand::Resume },
    { QCommandLineOption(QStringLiteral("stop"), QStringLiteral("Stop and close the file.")),
      RemoteCommand::ECommand::Stop },
    { QCommandLineOption(QStringLiteral("toggle"),
                         QStringLiteral("Stop a recording, or else record as --record does: the command for a "
                                        "desktop shortcut.")),
      RemoteCommand::ECommand::Toggle },
    { QCommandLineOption(QStringLiteral("show"), QStringLiteral("Bring the window to the front.")),
      RemoteCommand::ECommand::Show },
    { QCommandLineOption(QStringLiteral("status"),
                         QStringLiteral("Print the state, the file and the time recorded; exit status 3 when the "
                                        "program does not run.")),
      RemoteCommand::ECommand::Status },
    { QCommandLineOption(
          QStringLiteral("timer-add"),
          QStringLiteral("Add the timer given after it, \"TITLE;YYYY-MM-DD HH:MM;MINUTES\" (or \"TITLE;Mon,Wed "
                         "20:15;until 21:45\", \"daily 20:15\"), recording with the window's "
                         "settings; prints its id. Starts the program first when it does not run.")),
      RemoteCommand::ECommand::TimerAdd },
    { QCommandLineOption(QStringLiteral("timer-remove"),
                         QStringLiteral("Delete the timer whose id is given after it.")),
      RemoteCommand::ECommand::TimerRemove },
    { QCommandLineOption(QStringLiteral("timers"),
                         QStringLiteral("Print the timers, one a line: id, timer as --timer-add takes it, state.")),
      RemoteCommand::ECommand::Timers },
};

const QCommandLineOption VERBOSE_OPTION(QStringLiteral("verbose"),
                                        QStringLiteral("Print a trace of the skins and recordings on standard error, "
                                                       "for a bug report."));
const QString DESCRIPTION =
    QStringLiteral("Records video and audio into MPEG or AVI files, in a window whose look comes from a skin "
                   "package.\nQt's own options, such as -platform NAME, are taken as well.\n"
                   "The commands --record to --timers act on the program already running and exit: 0 when done, "
                   "1 with the reason on standard error. Without a command, a second start brings the running "
                   "program's window to the front.");

// Parses as Qt reads its own options, so "-platform" is one unknown option,
// never the short options p, l, a, ... of which one might be ours.
bool Parse(QCommandLineParser& parser, const QStringList& arrArguments)
{
    parser.setApplicationDescription(DESCRIPTION);
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOption(HELP_OPTION);
    parser.addOption(VERSION_OPTION);
    for (const CRemoteOption& remote : REMOTE_OPTIONS)
        parser.addOption(remote.option);
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The file --record records into."),
                                 QStringLiteral("[FILE]"));
    parser.addOption(VERBOSE_OPTION);
    return parser.parse(arrArguments);
}

QString ProgramName(const QStringList& arrArguments)
{
    return arrArguments.isEmpty() ? ProgramIdentity::NAME : arrArguments.first().section(u'/', -1);
}

int ReportMistake(const QStringList& arrArguments, const QString& strMistake, QTextStream& err)
{
    err << ProgramName(arrArguments) << ": " << strMistake << "\nTry '" << ProgramName(arrArguments) << " --help'.\n";
    return EXIT_USAGE;
}

} // namespace

std::optional<int> AnswerBeforeWindow(const QStringList& arrArguments, QTextStream& out)
{
    QCommandLineParser parser;
    Parse(parser, arrArguments);
    if (parser.isSet(HELP_OPTION)) {
        out << parser.helpText().replace(QStringLiteral("<executable_name>"), ProgramName(arrArguments));
        return 0;
    }
    if (parser.isSet(VERSION_OPTION)) {
        out << ProgramIdentity::NAME << " (SkinRecorder) " << SKINREC_VERSION << u'\n';
        return 0;
    }
    return std::nullopt;
}

bool IsVerbose(const QStringList& arrArguments)
{
    QCommandLineParser parser;
    Parse(parser, arrArguments);
    return parser.isSet(VERBOSE_OPTION);
}

std::optional<int> RefuseLeftovers(const QStringList& arrArguments, QTextStream& err)
{
    QCommandLineParser parser;
    QString strMistake;
    if (!Parse(parser, arrArguments))
        strMistake = parser.errorText();
    else if (!parser.positionalArguments().isEmpty())
        strMistake = QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().first());
    else
        return std::nullopt;
    return ReportMistake(arrArguments, strMistake, err);
}

std::optional<int> SendRemoteCommand(int& argc, char** argv, QTextStream& out, QTextStream& err)
{
    QStringList arrArguments;
    for (int nIndex = 0; nIndex < argc; ++nIndex)
        arrArguments.append(QString::fromLocal8Bit(argv[nIndex]));
    QCommandLineParser parser;
    const bool bParsed = Parse(parser, arrArguments);
    QList<RemoteCommand::ECommand> arrCommands;
    for (const CRemoteOption& remote : REMOTE_OPTIONS) {
        if (parser.isSet(remote.option))
            arrCommands.append(remote.eCommand);
    }
    if (arrCommands.isEmpty())
        return std::nullopt;
    const QStringList arrFiles = parser.positionalArguments();
    const bool bRecord = arrCommands.first() == RemoteCommand::ECommand::Record;
    const bool bTimer = arrCommands.first() == RemoteCommand::ECommand::TimerAdd
        || arrCommands.first() == RemoteCommand::ECommand::TimerRemove;
    // Qt's options are refused too: they are for the window, which a
    // command never makes.
    if (!bParsed)
        return ReportMistake(arrArguments, parser.errorText(), err);
    if (arrCommands.size() > 1)
        return ReportMistake(arrArguments, QStringLiteral("Give one command at a time."), err);
    if (arrFiles.size() > (bRecord || bTimer ? 1 : 0))
        return ReportMistake(arrArguments, QStringLiteral("Unexpected argument '%1'.").arg(arrFiles.last()), err);
    if (bTimer && arrFiles.isEmpty())
        return ReportMistake(arrArguments, QStringLiteral("Which timer? See --help."), err);
    // Nothing to close on Ctrl+C while a command waits for its answer: the
    // system's default action ends it.
    for (const int nSignal : { SIGTERM, SIGINT, SIGHUP })
        std::signal(nSignal, SIG_DFL);
    // The running program has a current folder of its own.
    const QString strFile = !bRecord || arrFiles.isEmpty() ? QString() : QFileInfo(arrFiles.first()).absoluteFilePath();
    const QString strTimer = bTimer ? arrFiles.first() : QString();
    const QCoreApplication app(argc, argv);
    return RemoteCommand::Run(QDBusConnection::sessionBus(), { arrCommands.first(), strFile, strTimer },
                              QCoreApplication::applicationFilePath(), out, err);
}

} // namespace ProgramCommandLine
