#pragma once

#include <exception>
#include <string>

#include <QString>

// The one exception of the skin archive reader. It carries a cause from a
// closed set, so callers decide by number and never by message text, and the
// path of the archive file that was in use. Thrown and caught by value.
class CZipException : public std::exception
{
public:
    // The causes keep the numbers skin tools have always reported, gaps
    // included where a cause cannot arise in this reader (it meets no
    // removable volumes and no passwords); 1 to 9 mirror zlib's results, the
    // rest are the reader's own.
    enum ECause {
        eGeneric = 1,        // any other error
        eStreamEnd = 2,      // zlib: stream end where none was expected
        eNeedDict = 3,       // zlib: a preset dictionary is needed
        eErrNo = 4,          // zlib: file error
        eStreamError = 5,    // zlib: inconsistent stream state
        eDataError = 6,      // zlib: damaged deflate data
        eMemError = 7,       // zlib: out of memory
        eBufError = 8,       // zlib: no progress possible, input ran out
        eVersionError = 9,   // zlib: version mismatch
        eBadZipFile = 10,    // damaged archive
        eBadCrc = 11,        // CRC-32 of the extracted data differs
        eNoCallback = 12,    // volume set on removable media
        eAborted = 13,       // a disk-change callback refused a disk
        eAbortedAction = 14, // only when creating a volume set
        eAbortedSafely = 15, // only when creating a volume set
        eCdirNotFound = 18,  // end of central directory record not found
        // Added on this platform: a package that would unpack to more files
        // or bytes than any skin needs.
        eTooLarge = 19,
        // An entry compressed with a method other than stored or deflated.
        eUnsupportedMethod = 20,
    };

    // strSubject names what the cause is about where it needs a name (the
    // method of eUnsupportedMethod).
    CZipException(ECause eCause, const QString& strFileName, const QString& strSubject = QString())
        : m_strFileName(strFileName)
        , m_eCause(eCause)
        , m_strWhat(Describe(eCause, strSubject).toStdString() + ": " + strFileName.toStdString())
    {
    }

    // Maps a zlib result to its cause; unknown results give eGeneric.
    static ECause FromZlib(int nZlibResult)
    {
        switch (nZlibResult) {
        case 1:
            return eStreamEnd;
        case 2:
            return eNeedDict;
        case -1:
            return eErrNo;
        case -2:
            return eStreamError;
        case -3:
            return eDataError;
        case -4:
            return eMemError;
        case -5:
            return eBufError;
        case -6:
            return eVersionError;
        default:
            return eGeneric;
        }
    }

    // The cause in words, in the user's language; strSubject as for the
    // constructor.
    static QString Describe(ECause eCause, const QString& strSubject = QString());

    ECause GetCause() const { return m_eCause; }
    const QString& GetFileName() const { return m_strFileName; }
    const char* what() const noexcept override { return m_strWhat.c_str(); }

private:
    QString m_strFileName;
    ECause m_eCause;
    std::string m_strWhat;
};

// A file of the archive (or an extracted file) could not be opened, created
// or written. Kept apart from CZipException: it is about the file system,
// not about the archive's contents.
class CArchiveFileException : public std::exception
{
public:
    CArchiveFileException(const QString& strFileName, const QString& strReason)
        : m_strFileName(strFileName)
        , m_strWhat((strFileName + QStringLiteral(": ") + strReason).toStdString())
    {
    }

    const QString& GetFileName() const { return m_strFileName; }
    const char* what() const noexcept override { return m_strWhat.c_str(); }

private:
    QString m_strFileName;
    std::string m_strWhat;
};

// Extraction found a file (or a link) at an entry's name and was not asked
// to replace it; that file stays as it was.
class CExistingFileException : public CArchiveFileException
{
public:
    explicit CExistingFileException(const QString& strFileName);
};
