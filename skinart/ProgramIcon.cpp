#include "skinart/ProgramIcon.h"

#include <QDir>

#include "skinart/SkinArt.h"

namespace {

// The application id the desktop file names it by (app/ProgramIdentity.h).
const QString ICON_NAME = QStringLiteral("org.skinrecorder.SkinRecorder.png");

} // namespace

QImage DrawProgramIcon(const CSkinPalette& palette, int nSide)
{
    CButtonLayout button;
    button.eFace = EFace::eRound;
    button.eGlyph = EGlyph::eRecord;
    return DrawButtonFace(palette, button, QSize(nSide, nSide));
}

bool WriteProgramIcons(const CSkinPalette& palette, const QString& strFolder, QString& strError)
{
    for (const int nSide : PROGRAM_ICON_SIDES) {
        const QDir dirSize(QDir(strFolder).filePath(QStringLiteral("hicolor/%1x%1/apps").arg(nSide)));
        const QString strPath = dirSize.filePath(ICON_NAME);
        if (!dirSize.mkpath(QStringLiteral(".")) || !DrawProgramIcon(palette, nSide).save(strPath, "PNG")) {
            strError = strPath + ": cannot write the icon";
            return false;
        }
    }
    return true;
}
