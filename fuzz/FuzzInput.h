#pragma once

#include <cstddef>
#include <cstdint>

#include <QFile>
#include <QString>
#include <QTemporaryDir>

// The readers under test take files: each input is written to strName in a
// private folder that lasts the whole run. Returns its path, or an empty
// string when it cannot be written.
inline QString WriteFuzzInput(const QString& strName, const std::uint8_t* pData, std::size_t nSize)
{
    static const QTemporaryDir workFolder;
    const QString strPath = workFolder.filePath(strName);
    QFile file(strPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(reinterpret_cast<const char*>(pData), qint64(nSize)) != qint64(nSize))
        return QString();
    return strPath;
}
