#pragma once

#include <QString>
#include <QtGlobal>

class CEntryRecord;

// What extraction does to the files it creates, apart from their contents.
namespace ExtractedFile {

// Removes whatever stands at strPath unless it is a folder (a file left by
// an earlier unpack, possibly read-only, or a symbolic link that would
// redirect the write), so the entry is written as a new file.
void RemoveExisting(const QString& strPath);

// Last-write time from the DOS date and time, taken as local time; the
// access time becomes now. False for an impossible date or a failure.
bool SetDosTimeStamp(const QString& strPath, quint16 nDosDate, quint16 nDosTime);

// Permissions from the entry's attributes: the Unix permission bits of an
// entry made on Unix (never set-user-ID, set-group-ID or sticky), else the
// DOS read-only bit, which removes write permission. False on failure.
bool ApplyPermissions(const QString& strPath, const CEntryRecord& record);

} // namespace ExtractedFile
