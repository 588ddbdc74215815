#include "skin/SkinUnpacker.h"

#include <exception>

#include <QCoreApplication>

#include "skin/Prompt.h"
#include "skin/SkinArchive.h"

namespace {

// Translated when shown.
constexpr char CONTEXT[] = "SkinUnpacker";
const char* const RETRY_QUESTION =
    QT_TRANSLATE_NOOP("SkinUnpacker",
                      "The central directory was not found. If you're opening a multi-disk archive, "
                      "make sure you have inserted the last disk. Retry?");
const char* const OPEN_FAILED = QT_TRANSLATE_NOOP("SkinUnpacker", "Open failed");
const char* const EXTRACT_FAILED = QT_TRANSLATE_NOOP("SkinUnpacker", "Extract failed");
const char* const UNKNOWN_ERROR = QT_TRANSLATE_NOOP("SkinUnpacker", "unknown error");

QString Tr(const char* pszText)
{
    return QCoreApplication::translate(CONTEXT, pszText);
}

// Opens the package, asking again while the central directory is missing
// and the user wants to retry. Returns Ok when the archive is open.
EUnpackResult OpenPackage(CSkinArchive& archive, const QString& strPackage, IPrompt& prompt)
{
    for (;;) {
        try {
            archive.Open(strPackage);
            return EUnpackResult::Ok;
        } catch (const CZipException& exception) {
            if (exception.GetCause() != CZipException::eCdirNotFound) {
                prompt.ShowMessage(Tr(OPEN_FAILED), IPrompt::EIcon::Stop, QString::fromStdString(exception.what()));
                return EUnpackResult::OpenFailed;
            }
            if (prompt.AskYesNo(Tr(RETRY_QUESTION), IPrompt::EIcon::Stop) == IPrompt::EAnswer::Yes) {
                archive.Close();
                continue;
            }
            prompt.ShowMessage(Tr(OPEN_FAILED), IPrompt::EIcon::Stop, QString::fromStdString(exception.what()));
            return EUnpackResult::NoCentralDirectory;
        } catch (const std::exception& exception) {
            prompt.ShowMessage(Tr(OPEN_FAILED), IPrompt::EIcon::Stop, QString::fromStdString(exception.what()));
            return EUnpackResult::OpenFailed;
        } catch (...) {
            // Callers sit in event handlers: nothing may pass this edge.
            prompt.ShowMessage(Tr(OPEN_FAILED), IPrompt::EIcon::Stop, Tr(UNKNOWN_ERROR));
            return EUnpackResult::OpenFailed;
        }
    }
}

EUnpackResult ExtractionStopped(CSkinArchive& archive, IPrompt& prompt, const QString& strCause, EUnpackResult eResult)
{
    archive.Close();
    prompt.ShowMessage(Tr(EXTRACT_FAILED), IPrompt::EIcon::Stop, strCause);
    return eResult;
}

} // namespace

EUnpackResult UnpackSkin(CSkinArchive& archive, const QString& strPackage, const QString& strFolder, IPrompt& prompt,
                         EExistingFile eExisting)
{
    archive.Close();
    const EUnpackResult eOpened = OpenPackage(archive, strPackage, prompt);
    if (eOpened != EUnpackResult::Ok)
        return eOpened;
    try {
        const int nCount = archive.GetEntryCount();
        for (int i = 0; i < nCount; ++i)
            archive.ExtractEntry(quint16(i), strFolder, eExisting);
    } catch (const CExistingFileException& exception) {
        return ExtractionStopped(archive, prompt, QString::fromStdString(exception.what()), EUnpackResult::FileExists);
    } catch (const std::exception& exception) {
        return ExtractionStopped(archive, prompt, QString::fromStdString(exception.what()),
                                 EUnpackResult::ExtractFailed);
    } catch (...) {
        return ExtractionStopped(archive, prompt, Tr(UNKNOWN_ERROR), EUnpackResult::ExtractFailed);
    }
    archive.Close();
    return EUnpackResult::Ok;
}
