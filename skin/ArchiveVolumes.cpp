#include "skin/ArchiveVolumes.h"

#include <QFileInfo>

#include "skin/ZipException.h"

namespace {

// Reads skip QFile's own buffer: the reader keeps buffers of its own.
constexpr QIODevice::OpenMode READ_MODE = QIODevice::ReadOnly | QIODevice::Unbuffered;

} // namespace

void CArchiveVolumes::Open(const QString& strPath)
{
    Close();
    m_strArchivePath = strPath;
    m_file.setFileName(strPath);
    if (!m_file.open(READ_MODE))
        throw CArchiveFileException(strPath, m_file.errorString());
    m_eMode = EVolumeMode::Undecided;
}

void CArchiveVolumes::Close()
{
    m_file.close();
    m_nCurrentVolume = -1;
    m_eMode = EVolumeMode::SingleFile;
    m_nLastVolume = 0;
}

QString CArchiveVolumes::GetFilePath() const
{
    return m_file.isOpen() ? m_file.fileName() : QString();
}

void CArchiveVolumes::SettleMode(int nThisDisk)
{
    if (nThisDisk == 0) {
        m_eMode = EVolumeMode::SingleFile;
        m_nCurrentVolume = 0;
        return;
    }
    // Sets on removable media need a disk-change prompt; Linux mounts have
    // no such drive type, so every set is one of numbered files.
    m_eMode = EVolumeMode::NumberedFiles;
    m_nLastVolume = nThisDisk;
    m_nCurrentVolume = nThisDisk;
}

QString CArchiveVolumes::VolumePath(int nVolume) const
{
    if (nVolume == m_nLastVolume)
        return m_strArchivePath;
    const QFileInfo info(m_strArchivePath);
    return info.path() + u'/' + info.completeBaseName() + QStringLiteral(".%1").arg(nVolume, 3, 10, QChar(u'0'));
}

void CArchiveVolumes::SwitchTo(int nVolume)
{
    if (nVolume == m_nCurrentVolume)
        return;
    if (m_eMode != EVolumeMode::NumberedFiles || nVolume < 0 || nVolume > m_nLastVolume)
        FailDamaged();
    m_file.close();
    m_file.setFileName(VolumePath(nVolume));
    if (!m_file.open(READ_MODE))
        throw CArchiveFileException(m_file.fileName(), m_file.errorString());
    m_nCurrentVolume = nVolume;
}

qint64 CArchiveVolumes::GetLength() const
{
    return m_file.size();
}

void CArchiveVolumes::Seek(qint64 nPosition)
{
    if (nPosition < 0 || !m_file.seek(nPosition))
        FailDamaged();
}

qint64 CArchiveVolumes::ReadCurrent(char* pBuffer, qint64 nBytes)
{
    qint64 nDone = 0;
    while (nDone < nBytes) {
        const qint64 nRead = m_file.read(pBuffer + nDone, nBytes - nDone);
        if (nRead <= 0)
            break;
        nDone += nRead;
    }
    return nDone;
}

void CArchiveVolumes::ReadWhole(char* pBuffer, qint64 nBytes)
{
    if (ReadCurrent(pBuffer, nBytes) != nBytes)
        FailDamaged();
}

void CArchiveVolumes::ReadSpanning(char* pBuffer, qint64 nBytes)
{
    qint64 nDone = 0;
    while (nDone < nBytes) {
        const qint64 nRead = ReadCurrent(pBuffer + nDone, nBytes - nDone);
        nDone += nRead;
        if (nDone < nBytes) {
            if (m_eMode != EVolumeMode::NumberedFiles || m_nCurrentVolume >= m_nLastVolume)
                FailDamaged();
            SwitchTo(m_nCurrentVolume + 1);
        }
    }
}

void CArchiveVolumes::FailDamaged() const
{
    throw CZipException(CZipException::eBadZipFile, GetFilePath());
}
