#pragma once

#include <QString>

// The desktop's restore token lets a later recording share the same screen
// without asking the person again. It is a permission, so it is kept where
// only the user reads it: $XDG_STATE_HOME/skinrecorder/screencast-restore-token
// (XDG_STATE_HOME defaults to ~/.local/state).
QString DefaultRestoreTokenFile();

// Empty when there is no token (no file, or one that cannot be read).
QString ReadRestoreToken(const QString& strFile);

// Replaces the kept token whole (a crash leaves the old one or the new one,
// never a part); an empty token removes it. False with the cause when the
// file cannot be written.
bool WriteRestoreToken(const QString& strFile, const QString& strToken, QString& strReason);
