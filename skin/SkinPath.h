#pragma once

#include <QString>

// Skins made on Windows name their files in any letter case and with either
// folder separator. Returns the path of strName (relative to strFolder) as it
// exists on disk: the exact name when it exists, else the first entry of
// each folder level that matches without regard to case. When nothing
// matches, returns the exact path, so a caller's load fails as it would have.
QString ResolveSkinFile(const QString& strFolder, const QString& strName);
