#pragma once

#include <functional>

#include <QCoreApplication>
#include <QDir>
#include <QString>
#include <QTemporaryDir>
#include <QTest>

// Runs a test in an empty current directory of its own, as a user starting
// the installed program elsewhere would: the skin packages and the "Frame"
// folder are found beside the program.
class CProgramCurrentDirectory
{
public:
    CProgramCurrentDirectory()
        : m_strOldCurrent(QDir::currentPath())
    {
        if (m_folder.isValid())
            QDir::setCurrent(m_folder.path());
    }
    ~CProgramCurrentDirectory() { QDir::setCurrent(m_strOldCurrent); }
    CProgramCurrentDirectory(const CProgramCurrentDirectory&) = delete;
    CProgramCurrentDirectory& operator=(const CProgramCurrentDirectory&) = delete;

    bool IsValid() const { return m_folder.isValid(); }
    QString FilePath(const QString& strName) const { return m_folder.filePath(strName); }

    static bool HasProgramSkin(const QString& strPackage)
    {
        return QDir(QCoreApplication::applicationDirPath()).exists(strPackage);
    }

private:
    QTemporaryDir m_folder;
    QString m_strOldCurrent;
};

// Lets events run until bDone holds or the time is up; never sleeps blind.
inline bool WaitUntil(const std::function<bool()>& done, int nTimeoutMs)
{
    return QTest::qWaitFor(done, nTimeoutMs);
}
