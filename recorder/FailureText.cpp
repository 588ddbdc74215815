#include "recorder/FailureText.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "recorder/Encorda.h"

namespace {

// The context of the texts below in the catalogue.
class CFailureText
{
    Q_DECLARE_TR_FUNCTIONS(CFailureText)
};

QString NativePath(const QString& strPath)
{
    return QDir::toNativeSeparators(strPath);
}

// The engine's reason inside a sentence of our own, which brings its full stop.
QString InSentence(const QString& strReason)
{
    QString strText = strReason.trimmed();
    while (strText.endsWith(u'.'))
        strText.chop(1);
    return strText;
}

// The file could not be created. The system's words for why stand in the
// reason (read-only, permission denied, ...); a folder that is a file is the
// one case the words would not make plain.
QString ExplainUncreatableFile(const QString& strFileName)
{
    const QFileInfo file(strFileName);
    const QFileInfo folder(file.absolutePath());
    if (folder.exists() && !folder.isDir()) {
        return CFailureText::tr("%1 is a file, not a folder. Choose a folder for the recording.")
            .arg(NativePath(folder.filePath()));
    }
    return CFailureText::tr("The file %1 could not be created. Choose another folder, one you may write to, such as "
                            "your Videos folder.")
        .arg(NativePath(file.absoluteFilePath()));
}

QString ExplainEncoderRefusal(const QString& strReason, bool bAviFile)
{
    const QString strRemedy = bAviFile
        ? CFailureText::tr("Choose other compressors in the AVI profile, or change their settings.")
        : CFailureText::tr("Lower the bit rate, or check the sample rate and channels, in the MPEG profile.");
    return CFailureText::tr("The encoder refused the settings: %1. %2").arg(InSentence(strReason), strRemedy);
}

} // namespace

QString FailureHeadline(EFailure eCause)
{
    switch (eCause) {
    case EFailure::eFolderMissing:
        return CFailureText::tr("Recording Failure, the folder for the recording does not exist");
    case EFailure::eDiskFull:
        return CFailureText::tr("Recording Failure, the disk is full");
    case EFailure::eWritingFile:
        return CFailureText::tr("Recording Failure, the file could not be written");
    case EFailure::eFileDeleted:
        return CFailureText::tr("Recording Failure, the file was deleted while it was being recorded");
    case EFailure::eNoSuchDevice:
    case EFailure::eVideoDevice:
    case EFailure::eAudioDevice:
        return CFailureText::tr("Capture Failure, the video or audio source could not be opened");
    case EFailure::eDeviceStalled:
    case EFailure::eCaptureEnded:
        return CFailureText::tr("Capture Failure, the video or audio source stopped");
    case EFailure::eOutOfMemory:
        return CFailureText::tr("Recording Failure, out of memory");
    case EFailure::eProcessing:
    case EFailure::eThreadStart:
        return CFailureText::tr("Recording Failure, the recording could not go on");
    case EFailure::eWorkMode:
    case EFailure::eFrameRate:
    case EFailure::ePictureSize:
    case EFailure::eSyncMode:
    case EFailure::eOutputType:
    case EFailure::eNoStream:
        return CFailureText::tr("Capture Failure, the settings cannot be recorded");
    case EFailure::eEncoderSettings:
    case EFailure::eOutputFile:
    case EFailure::eNoFileName:
    case EFailure::eFileBeingRecorded:
    case EFailure::eNone:
        break;
    }
    return CEncorda::tr(CEncorda::CAPTURE_FAILURE_HEADLINE);
}

QString ExplainFailure(EFailure eCause, const QString& strReason, const QString& strFileName, bool bAviFile)
{
    switch (eCause) {
    case EFailure::eOutputFile:
        return ExplainUncreatableFile(strFileName);
    case EFailure::eFolderMissing:
        return CFailureText::tr("The folder %1 does not exist. Choose an existing folder for the recording.")
            .arg(NativePath(QFileInfo(strFileName).absolutePath()));
    case EFailure::eDiskFull:
        return CFailureText::tr("The disk holding %1 is full. Free some space, or record to another disk.")
            .arg(NativePath(strFileName));
    case EFailure::eWritingFile:
        return CFailureText::tr("Writing %1 failed: %2.").arg(NativePath(strFileName), InSentence(strReason));
    case EFailure::eFileDeleted:
        return CFailureText::tr("The file %1 was deleted, or its folder was, while it was being recorded: what was "
                                "recorded is lost.")
            .arg(NativePath(strFileName));
    case EFailure::eNoFileName:
        return CFailureText::tr("No file name was given. Choose a file for the recording.");
    case EFailure::eFileBeingRecorded:
        return CFailureText::tr("This file is being recorded now. Choose another file for the new recording.");
    case EFailure::ePictureSize:
        return CFailureText::tr("The picture size is not one that can be recorded (%1). Set a width and height above "
                                "zero in the MPEG profile, or in the AVI profile's frame size.")
            .arg(strReason);
    case EFailure::eFrameRate:
        return CFailureText::tr("The frame rate cannot be recorded (%1). Choose another in the MPEG profile.")
            .arg(strReason);
    case EFailure::eEncoderSettings:
        return ExplainEncoderRefusal(strReason, bAviFile);
    case EFailure::eNoSuchDevice:
    case EFailure::eVideoDevice:
    case EFailure::eAudioDevice:
        return CFailureText::tr("The video or audio source could not be opened (%1). Check that it is plugged in and "
                                "not used by another program, or choose another in the device dialogs.")
            .arg(strReason);
    case EFailure::eDeviceStalled:
    case EFailure::eCaptureEnded:
        return CFailureText::tr("The source stopped delivering (%1): it may have been unplugged or taken by another "
                                "program. Check it, or choose another in the device dialogs.")
            .arg(strReason);
    case EFailure::eNoStream:
        return CFailureText::tr("Video and audio capture are both off in the AVI profile, so there is nothing to "
                                "record. Switch one of them on.");
    case EFailure::eOutOfMemory:
        return CFailureText::tr("The computer ran out of memory. Close other programs, or record a smaller picture.");
    case EFailure::eWorkMode:
    case EFailure::eSyncMode:
    case EFailure::eOutputType:
    case EFailure::eThreadStart:
    case EFailure::eProcessing:
    case EFailure::eNone:
        break;
    }
    const QString strSentence = InSentence(strReason);
    return strSentence.isEmpty() ? QString() : strSentence.left(1).toUpper() + strSentence.mid(1) + u'.';
}
