#include "app/ProgramCommandLine.h"

#include <QCommandLineParser>

#include "app/ProgramIdentity.h"
#include "version/ProjectVersion.h"

namespace ProgramCommandLine {

namespace {

const QCommandLineOption HELP_OPTION({ QStringLiteral("h"), QStringLiteral("help") },
                                     QStringLiteral("Print these options and exit."));
const QCommandLineOption VERSION_OPTION({ QStringLiteral("v"), QStringLiteral("version") },
                                        QStringLiteral("Print the program's name and version and exit."));
const QCommandLineOption VERBOSE_OPTION(QStringLiteral("verbose"),
                                        QStringLiteral("Print a trace of the skins and recordings on standard error, "
                                                       "for a bug report."));
const QString DESCRIPTION =
    QStringLiteral("Records video and audio into MPEG or AVI files, in a window whose look comes from a skin "
                   "package.\nQt's own options, such as -platform NAME, are taken as well.");

// Parses as Qt reads its own options, so "-platform" is one unknown option,
// never the short options p, l, a, ... of which one might be ours.
bool Parse(QCommandLineParser& parser, const QStringList& arrArguments)
{
    parser.setApplicationDescription(DESCRIPTION);
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOption(HELP_OPTION);
    parser.addOption(VERSION_OPTION);
    parser.addOption(VERBOSE_OPTION);
    return parser.parse(arrArguments);
}

QString ProgramName(const QStringList& arrArguments)
{
    return arrArguments.isEmpty() ? ProgramIdentity::NAME : arrArguments.first().section(u'/', -1);
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
    err << ProgramName(arrArguments) << ": " << strMistake << "\nTry '" << ProgramName(arrArguments) << " --help'.\n";
    return EXIT_USAGE;
}

} // namespace ProgramCommandLine
