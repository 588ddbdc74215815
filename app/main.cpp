#include "app/ConverterApp.h"
#include "app/PlatformChoice.h"
#include "auxiliary/MenuStyler.h"
#include "auxiliary/MenuSystemFacts.h"

int main(int argc, char** argv)
{
    PlatformChoice::ChooseXWaylandWhereNeeded(argc, argv);
    CConverterApp app(argc, argv);
    // Before the window exists, so every popup menu it opens is styled;
    // removed again when the program ends.
    const CMenuStyler menuStyler(CMenuSystemFacts::Gather());
    return app.InitInstance();
}
