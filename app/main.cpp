#include <QLoggingCategory>
#include <QTextStream>

#include "app/ConverterApp.h"
#include "app/PlatformChoice.h"
#include "app/ProgramCatalogues.h"
#include "app/ProgramCommandLine.h"
#include "app/QuitSignals.h"
#include "auxiliary/MenuStyler.h"
#include "auxiliary/MenuSystemFacts.h"

namespace {

QStringList Arguments(int argc, char** argv)
{
    QStringList arrArguments;
    for (int nIndex = 0; nIndex < argc; ++nIndex)
        arrArguments.append(QString::fromLocal8Bit(argv[nIndex]));
    return arrArguments;
}

} // namespace

int main(int argc, char** argv)
{
    // First of all: a kill while the program starts must not leave the
    // private folders of a skin being unpacked behind.
    CQuitSignals::CatchBeforeApplication();
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (const std::optional<int> nExit = ProgramCommandLine::AnswerBeforeWindow(argc, argv, out))
        return *nExit;
    // A command for the running program needs no display, nor a window.
    if (const std::optional<int> nExit = ProgramCommandLine::SendRemoteCommand(argc, argv, out, err))
        return *nExit;
    if (ProgramCommandLine::IsVerbose(Arguments(argc, argv)))
        QLoggingCategory::setFilterRules(QString::fromLatin1(ProgramCommandLine::VERBOSE_RULES));
    PlatformChoice::ChooseXWaylandWhereNeeded(argc, argv);
    CConverterApp app(argc, argv);
    ProgramCatalogues::Install(app);
    if (const std::optional<int> nExit = ProgramCommandLine::RefuseLeftovers(Arguments(argc, argv), err))
        return *nExit;
    // Before the window exists, so every popup menu it opens is styled;
    // removed again when the program ends.
    const CMenuStyler menuStyler(CMenuSystemFacts::Gather());
    return app.InitInstance();
}
