// What unpacking does with what is already in its folder: files it may only
// replace when asked, and symbolic links it never writes through.

#include <gtest/gtest.h>

#include <QFileInfo>

#include "tests/skin/SkinArchiveFixture.h"

namespace {

class UnpackDestinationTest : public SkinArchiveTest
{
protected:
    // A package of one file per name, holding strData.
    void PackFiles(const QString& strArchive, const QStringList& arrNames, const QByteArray& arrData)
    {
        QString strScript = "z = zipfile.ZipFile('" + strArchive + "', 'w')\n";
        for (const QString& strName : arrNames)
            strScript += "z.writestr('" + strName + "', b'" + QString::fromLatin1(arrData) + "')\n";
        ASSERT_EQ(m_work.Python(strScript + "z.close()"), 0);
    }

    // The cause the prompt showed under "Extract failed".
    QString ExtractFailure() const
    {
        for (const CScriptedPrompt::CAsked& asked : m_prompt.m_arrAsked) {
            if (asked.strText == "Extract failed")
                return asked.strDetail;
        }
        return QString();
    }

    void Link(const QString& strTarget, const QString& strLink)
    {
        QDir().mkpath(QFileInfo(m_work.Path(strLink)).path());
        ASSERT_TRUE(QFile::link(strTarget, m_work.Path(strLink)));
    }
};

TEST_F(UnpackDestinationTest, AnExistingFileIsReplacedOnlyWhenAsked)
{
    ASSERT_EQ(m_work.Python("for name, data in (('r1.zip', b'image'), ('r2.zip', b'other')):\n"
                            "    z = zipfile.ZipFile(name, 'w')\n"
                            "    i = zipfile.ZipInfo('ro.bmp'); i.external_attr = 0x01\n"
                            "    z.writestr(i, data); z.close()"),
              0);
    EXPECT_EQ(Unpack("r1.zip"), EUnpackResult::Ok);
    EXPECT_EQ(Unpack("r2.zip"), EUnpackResult::FileExists);
    EXPECT_EQ(ExtractFailure(), m_work.Path("out/ro.bmp") + ": already exists");
    EXPECT_EQ(m_work.Read("out/ro.bmp"), "image");
    EXPECT_FALSE(QFile::permissions(m_work.Path("out/ro.bmp")) & QFile::WriteOwner);

    EXPECT_EQ(Unpack("r2.zip", "out", EExistingFile::Replace), EUnpackResult::Ok);
    EXPECT_EQ(m_work.Read("out/ro.bmp"), "other");
    EXPECT_FALSE(QFile::permissions(m_work.Path("out/ro.bmp")) & QFile::WriteOwner);
    EXPECT_EQ(CZipWorkspace::Tree(m_work.Path("out")).keys(), QStringList { "ro.bmp" });
}

TEST_F(UnpackDestinationTest, ALinkToAFolderOutsideIsNeverWrittenThrough)
{
    PackFiles("p.zip", { "first.bmp", "sub/inner.bmp", "sub/deeper/last.bmp" }, "data");
    QDir().mkpath(m_work.Path("outside"));
    Link(m_work.Path("outside"), "out/sub");
    for (const EExistingFile eExisting : { EExistingFile::Refuse, EExistingFile::Replace }) {
        SCOPED_TRACE(int(eExisting));
        m_prompt = CScriptedPrompt();
        EXPECT_EQ(Unpack("p.zip", "out", eExisting), EUnpackResult::ExtractFailed);
        EXPECT_TRUE(ExtractFailure().startsWith(m_work.Path("out/sub") + ": is a symbolic link"))
            << qPrintable(ExtractFailure());
        EXPECT_TRUE(QDir(m_work.Path("outside")).isEmpty());
        EXPECT_TRUE(QFileInfo(m_work.Path("out/sub")).isSymLink());
    }
}

TEST_F(UnpackDestinationTest, ALinkAtAFileNameIsReplacedNeverFollowed)
{
    PackFiles("p.zip", { "Skin.ini", "new.bmp" }, "package");
    m_work.Write("outside/target", "mine");
    Link(m_work.Path("outside/target"), "out/Skin.ini");
    Link(m_work.Path("outside/created"), "out/new.bmp");

    EXPECT_EQ(Unpack("p.zip"), EUnpackResult::FileExists);
    EXPECT_EQ(ExtractFailure(), m_work.Path("out/Skin.ini") + ": already exists");
    EXPECT_TRUE(QFileInfo(m_work.Path("out/Skin.ini")).isSymLink());

    EXPECT_EQ(Unpack("p.zip", "out", EExistingFile::Replace), EUnpackResult::Ok);
    for (const char* pszName : { "out/Skin.ini", "out/new.bmp" }) {
        SCOPED_TRACE(pszName);
        EXPECT_FALSE(QFileInfo(m_work.Path(pszName)).isSymLink());
        EXPECT_EQ(m_work.Read(pszName), "package");
    }
    EXPECT_EQ(CZipWorkspace::Tree(m_work.Path("outside")), (QMap<QString, QByteArray> { { "target", "mine" } }));
}

TEST_F(UnpackDestinationTest, ADamagedReplacementLeavesTheOldFile)
{
    const CZipLayout layout = MakeThree("");
    m_work.PatchBytes("three.zip", layout.arrDataStarts[1], "\xff\xff");
    m_work.Write("out/b.txt", "old");
    EXPECT_EQ(Unpack("three.zip", "out", EExistingFile::Replace), EUnpackResult::ExtractFailed);
    EXPECT_EQ(m_work.Read("out/b.txt"), "old");
    // Nothing half-written is left beside it.
    EXPECT_EQ(CZipWorkspace::Tree(m_work.Path("out")).keys(), (QStringList { "a.txt", "b.txt" }));
}

// A damaged entry left at its name would pass for whole, and stop the next
// unpacking into the folder as a file that already exists.
TEST_F(UnpackDestinationTest, AFailedEntryLeavesNothingAtItsName)
{
    const struct
    {
        const char* pszDamage;
        const char* pszZipOptions;
        // Local header offset, central record offset, bytes to write at both.
        int nLocalField;
        int nCentralField;
        QByteArray arrBytes;
    } rows[] = {
        // Compressed size +18 and +20: the deflate stream ends early.
        { "deflate stream cut short", "", 18, 20, Le32(4) },
        // CRC-32 +14 and +16.
        { "bad CRC", "-0", 14, 16, Le32(0x12345678) },
    };
    for (const auto& row : rows) {
        for (const EExistingFile eExisting : { EExistingFile::Refuse, EExistingFile::Replace }) {
            SCOPED_TRACE(QString("%1, %2").arg(row.pszDamage).arg(int(eExisting)).toStdString());
            QFile::remove(m_work.Path("three.zip"));
            QDir(m_work.Path("out")).removeRecursively();
            const CZipLayout layout = MakeThree(row.pszZipOptions);
            m_work.PatchBytes("three.zip", layout.arrLocalHeaders[0] + row.nLocalField, row.arrBytes);
            m_work.PatchBytes("three.zip", layout.arrCentralRecords[0] + row.nCentralField, row.arrBytes);
            for (int nRun = 0; nRun < 2; ++nRun) {
                m_prompt = CScriptedPrompt();
                EXPECT_EQ(Unpack("three.zip", "out", eExisting), EUnpackResult::ExtractFailed);
                EXPECT_EQ(CZipWorkspace::Tree(m_work.Path("out")), (QMap<QString, QByteArray> {}));
            }
        }
    }
}

TEST_F(UnpackDestinationTest, AFileWhereAFolderIsNeededStopsTheUnpacking)
{
    PackFiles("p.zip", { "sub/inner.bmp" }, "data");
    m_work.Write("out/sub", "a file");
    EXPECT_EQ(Unpack("p.zip", "out", EExistingFile::Replace), EUnpackResult::ExtractFailed);
    EXPECT_TRUE(ExtractFailure().startsWith(m_work.Path("out/sub") + ": ")) << qPrintable(ExtractFailure());
    EXPECT_EQ(m_work.Read("out/sub"), "a file");
}

} // namespace
