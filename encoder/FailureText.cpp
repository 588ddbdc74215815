#include "encoder/FailureText.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

namespace {

// Less room than this left on the disk after a failed write means the disk
// filled up.
constexpr qint64 FULL_DISK_BYTES = 1024 * 1024;

QString NativePath(const QString& strPath)
{
    return QDir::toNativeSeparators(strPath);
}

// The file could not be created: the folder tells why, as far as the
// program can see it.
QString ExplainUncreatableFile(const QString& strReason, const QString& strFileName)
{
    const QFileInfo file(strFileName);
    const QFileInfo folder(file.absolutePath());
    if (!folder.exists()) {
        return QStringLiteral("The folder %1 does not exist. Choose an existing folder for the recording.")
            .arg(NativePath(folder.filePath()));
    }
    if (!folder.isDir()) {
        return QStringLiteral("%1 is a file, not a folder. Choose a folder for the recording.")
            .arg(NativePath(folder.filePath()));
    }
    if (!folder.isWritable() || (file.exists() && !file.isWritable())) {
        return QStringLiteral("Permission denied: you may not write %1. Choose a folder of your own, such as "
                              "your Videos folder.")
            .arg(NativePath(file.absoluteFilePath()));
    }
    return QStringLiteral("The file %1 could not be created (%2). Choose another file or folder.")
        .arg(NativePath(file.absoluteFilePath()), strReason);
}

QString ExplainWriteFailure(const QString& strReason, const QString& strFileName)
{
    const QStorageInfo disk(QFileInfo(strFileName).absolutePath());
    if (disk.isValid() && disk.bytesAvailable() < FULL_DISK_BYTES) {
        return QStringLiteral("The disk holding %1 is full. Free some space, or record to another disk.")
            .arg(NativePath(strFileName));
    }
    return QStringLiteral("Writing %1 failed (%2). If the disk is full, free some space or record to another "
                          "disk.")
        .arg(NativePath(strFileName), strReason);
}

} // namespace

QString ExplainFailure(EFailure eCause, const QString& strReason, const QString& strFileName)
{
    switch (eCause) {
    case EFailure::eOutputFile:
        return ExplainUncreatableFile(strReason, strFileName);
    case EFailure::eWritingFile:
        return ExplainWriteFailure(strReason, strFileName);
    case EFailure::eFileDeleted:
        return QStringLiteral("The file %1 was deleted, or its folder was, while it was being recorded: what was "
                              "recorded is lost.")
            .arg(NativePath(strFileName));
    case EFailure::eNoFileName:
        return QStringLiteral("No file name was given. Choose a file for the recording.");
    case EFailure::eFileBeingRecorded:
        return QStringLiteral("This file is being recorded now. Choose another file for the new recording.");
    case EFailure::ePictureSize:
        return QStringLiteral("The picture size is not one that can be recorded (%1). Set a width and height above "
                              "zero in the MPEG profile, or in the AVI profile's frame size.")
            .arg(strReason);
    case EFailure::eFrameRate:
        return QStringLiteral("The frame rate cannot be recorded (%1). Choose another in the MPEG profile.")
            .arg(strReason);
    case EFailure::eEncoderSettings:
        return QStringLiteral("The encoder refused the settings: %1. Lower the bit rate, or check the sample rate "
                              "and channels, in the MPEG profile; for AVI, choose other compressors.")
            .arg(strReason);
    case EFailure::eNoSuchDevice:
    case EFailure::eVideoDevice:
    case EFailure::eAudioDevice:
        return QStringLiteral("The video or audio source could not be opened (%1). Check that it is plugged in and "
                              "not used by another program, or choose another in the device dialogs.")
            .arg(strReason);
    case EFailure::eDeviceStalled:
    case EFailure::eCaptureEnded:
        return QStringLiteral("The source stopped delivering (%1): it may have been unplugged or taken by another "
                              "program. Check it, or choose another in the device dialogs.")
            .arg(strReason);
    case EFailure::eNoStream:
        return QStringLiteral("Video and audio capture are both off in the AVI profile, so there is nothing to "
                              "record. Switch one of them on.");
    case EFailure::eOutOfMemory:
        return QStringLiteral("The computer ran out of memory. Close other programs, or record a smaller picture.");
    case EFailure::eWorkMode:
    case EFailure::eSyncMode:
    case EFailure::eOutputType:
    case EFailure::eThreadStart:
    case EFailure::eProcessing:
    case EFailure::eNone:
        break;
    }
    return strReason.isEmpty() ? QString() : strReason.left(1).toUpper() + strReason.mid(1) + u'.';
}
