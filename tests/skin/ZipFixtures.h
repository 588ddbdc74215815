#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

// Archives for tests are made at test time by the real tools (Info-ZIP zip,
// bsdtar, 7z, Python's zipfile, jar) in a private folder; corrupt variants
// change single bytes of a good archive.
class CZipWorkspace
{
public:
    CZipWorkspace() { EXPECT_TRUE(m_dir.isValid()); }

    QString Path(const QString& strRelative) const { return m_dir.filePath(strRelative); }

    void Write(const QString& strRelative, const QByteArray& arrData) const
    {
        const QString strPath = Path(strRelative);
        QDir().mkpath(QFileInfo(strPath).path());
        QFile file(strPath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << qPrintable(strPath);
        file.write(arrData);
    }

    QByteArray Read(const QString& strRelative) const
    {
        QFile file(Path(strRelative));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // Runs a program in the workspace; returns its exit code (-1 when it
    // did not run) and keeps its standard output and error.
    int Run(const QString& strProgram, const QStringList& arrArgs, const QByteArray& arrInput = QByteArray(),
            QByteArray* pOutput = nullptr, QByteArray* pError = nullptr) const
    {
        QProcess process;
        process.setWorkingDirectory(m_dir.path());
        process.start(strProgram, arrArgs);
        if (!process.waitForStarted())
            return -1;
        process.write(arrInput);
        process.closeWriteChannel();
        process.waitForFinished(-1);
        const QByteArray arrError = process.readAllStandardError();
        if (pOutput)
            *pOutput = process.readAllStandardOutput();
        if (pError)
            *pError = arrError;
        if (process.exitStatus() != QProcess::NormalExit)
            return -1;
        if (process.exitCode() != 0 && !arrError.isEmpty())
            std::cerr << strProgram.toStdString() << ": " << arrError.toStdString();
        return process.exitCode();
    }

    // A shell command in the workspace, for pipes and redirections.
    int Shell(const QString& strCommand) const { return Run("sh", { "-c", strCommand }); }

    // Python with the script's arguments; the script sees zipfile, struct,
    // zlib, os and sys already imported.
    int Python(const QString& strScript, const QStringList& arrArgs = {}) const
    {
        return Run("python3", QStringList { "-c", "import zipfile, struct, zlib, os, sys\n" + strScript } + arrArgs);
    }

    void PatchBytes(const QString& strRelative, qint64 nOffset, const QByteArray& arrBytes) const
    {
        QByteArray arrData = Read(strRelative);
        ASSERT_LE(nOffset + arrBytes.size(), arrData.size());
        arrData.replace(nOffset, arrBytes.size(), arrBytes);
        Write(strRelative, arrData);
    }

    // Every file below strFolder with its contents, by relative path.
    static QMap<QString, QByteArray> Tree(const QString& strFolder)
    {
        QMap<QString, QByteArray> tree;
        QDirIterator it(strFolder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString strPath = it.next();
            QFile file(strPath);
            EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << qPrintable(strPath);
            tree.insert(QDir(strFolder).relativeFilePath(strPath), file.readAll());
        }
        return tree;
    }

    // Exit codes of unzip beyond success: a warning, such as bytes in
    // front of the archive, and entries skipped for an unsupported method
    // or encryption.
    static constexpr int UNZIP_WARNING = 1;
    static constexpr int UNZIP_SKIPPED_UNSUPPORTED = 81;

    // What Info-ZIP unzip extracts from the archive; it must exit with 0
    // or nAllowedExit.
    QMap<QString, QByteArray> UnzipTree(const QString& strArchive, int nAllowedExit = UNZIP_WARNING) const
    {
        const QString strFolder = Path("unzip-" + QFileInfo(strArchive).fileName());
        const int nExit = Run("unzip", { "-qo", strArchive, "-d", strFolder });
        EXPECT_TRUE(nExit == 0 || nExit == nAllowedExit) << nExit;
        return Tree(strFolder);
    }

    static QByteArray RandomBytes(qsizetype nSize)
    {
        QByteArray arrData(nSize, Qt::Uninitialized);
        QRandomGenerator generator { quint32(nSize) };
        for (char& ch : arrData)
            ch = char(generator.bounded(256));
        return arrData;
    }

    // Text that deflates well but not to nothing.
    static QByteArray TextBytes(qsizetype nSize)
    {
        QByteArray arrData;
        for (int i = 0; arrData.size() < nSize; ++i)
            arrData += "line " + QByteArray::number(i) + " of a skin description\r\n";
        arrData.truncate(nSize);
        return arrData;
    }

private:
    QTemporaryDir m_dir;
};

// Where the records of a good archive lie, as Python's zipfile reads them.
struct CZipLayout
{
    qint64 nEndRecord = 0;         // offset of the end of central directory record
    qint64 nCentralDirectory = 0;  // offset of the first central record
    QList<qint64> arrLocalHeaders; // per entry, in central order
    QList<qint64> arrCentralRecords;
    QList<qint64> arrDataStarts; // first byte of each entry's data
};

inline CZipLayout ReadLayout(const CZipWorkspace& workspace, const QString& strArchive)
{
    QByteArray arrOutput;
    const int nExit = workspace.Run("python3",
                                    { "-c",
                                      "import zipfile, struct, sys\n"
                                      "data = open(sys.argv[1], 'rb').read()\n"
                                      "end = data.rfind(b'PK\\x05\\x06')\n"
                                      "cd = struct.unpack('<I', data[end + 16:end + 20])[0]\n"
                                      "print(end, cd)\n"
                                      "pos = cd\n"
                                      "for info in zipfile.ZipFile(sys.argv[1]).infolist():\n"
                                      "    h = info.header_offset\n"
                                      "    n, e = struct.unpack('<HH', data[h + 26:h + 30])\n"
                                      "    print(h, pos, h + 30 + n + e)\n"
                                      "    pos += 46 + sum(struct.unpack('<HHH', data[pos + 28:pos + 34]))\n",
                                      strArchive },
                                    QByteArray(), &arrOutput);
    EXPECT_EQ(nExit, 0);
    CZipLayout layout;
    const QList<QByteArray> arrLines = arrOutput.trimmed().split('\n');
    const QList<QByteArray> arrFirst = arrLines.value(0).split(' ');
    layout.nEndRecord = arrFirst.value(0).toLongLong();
    layout.nCentralDirectory = arrFirst.value(1).toLongLong();
    for (qsizetype i = 1; i < arrLines.size(); ++i) {
        const QList<QByteArray> arrFields = arrLines[i].split(' ');
        layout.arrLocalHeaders.append(arrFields.value(0).toLongLong());
        layout.arrCentralRecords.append(arrFields.value(1).toLongLong());
        layout.arrDataStarts.append(arrFields.value(2).toLongLong());
    }
    return layout;
}

inline QByteArray Le16(quint16 nValue)
{
    const char bytes[] = { char(nValue & 0xFF), char(nValue >> 8) };
    return QByteArray(bytes, sizeof(bytes));
}

inline QByteArray Le32(quint32 nValue)
{
    return Le16(quint16(nValue & 0xFFFF)) + Le16(quint16(nValue >> 16));
}
