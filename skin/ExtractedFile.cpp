#include "skin/ExtractedFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QStringList>

#include "skin/EntryRecord.h"
#include "skin/ZipException.h"

namespace {

constexpr mode_t PERMISSION_BITS = 0777;
constexpr mode_t WRITE_BITS = 0222;
// What open and mkdir start from; the user's umask takes its share.
constexpr mode_t NEW_FILE_MODE = 0666;
constexpr mode_t NEW_FOLDER_MODE = 0777;
constexpr int DOS_EPOCH_YEAR = 1980;
// A file is written under a name drawn at random; another process would
// have to hold this many in a row to stop it.
constexpr int TEMPORARY_NAME_TRIES = 100;

[[noreturn]] void FailWithErrno(const QString& strPath, int nError)
{
    throw CArchiveFileException(strPath, QString::fromLocal8Bit(std::strerror(nError)));
}

bool IsSymbolicLink(int nFolder, const QByteArray& arrName)
{
    struct stat status;
    return fstatat(nFolder, arrName.constData(), &status, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(status.st_mode);
}

bool Exists(int nFolder, const QByteArray& arrName)
{
    struct stat status;
    return fstatat(nFolder, arrName.constData(), &status, AT_SYMLINK_NOFOLLOW) == 0;
}

int OpenFolderAt(int nParent, const QByteArray& arrName)
{
    return openat(nParent, arrName.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

} // namespace

CFolderHandle::CFolderHandle(int nDescriptor, const QString& strPath)
    : m_nDescriptor(nDescriptor)
    , m_strPath(strPath)
{
}

CFolderHandle::CFolderHandle(CFolderHandle&& other) noexcept
    : m_nDescriptor(std::exchange(other.m_nDescriptor, -1))
    , m_strPath(std::move(other.m_strPath))
{
}

CFolderHandle& CFolderHandle::operator=(CFolderHandle&& other) noexcept
{
    if (this != &other) {
        if (m_nDescriptor >= 0)
            ::close(m_nDescriptor);
        m_nDescriptor = std::exchange(other.m_nDescriptor, -1);
        m_strPath = std::move(other.m_strPath);
    }
    return *this;
}

CFolderHandle::~CFolderHandle()
{
    if (m_nDescriptor >= 0)
        ::close(m_nDescriptor);
}

CFolderHandle CFolderHandle::OpenDestination(const QString& strFolder)
{
    const QString strPath = QDir::cleanPath(strFolder);
    QDir().mkpath(strPath);
    const int nDescriptor = open(QFile::encodeName(strPath).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (nDescriptor < 0)
        FailWithErrno(strPath, errno);
    return CFolderHandle(nDescriptor, strPath);
}

CFolderHandle CFolderHandle::OpenChild(const QString& strName) const
{
    const QByteArray arrName = QFile::encodeName(strName);
    const QString strPath = m_strPath + u'/' + strName;
    int nDescriptor = OpenFolderAt(m_nDescriptor, arrName);
    if (nDescriptor < 0 && errno == ENOENT) {
        // Another process may create it in between; then it is opened as
        // any folder that was there.
        if (mkdirat(m_nDescriptor, arrName.constData(), NEW_FOLDER_MODE) != 0 && errno != EEXIST)
            FailWithErrno(strPath, errno);
        nDescriptor = OpenFolderAt(m_nDescriptor, arrName);
    }
    if (nDescriptor >= 0)
        return CFolderHandle(nDescriptor, strPath);
    const int nError = errno;
    if (IsSymbolicLink(m_nDescriptor, arrName))
        throw CArchiveFileException(strPath,
                                    QCoreApplication::translate("CArchiveFileException",
                                                                "is a symbolic link, which unpacking does not follow"));
    FailWithErrno(strPath, nError);
}

CFolderHandle CFolderHandle::OpenDescendant(const QString& strRelative) const
{
    CFolderHandle folder(dup(m_nDescriptor), m_strPath);
    if (folder.m_nDescriptor < 0)
        FailWithErrno(m_strPath, errno);
    for (const QString& strPart : strRelative.split(u'/', Qt::SkipEmptyParts))
        folder = folder.OpenChild(strPart);
    return folder;
}

CExtractedFile::CExtractedFile(CFolderHandle folder, const QString& strName, EExistingFile eExisting)
    : m_folder(std::move(folder))
    , m_arrName(QFile::encodeName(strName))
    , m_strPath(m_folder.Path() + u'/' + strName)
    , m_eExisting(eExisting)
{
    // Refused before any data is read; Commit looks again, since another
    // process may put something there meanwhile.
    if (eExisting == EExistingFile::Refuse && Exists(m_folder.Descriptor(), m_arrName))
        throw CExistingFileException(m_strPath);
    CreateTemporary();
}

CExtractedFile::~CExtractedFile()
{
    if (m_nDescriptor >= 0)
        ::close(m_nDescriptor);
    if (!m_arrTemporaryName.isEmpty())
        unlinkat(m_folder.Descriptor(), m_arrTemporaryName.constData(), 0);
}

void CExtractedFile::CreateTemporary()
{
    for (int i = 0; i < TEMPORARY_NAME_TRIES; ++i) {
        const QByteArray arrCandidate =
            ".unpacking-" + QByteArray::number(QRandomGenerator::global()->generate(), 16) + ".tmp";
        // O_EXCL fails on any name that exists, a dangling link included.
        m_nDescriptor = openat(m_folder.Descriptor(), arrCandidate.constData(),
                               O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, NEW_FILE_MODE);
        if (m_nDescriptor >= 0) {
            m_arrTemporaryName = arrCandidate;
            return;
        }
        if (errno != EEXIST)
            FailWithErrno(m_strPath, errno);
    }
    FailWithErrno(m_strPath, EEXIST);
}

void CExtractedFile::Write(const char* pData, qint64 nBytes)
{
    while (nBytes > 0) {
        const ssize_t nWritten = ::write(m_nDescriptor, pData, std::size_t(nBytes));
        if (nWritten < 0 && errno == EINTR)
            continue;
        if (nWritten <= 0)
            FailWithErrno(m_strPath, nWritten < 0 ? errno : ENOSPC);
        pData += nWritten;
        nBytes -= nWritten;
    }
}

bool CExtractedFile::SetDosTimeStamp(quint16 nDosDate, quint16 nDosTime)
{
    const QDate date(DOS_EPOCH_YEAR + (nDosDate >> 9), (nDosDate >> 5) & 0x0F, nDosDate & 0x1F);
    const QTime time(nDosTime >> 11, (nDosTime >> 5) & 0x3F, 2 * (nDosTime & 0x1F));
    if (!date.isValid() || !time.isValid())
        return false;
    const QDateTime stamp(date, time);
    timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_NOW;
    times[1].tv_sec = time_t(stamp.toSecsSinceEpoch());
    times[1].tv_nsec = 0;
    return futimens(m_nDescriptor, times) == 0;
}

bool CExtractedFile::ApplyPermissions(const CEntryRecord& record)
{
    const quint32 nUnixMode = record.GetUnixMode();
    if (nUnixMode != 0)
        return fchmod(m_nDescriptor, mode_t(nUnixMode) & PERMISSION_BITS) == 0;
    if ((record.m_nExternalAttributes & CEntryRecord::DOS_READ_ONLY) == 0)
        return true;
    struct stat status;
    if (fstat(m_nDescriptor, &status) != 0)
        return false;
    return fchmod(m_nDescriptor, status.st_mode & PERMISSION_BITS & ~WRITE_BITS) == 0;
}

void CExtractedFile::Commit()
{
    const int nDescriptor = std::exchange(m_nDescriptor, -1);
    if (::close(nDescriptor) != 0)
        FailWithErrno(m_strPath, errno);
    const int nFolder = m_folder.Descriptor();
    if (m_eExisting == EExistingFile::Replace) {
        // rename replaces whatever stands at the name, a link itself rather
        // than what it points to.
        if (renameat(nFolder, m_arrTemporaryName.constData(), nFolder, m_arrName.constData()) != 0)
            FailWithErrno(m_strPath, errno);
    } else {
        PlaceWithoutReplacing();
    }
    m_arrTemporaryName.clear();
}

void CExtractedFile::PlaceWithoutReplacing()
{
    const int nFolder = m_folder.Descriptor();
    if (renameat2(nFolder, m_arrTemporaryName.constData(), nFolder, m_arrName.constData(), RENAME_NOREPLACE) == 0)
        return;
    // Some file systems cannot rename without replacing; a hard link is
    // never made over an existing name either.
    if (errno == EINVAL || errno == ENOSYS) {
        if (linkat(nFolder, m_arrTemporaryName.constData(), nFolder, m_arrName.constData(), 0) == 0) {
            unlinkat(nFolder, m_arrTemporaryName.constData(), 0);
            return;
        }
    }
    if (errno == EEXIST)
        throw CExistingFileException(m_strPath);
    FailWithErrno(m_strPath, errno);
}
