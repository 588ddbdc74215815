#include "app/PlatformChoice.h"

namespace PlatformChoice {

namespace {

bool IsSet(const QProcessEnvironment& environment, const char* pszName)
{
    return !environment.value(QString::fromLatin1(pszName)).isEmpty();
}

// Qt reads "-platform NAME" from the command line, also with two dashes.
bool NamesPlatform(const QStringList& arrArguments)
{
    for (qsizetype nIndex = 1; nIndex < arrArguments.size(); ++nIndex) {
        if (arrArguments[nIndex] == u"-platform" || arrArguments[nIndex] == u"--platform")
            return true;
    }
    return false;
}

} // namespace

bool ShouldRunOnXWayland(const QProcessEnvironment& environment, const QStringList& arrArguments)
{
    return IsSet(environment, "WAYLAND_DISPLAY") && IsSet(environment, "DISPLAY")
        && !IsSet(environment, PLATFORM_VARIABLE) && !NamesPlatform(arrArguments);
}

void ChooseXWaylandWhereNeeded(int argc, char** argv)
{
    QStringList arrArguments;
    for (int nIndex = 0; nIndex < argc; ++nIndex)
        arrArguments.append(QString::fromLocal8Bit(argv[nIndex]));
    if (ShouldRunOnXWayland(QProcessEnvironment::systemEnvironment(), arrArguments))
        qputenv(PLATFORM_VARIABLE, X11_PLATFORM);
}

} // namespace PlatformChoice
