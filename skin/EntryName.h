#pragma once

#include <optional>

#include <QByteArray>
#include <QString>

// Entry names as archives store them, turned into paths that are safe to
// create below a destination folder.
namespace EntryName {

// Decodes a stored name: UTF-8 when the entry says so, else the DOS code
// page 437 that ZIP tools on Windows write. Both '\' and '/' become '/'.
QString Decode(const QByteArray& arrRawName, bool bUtf8);

// The path below the destination at which an entry is created: a drive
// prefix ("C:"), leading separators, empty and "." parts are dropped.
// Names that climb out with a ".." part or hold a NUL character are refused
// (no value). A name with nothing left gives an empty path.
std::optional<QString> SafeRelativePath(const QString& strName);

} // namespace EntryName
