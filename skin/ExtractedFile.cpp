#include "skin/ExtractedFile.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include "skin/EntryRecord.h"

namespace ExtractedFile {

namespace {

constexpr mode_t PERMISSION_BITS = 0777;
constexpr mode_t WRITE_BITS = 0222;
constexpr int DOS_EPOCH_YEAR = 1980;

} // namespace

void RemoveExisting(const QString& strPath)
{
    const QFileInfo info(strPath);
    if (info.isSymLink() || (info.exists() && !info.isDir()))
        QFile::remove(strPath);
}

bool SetDosTimeStamp(const QString& strPath, quint16 nDosDate, quint16 nDosTime)
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
    return utimensat(AT_FDCWD, QFile::encodeName(strPath).constData(), times, 0) == 0;
}

bool ApplyPermissions(const QString& strPath, const CEntryRecord& record)
{
    const QByteArray arrPath = QFile::encodeName(strPath);
    const quint32 nUnixMode = record.GetUnixMode();
    if (nUnixMode != 0)
        return chmod(arrPath.constData(), mode_t(nUnixMode) & PERMISSION_BITS) == 0;
    if ((record.m_nExternalAttributes & CEntryRecord::DOS_READ_ONLY) == 0)
        return true;
    struct stat status;
    if (stat(arrPath.constData(), &status) != 0)
        return false;
    return chmod(arrPath.constData(), status.st_mode & PERMISSION_BITS & ~WRITE_BITS) == 0;
}

} // namespace ExtractedFile
