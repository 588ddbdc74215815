#pragma once

#include <QFile>
#include <QString>

// The file (or the set of numbered volume files) an archive is read from.
// Offsets are those of the volume in use; reads of entry data may run on
// into the following volumes.
class CArchiveVolumes
{
public:
    enum class EVolumeMode {
        SingleFile,
        NumberedFiles, // "name.000", "name.001", ..., the last one the opened file
        Undecided,     // until the end record names the disk it lies on
    };

    CArchiveVolumes() = default;
    CArchiveVolumes(const CArchiveVolumes&) = delete;
    CArchiveVolumes& operator=(const CArchiveVolumes&) = delete;

    // Opens the archive read-only; no volume is current until SettleMode.
    // Throws CArchiveFileException.
    void Open(const QString& strPath);
    void Close();

    bool IsFileOpen() const { return m_file.isOpen(); }
    // A volume is current once the end record has been read.
    bool IsOpen() const { return m_nCurrentVolume >= 0; }
    EVolumeMode GetMode() const { return m_eMode; }
    // The path of the file in use, empty while closed (for error reports).
    QString GetFilePath() const;

    // Decides single file or volume set from the end record's disk number;
    // the opened file is that volume.
    void SettleMode(int nThisDisk);
    // Makes volume nVolume current, positioned at its start when it changes.
    // Throws CArchiveFileException when its file cannot be opened.
    void SwitchTo(int nVolume);

    qint64 GetLength() const;
    void Seek(qint64 nPosition);
    // Reads up to nBytes from the current file only; returns what it got.
    qint64 ReadCurrent(char* pBuffer, qint64 nBytes);
    // Reads exactly nBytes from the current file (records that must come in
    // one piece); fewer is a damaged archive.
    void ReadWhole(char* pBuffer, qint64 nBytes);
    // Reads exactly nBytes, going on into the next volumes of a set when a
    // volume ends (entry data and data descriptors may be split).
    void ReadSpanning(char* pBuffer, qint64 nBytes);

private:
    QString VolumePath(int nVolume) const;
    [[noreturn]] void FailDamaged() const;

    QFile m_file;
    // The path given to Open: the last volume of a set keeps its own name,
    // whatever its extension.
    QString m_strArchivePath;
    int m_nCurrentVolume = -1;
    EVolumeMode m_eMode = EVolumeMode::SingleFile;
    int m_nLastVolume = 0;
};
