#include "app/ProgramIdentity.h"

#include <QDirIterator>
#include <QGuiApplication>

namespace {

// The icon theme the build draws at every size, inside the program.
const QString ICON_RESOURCES = QStringLiteral(":/icons/hicolor");

} // namespace

QIcon ProgramIdentity::Icon()
{
    QIcon icon;
    QDirIterator sizes(ICON_RESOURCES, { APPLICATION_ID + QStringLiteral(".png") }, QDir::Files,
                       QDirIterator::Subdirectories);
    while (sizes.hasNext())
        icon.addFile(sizes.next());
    return icon;
}

void ProgramIdentity::Apply()
{
    QGuiApplication::setApplicationName(NAME);
    QGuiApplication::setApplicationDisplayName(DISPLAY_NAME);
    QGuiApplication::setDesktopFileName(APPLICATION_ID);
    QGuiApplication::setWindowIcon(Icon());
}
