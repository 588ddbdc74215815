#include "portal/RestoreTokenStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

// A token is a short identifier; anything longer is not one.
constexpr qint64 MAX_TOKEN_BYTES = 4096;

} // namespace

QString DefaultRestoreTokenFile()
{
    QString strStateHome = qEnvironmentVariable("XDG_STATE_HOME");
    // The base directory specification ignores a relative path.
    if (strStateHome.isEmpty() || QDir::isRelativePath(strStateHome))
        strStateHome = QDir::homePath() + QStringLiteral("/.local/state");
    return strStateHome + QStringLiteral("/skinrecorder/screencast-restore-token");
}

QString ReadRestoreToken(const QString& strFile)
{
    QFile file(strFile);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.read(MAX_TOKEN_BYTES)).trimmed();
}

bool WriteRestoreToken(const QString& strFile, const QString& strToken, QString& strReason)
{
    if (strToken.isEmpty()) {
        if (!QFile::exists(strFile) || QFile::remove(strFile))
            return true;
        strReason = QStringLiteral("%1 could not be removed").arg(strFile);
        return false;
    }
    const QString strFolder = QFileInfo(strFile).absolutePath();
    if (!QDir().mkpath(strFolder)) {
        strReason = QStringLiteral("the folder %1 could not be made").arg(strFolder);
        return false;
    }
    QSaveFile file(strFile);
    if (!file.open(QIODevice::WriteOnly) || !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)
        || file.write(strToken.toUtf8() + '\n') < 0 || !file.commit()) {
        strReason = QStringLiteral("%1: %2").arg(strFile, file.errorString());
        return false;
    }
    return true;
}
