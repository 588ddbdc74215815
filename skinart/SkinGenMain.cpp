// Draws the skin packages and frame pictures into the program folder; run by
// the build. With --preview FOLDER it also writes one PNG per skin showing how
// the package looks when loaded; with --icons FOLDER, the program's icon.

#include <cstdio>

#include <QDir>
#include <QGuiApplication>
#include <QStringList>

#include "skinart/FramePictures.h"
#include "skinart/PackageAssembler.h"
#include "skinart/ProgramIcon.h"
#include "skinart/SkinPalette.h"
#include "skinart/SkinPreview.h"
#include "skinart/ZipWriter.h"

namespace {

const QString STARTUP_SKIN = "Pink";
const QString STARTUP_PACKAGE = "Pink.skn";
const QString FRAME_FOLDER = "Frame";

bool WriteFile(const QString& strPath, const QByteArray& data, QString& strError)
{
    QFile file(strPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size()) {
        strError = QString("%1: %2").arg(strPath, file.errorString());
        return false;
    }
    return true;
}

bool WriteSkin(const CSkinPalette& palette, const QDir& dirOut, const QString& strPreviewFolder, QString& strError)
{
    QList<CPackageFile> arrFiles;
    if (!BuildSkinPackage(palette, arrFiles, strError))
        return false;
    CZipWriter zip;
    for (const CPackageFile& file : arrFiles) {
        if (!zip.AddFile(file.strName, file.data)) {
            strError = QString("%1: cannot add %2 to the package").arg(palette.strName, file.strName);
            return false;
        }
    }
    if (!zip.Save(dirOut.filePath(palette.strName + ".zip"), strError))
        return false;
    if (palette.strName == STARTUP_SKIN && !zip.Save(dirOut.filePath(STARTUP_PACKAGE), strError))
        return false;
    if (strPreviewFolder.isEmpty())
        return true;
    QImage imgPreview;
    if (!ComposePreview(arrFiles, imgPreview, strError))
        return false;
    const QString strPreview = QDir(strPreviewFolder).filePath(palette.strName + ".png");
    if (!imgPreview.save(strPreview)) {
        strError = strPreview + ": cannot write the preview";
        return false;
    }
    return true;
}

bool WriteFrames(const QDir& dirOut, QString& strError)
{
    if (!dirOut.mkpath(FRAME_FOLDER)) {
        strError = dirOut.filePath(FRAME_FOLDER) + ": cannot create the folder";
        return false;
    }
    const QDir dirFrames(dirOut.filePath(FRAME_FOLDER));
    for (const CPackageFile& file : BuildFramePictures()) {
        if (file.data.isEmpty()) {
            strError = file.strName + ": cannot encode the picture";
            return false;
        }
        if (!WriteFile(dirFrames.filePath(file.strName), file.data, strError))
            return false;
    }
    return true;
}

// Removes "NAME VALUE" from the arguments; the value, or empty without one.
QString TakeOption(QStringList& arrArgs, const QString& strName)
{
    const qsizetype nAt = arrArgs.indexOf(strName);
    if (nAt < 0 || nAt + 1 >= arrArgs.size())
        return QString();
    const QString strValue = arrArgs[nAt + 1];
    arrArgs.remove(nAt, 2);
    return strValue;
}

} // namespace

int main(int argc, char* argv[])
{
    // Drawing text needs a GUI application, never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList arrArgs = app.arguments().mid(1);
    const QString strPreviewFolder = TakeOption(arrArgs, "--preview");
    const QString strIconFolder = TakeOption(arrArgs, "--icons");
    if (arrArgs.size() != 1) {
        std::fprintf(stderr, "usage: skinrec_skingen OUTPUT_FOLDER [--preview PREVIEW_FOLDER] [--icons ICON_FOLDER]\n");
        return 2;
    }
    const QDir dirOut(arrArgs.first());
    if (!dirOut.mkpath(".") || (!strPreviewFolder.isEmpty() && !QDir().mkpath(strPreviewFolder))) {
        std::fprintf(stderr, "skinrec_skingen: cannot create the output folders\n");
        return 1;
    }
    QString strError;
    for (const CSkinPalette& palette : SkinPalettes()) {
        if (!WriteSkin(palette, dirOut, strPreviewFolder, strError)) {
            std::fprintf(stderr, "skinrec_skingen: %s\n", qPrintable(strError));
            return 1;
        }
        if (palette.strName == STARTUP_SKIN && !strIconFolder.isEmpty()
            && !WriteProgramIcons(palette, strIconFolder, strError)) {
            std::fprintf(stderr, "skinrec_skingen: %s\n", qPrintable(strError));
            return 1;
        }
    }
    if (!WriteFrames(dirOut, strError)) {
        std::fprintf(stderr, "skinrec_skingen: %s\n", qPrintable(strError));
        return 1;
    }
    return 0;
}
