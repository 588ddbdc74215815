#include "skinart/ZipWriter.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

namespace {

struct CRunResult
{
    int nExitCode = -1;
    QByteArray output;
};

CRunResult RunUnzip(const QStringList& arrArgs)
{
    QProcess process;
    process.start("unzip", arrArgs);
    process.waitForFinished();
    return { process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput() };
}

QByteArray RandomBytes(int nSize)
{
    QByteArray data(nSize, '\0');
    QRandomGenerator random(42);
    for (char& c : data)
        c = char(random.bounded(256));
    return data;
}

} // namespace

TEST(ZipWriter, EntriesRoundTripThroughUnzipByteForByte)
{
    struct CCase
    {
        const char* pName;
        QByteArray data;
        CZipWriter::ECompression eCompression;
    };
    const QList<CCase> arrCases = {
        { "Skin.ini", "[Screen]\r\nMain=background.bmp\r\n", CZipWriter::eDeflated },
        { "stored.txt", "kept as it is", CZipWriter::eStored },
        { "empty-stored", QByteArray(), CZipWriter::eStored },
        { "empty-deflated", QByteArray(), CZipWriter::eDeflated },
        { "repeats.bin", QByteArray(300000, 'x'), CZipWriter::eDeflated },
        { "noise.bin", RandomBytes(70000), CZipWriter::eDeflated },
        { "sub/folder/picture.bmp", RandomBytes(1000), CZipWriter::eStored },
        { "sub/deeper/named \xC3\xA4.txt", "non-ASCII name", CZipWriter::eDeflated },
    };
    CZipWriter zip;
    for (const CCase& test : arrCases)
        ASSERT_TRUE(zip.AddFile(QString::fromUtf8(test.pName), test.data, test.eCompression)) << test.pName;

    QTemporaryDir dir;
    const QString strArchive = dir.filePath("test.zip");
    QString strError;
    ASSERT_TRUE(zip.Save(strArchive, strError)) << strError.toStdString();
    EXPECT_EQ(RunUnzip({ "-tq", strArchive }).nExitCode, 0);

    const CRunResult listing = RunUnzip({ "-Z1", strArchive });
    const QStringList arrListed = QString::fromUtf8(listing.output).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(arrListed.size(), arrCases.size());
    for (int i = 0; i < arrCases.size(); ++i) {
        SCOPED_TRACE(arrCases[i].pName);
        EXPECT_EQ(arrListed[i], QString::fromUtf8(arrCases[i].pName));
        const CRunResult extracted = RunUnzip({ "-p", strArchive, QString::fromUtf8(arrCases[i].pName) });
        EXPECT_EQ(extracted.nExitCode, 0);
        EXPECT_EQ(extracted.output, arrCases[i].data);
    }
}

TEST(ZipWriter, EmptyArchiveIsValid)
{
    QTemporaryDir dir;
    const QString strArchive = dir.filePath("empty.zip");
    QString strError;
    ASSERT_TRUE(CZipWriter().Save(strArchive, strError));
    // unzip reports an archive without entries with exit code 1 ("no files"),
    // a damaged one with 2 or more.
    EXPECT_EQ(RunUnzip({ "-tq", strArchive }).nExitCode, 1);
    EXPECT_EQ(CZipWriter().ToByteArray().size(), 22); // the end record alone
}

TEST(ZipWriter, RefusesNamesThatLeaveTheFolderOrRepeat)
{
    CZipWriter zip;
    ASSERT_TRUE(zip.AddFile("a/b.txt", "b"));
    for (const char* pName : { "", "/etc/passwd", "../up.txt", "a/../../up.txt", "a\\b.txt", "a/b.txt" }) {
        SCOPED_TRACE(pName);
        EXPECT_FALSE(zip.AddFile(pName, "x"));
    }
    EXPECT_EQ(zip.GetCount(), 1);
}

TEST(ZipWriter, SaveIntoMissingFolderFailsWithACause)
{
    QTemporaryDir dir;
    CZipWriter zip;
    ASSERT_TRUE(zip.AddFile("a.txt", "a"));
    QString strError;
    EXPECT_FALSE(zip.Save(dir.filePath("missing/folder/out.zip"), strError));
    EXPECT_FALSE(strError.isEmpty());
}
