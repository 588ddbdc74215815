#pragma once

#include <QString>

enum class ESkinFileLookup {
    eFound,
    eMissing,
    // The name leads out of the skin folder: it is absolute, climbs out with
    // "..", or passes through a symbolic link that points out.
    eOutside,
};

struct CSkinFileLookup
{
    ESkinFileLookup eResult = ESkinFileLookup::eMissing;
    // Where the file is; for a missing one, where it would be inside the
    // folder; empty for a name outside it.
    QString strPath;
};

// Every file a skin names is looked up here, so that a skin can make the
// program read nothing but its own package: a name that leads outside
// strFolder, however it gets there, is refused. Skins made on Windows name
// their files in any letter case and with either folder separator: the
// exact name is taken when it exists, else the first entry of each folder
// level that matches without regard to case.
CSkinFileLookup LookUpSkinFile(const QString& strFolder, const QString& strName);

// The path of strName inside strFolder as LookUpSkinFile finds it: for a
// missing file the path it would have, so a caller's load fails as it would
// have; an empty path for a name outside the folder, which is logged.
QString ResolveSkinFile(const QString& strFolder, const QString& strName);
