#include "skin/ZipException.h"

#include <QCoreApplication>

QString CZipException::Describe(ECause eCause, const QString& strSubject)
{
    switch (eCause) {
    case eGeneric:
        return QCoreApplication::translate("CZipException", "archive error");
    case eStreamEnd:
        return QCoreApplication::translate("CZipException", "unexpected end of compressed data");
    case eNeedDict:
        return QCoreApplication::translate("CZipException", "compressed data needs a dictionary");
    case eErrNo:
        return QCoreApplication::translate("CZipException", "zlib file error");
    case eStreamError:
        return QCoreApplication::translate("CZipException", "zlib stream error");
    case eDataError:
        return QCoreApplication::translate("CZipException", "damaged compressed data");
    case eMemError:
        return QCoreApplication::translate("CZipException", "out of memory while inflating");
    case eBufError:
        return QCoreApplication::translate("CZipException", "compressed data ends early");
    case eVersionError:
        return QCoreApplication::translate("CZipException", "zlib version mismatch");
    case eBadZipFile:
        return QCoreApplication::translate("CZipException", "damaged archive");
    case eBadCrc:
        return QCoreApplication::translate("CZipException", "CRC-32 mismatch");
    case eNoCallback:
        return QCoreApplication::translate("CZipException", "volume set on removable media");
    case eAborted:
        return QCoreApplication::translate("CZipException", "volume change refused");
    case eAbortedAction:
        return QCoreApplication::translate("CZipException", "volume set creation aborted");
    case eAbortedSafely:
        return QCoreApplication::translate("CZipException", "too many volumes");
    case eCdirNotFound:
        return QCoreApplication::translate("CZipException", "central directory not found");
    case eTooLarge:
        return QCoreApplication::translate("CZipException", "package too large for a skin");
    case eUnsupportedMethod:
        return QCoreApplication::translate("CZipException", "unsupported compression method %1 (use deflate)")
            .arg(strSubject);
    }
    return QCoreApplication::translate("CZipException", "archive error");
}

CExistingFileException::CExistingFileException(const QString& strFileName)
    : CArchiveFileException(strFileName, QCoreApplication::translate("CArchiveFileException", "already exists"))
{
}
