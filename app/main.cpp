#include "app/ConverterApp.h"

int main(int argc, char** argv)
{
    CConverterApp app(argc, argv);
    return app.InitInstance();
}
