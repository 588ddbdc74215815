#include <gtest/gtest.h>

#include "app/PlatformChoice.h"

namespace {

struct CPlatformCase
{
    const char* pszSituation;
    QStringList arrVariables; // NAME=VALUE
    QStringList arrArguments;
    bool bXWayland;
};

QProcessEnvironment EnvironmentOf(const QStringList& arrVariables)
{
    QProcessEnvironment environment;
    for (const QString& strVariable : arrVariables)
        environment.insert(strVariable.section(u'=', 0, 0), strVariable.section(u'=', 1));
    return environment;
}

TEST(PlatformChoice, XWaylandOnlyWhereThereIsOneAndTheUserChoseNoPlatform)
{
    const QStringList arrProgram = { "skinrecorder" };
    const CPlatformCase arrCases[] = {
        { "Wayland with X", { "WAYLAND_DISPLAY=wayland-0", "DISPLAY=:0" }, arrProgram, true },
        { "Wayland with X, other arguments",
          { "WAYLAND_DISPLAY=wayland-0", "DISPLAY=:0" },
          { "skinrecorder", "-style", "fusion" },
          true },
        { "Wayland without X", { "WAYLAND_DISPLAY=wayland-0" }, arrProgram, false },
        { "Wayland with an empty DISPLAY", { "WAYLAND_DISPLAY=wayland-0", "DISPLAY=" }, arrProgram, false },
        { "the user's platform variable",
          { "WAYLAND_DISPLAY=wayland-0", "DISPLAY=:0", "QT_QPA_PLATFORM=wayland" },
          arrProgram,
          false },
        { "the user's -platform",
          { "WAYLAND_DISPLAY=wayland-0", "DISPLAY=:0" },
          { "skinrecorder", "-platform", "wayland" },
          false },
        { "the user's --platform",
          { "WAYLAND_DISPLAY=wayland-0", "DISPLAY=:0" },
          { "skinrecorder", "--platform", "wayland" },
          false },
        { "X alone", { "DISPLAY=:0" }, arrProgram, false },
        { "no display at all", {}, arrProgram, false },
    };
    for (const CPlatformCase& platformCase : arrCases) {
        SCOPED_TRACE(platformCase.pszSituation);
        EXPECT_EQ(
            PlatformChoice::ShouldRunOnXWayland(EnvironmentOf(platformCase.arrVariables), platformCase.arrArguments),
            platformCase.bXWayland);
    }
}

} // namespace
