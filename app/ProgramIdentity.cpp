#include "app/ProgramIdentity.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>

namespace {

constexpr int ICON_SIZE = 32;

} // namespace

QIcon ProgramIdentity::Icon()
{
    QPixmap pixIcon(ICON_SIZE, ICON_SIZE);
    pixIcon.fill(Qt::transparent);
    QPainter painter(&pixIcon);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(240, 150, 190));
    painter.drawEllipse(QRect(1, 1, ICON_SIZE - 2, ICON_SIZE - 2));
    painter.setBrush(QColor(210, 20, 40));
    painter.drawEllipse(QRect(ICON_SIZE / 4, ICON_SIZE / 4, ICON_SIZE / 2, ICON_SIZE / 2));
    painter.end();
    return QIcon(pixIcon);
}

void ProgramIdentity::Apply()
{
    QGuiApplication::setApplicationName(NAME);
    QGuiApplication::setApplicationDisplayName(DISPLAY_NAME);
    QGuiApplication::setDesktopFileName(NAME);
    QGuiApplication::setWindowIcon(Icon());
}
