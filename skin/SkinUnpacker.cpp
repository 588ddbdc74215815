#include "skin/SkinUnpacker.h"

#include <exception>

#include "skin/Prompt.h"
#include "skin/SkinArchive.h"

namespace {

const QString RETRY_QUESTION =
    QStringLiteral("The central directory was not found. If you're opening a multi-disk archive, "
                   "make sure you have inserted the last disk. Retry?");
const QString OPEN_FAILED = QStringLiteral("Open failed");
const QString EXTRACT_FAILED = QStringLiteral("Extract failed");
const QString UNKNOWN_ERROR = QStringLiteral("unknown error");

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
                prompt.ShowMessage(OPEN_FAILED, IPrompt::EIcon::Stop, QString::fromStdString(exception.what()));
                return EUnpackResult::OpenFailed;
            }
            if (prompt.AskYesNo(RETRY_QUESTION, IPrompt::EIcon::Stop) == IPrompt::EAnswer::Yes) {
                archive.Close();
                continue;
            }
            prompt.ShowMessage(OPEN_FAILED, IPrompt::EIcon::Stop, QString::fromStdString(exception.what()));
            return EUnpackResult::NoCentralDirectory;
        } catch (const std::exception& exception) {
            prompt.ShowMessage(OPEN_FAILED, IPrompt::EIcon::Stop, QString::fromStdString(exception.what()));
            return EUnpackResult::OpenFailed;
        } catch (...) {
            // Callers sit in event handlers: nothing may pass this edge.
            prompt.ShowMessage(OPEN_FAILED, IPrompt::EIcon::Stop, UNKNOWN_ERROR);
            return EUnpackResult::OpenFailed;
        }
    }
}

EUnpackResult ExtractionStopped(CSkinArchive& archive, IPrompt& prompt, const QString& strCause, EUnpackResult eResult)
{
    archive.Close();
    prompt.ShowMessage(EXTRACT_FAILED, IPrompt::EIcon::Stop, strCause);
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
        return ExtractionStopped(archive, prompt, UNKNOWN_ERROR, EUnpackResult::ExtractFailed);
    }
    archive.Close();
    return EUnpackResult::Ok;
}
