#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

class CEntryRecord;

// What extraction does with a file that already stands at an entry's name.
enum class EExistingFile {
    // Unpacking stops with a CExistingFileException naming the file, which
    // stays as it was.
    Refuse,
    // The new file is renamed over it once whole; a symbolic link at the
    // name is replaced, never followed.
    Replace,
};

// An open folder, by descriptor: files and folders are created relative to
// it, so a link that a name resolves through cannot be swapped in between.
class CFolderHandle
{
public:
    // strFolder itself is opened as the user named it, links and all, and
    // created when missing. Throws CArchiveFileException.
    static CFolderHandle OpenDestination(const QString& strFolder);

    CFolderHandle(CFolderHandle&& other) noexcept;
    CFolderHandle& operator=(CFolderHandle&& other) noexcept;
    CFolderHandle(const CFolderHandle&) = delete;
    CFolderHandle& operator=(const CFolderHandle&) = delete;
    ~CFolderHandle();

    // The folder strName inside this one, created when missing. A symbolic
    // link or a file there is refused with a CArchiveFileException, so no
    // write leaves the destination through a link that was already there.
    CFolderHandle OpenChild(const QString& strName) const;
    // The folder strRelative ('/'-separated, no "." or "..") names below
    // this one, each step as OpenChild takes it.
    CFolderHandle OpenDescendant(const QString& strRelative) const;

    int Descriptor() const { return m_nDescriptor; }
    const QString& Path() const { return m_strPath; }

private:
    CFolderHandle(int nDescriptor, const QString& strPath);

    int m_nDescriptor = -1;
    QString m_strPath;
};

// One file being extracted: written under a temporary name inside its folder
// without following links, given the entry's time stamp and permissions
// through its descriptor, and put at its name by Commit once whole, so a
// failed extraction leaves nothing under the name to be refused next time.
class CExtractedFile
{
public:
    // strName: a plain name inside folder. Throws CExistingFileException when
    // something stands there and eExisting is Refuse, CArchiveFileException
    // when the file cannot be created.
    CExtractedFile(CFolderHandle folder, const QString& strName, EExistingFile eExisting);
    CExtractedFile(const CExtractedFile&) = delete;
    CExtractedFile& operator=(const CExtractedFile&) = delete;
    // A file never committed is removed; what stands at its name stays.
    ~CExtractedFile();

    // Throws CArchiveFileException.
    void Write(const char* pData, qint64 nBytes);
    // Last-write time from the DOS date and time, taken as local time; the
    // access time becomes now. False for an impossible date or a failure.
    bool SetDosTimeStamp(quint16 nDosDate, quint16 nDosTime);
    // Permissions from the entry's attributes: the Unix permission bits of
    // an entry made on Unix (never set-user-ID, set-group-ID or sticky), else
    // the DOS read-only bit, which removes write permission. False on failure.
    bool ApplyPermissions(const CEntryRecord& record);
    // Closes the file and renames it to its name: over what stands there
    // with Replace, else only when the name is still free (throws
    // CExistingFileException otherwise). Throws CArchiveFileException.
    void Commit();

    const QString& Path() const { return m_strPath; }

private:
    void CreateTemporary();
    void PlaceWithoutReplacing();

    CFolderHandle m_folder;
    QByteArray m_arrName;
    // The name written under until Commit; empty afterwards.
    QByteArray m_arrTemporaryName;
    QString m_strPath;
    EExistingFile m_eExisting;
    int m_nDescriptor = -1;
};
