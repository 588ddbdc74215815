#pragma once

#include <QString>

#include "skin/ExtractedFile.h"

class CSkinArchive;
class IPrompt;

enum class EUnpackResult {
    Ok,
    OpenFailed,         // "Open failed" shown
    ExtractFailed,      // "Extract failed" shown; entries before the failure stay
    NoCentralDirectory, // the retry question answered No, then "Open failed" shown
    FileExists,         // "Extract failed" shown, naming a file that was not replaced
};

// Unpacks the whole skin package strPackage into strFolder with archive,
// telling the user about failures through prompt (stop icon): a missing
// central directory asks whether to retry, any other failure to open shows
// "Open failed", any failure while extracting "Extract failed". Entries the
// reader refuses without error are left out silently. A file already in
// strFolder at an entry's name is replaced only when eExisting says so, and
// no write follows a symbolic link inside strFolder. The archive is closed
// afterwards. UI thread only; throws nothing.
EUnpackResult UnpackSkin(CSkinArchive& archive, const QString& strPackage, const QString& strFolder, IPrompt& prompt,
                         EExistingFile eExisting = EExistingFile::Refuse);
