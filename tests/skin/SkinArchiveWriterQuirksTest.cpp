// Archives as real writers make them where they differ from the common
// case, and the ways the reader used to get them wrong: counts that
// disagree with the directory, DOS attributes on Unix entries, Unicode Path
// fields, encrypted and unsupported methods, ZIP64 sizes beyond a skin.

#include <gtest/gtest.h>

#include <QFileInfo>

#include "tests/skin/HandMadeZips.h"
#include "tests/skin/SkinArchiveFixture.h"

namespace {

TEST_F(SkinArchiveTest, EntryCountThatDisagreesWithTheDirectoryIsDamaged)
{
    // End record +8 and +10: the entry counts, here one below and one above
    // the three records the directory holds.
    for (const quint16 nCount : { 2, 4 }) {
        SCOPED_TRACE(nCount);
        QDir(m_work.Path("out")).removeRecursively();
        QFile::remove(m_work.Path("three.zip"));
        m_prompt = CScriptedPrompt();
        const CZipLayout layout = MakeThree("");
        m_work.PatchBytes("three.zip", layout.nEndRecord + 8, Le16(nCount) + Le16(nCount));
        EXPECT_EQ(OpenCause("three.zip"), CZipException::eBadZipFile);
        EXPECT_EQ(Unpack("three.zip"), EUnpackResult::OpenFailed);
        EXPECT_EQ(m_prompt.Texts(), QStringList { "Open failed" });
        EXPECT_FALSE(QFileInfo::exists(m_work.Path("out")));
    }
}

TEST_F(SkinArchiveTest, EncryptedEntriesAreSkippedWhateverTheirMethod)
{
    m_work.Write("a.txt", "alpha");
    m_work.Write("b.txt", CZipWorkspace::TextBytes(20000));
    m_work.Write("c.txt", "charlie");
    const struct
    {
        const char* pszName;
        const char* pszCommand;
        // unzip skips AES entries too; a traditional one would make it ask
        // for a password.
        bool bCompareWithUnzip;
    } rows[] = {
        { "AES (method 99) between two plain entries",
          "zip -qX e.zip a.txt && 7z a -tzip -mem=AES256 -psecret e.zip b.txt > /dev/null && zip -qX e.zip c.txt",
          true },
        { "traditional encryption of a bzip2 entry",
          "zip -qX e.zip a.txt && zip -qX -Z bzip2 -P secret e.zip b.txt && zip -qX e.zip c.txt", false },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pszName);
        QFile::remove(m_work.Path("e.zip"));
        QDir(m_work.Path("out")).removeRecursively();
        QDir(m_work.Path("unzip-e.zip")).removeRecursively();
        ASSERT_EQ(m_work.Shell(row.pszCommand), 0);
        EXPECT_EQ(Unpack("e.zip"), EUnpackResult::Ok);
        EXPECT_EQ(m_prompt.Texts(), QStringList());
        const auto tree = CZipWorkspace::Tree(m_work.Path("out"));
        EXPECT_EQ(tree.keys(), QStringList({ "a.txt", "c.txt" }));
        if (row.bCompareWithUnzip) {
            EXPECT_EQ(tree, m_work.UnzipTree(m_work.Path("e.zip"), CZipWorkspace::UNZIP_SKIPPED_UNSUPPORTED));
        }
    }
}

TEST_F(SkinArchiveTest, UnsupportedMethodsAreNamed)
{
    // bzip2 and LZMA come from the real writers; the methods no tool here
    // writes are made by changing a stored entry's method (local header +8,
    // central record +10).
    m_work.Write("a.txt", "alpha");
    m_work.Write("b.txt", CZipWorkspace::TextBytes(20000));
    const struct
    {
        const char* pszMethod;
        const char* pszCommand;
        quint16 nPatchedMethod; // 0: none
    } rows[] = {
        { "bzip2", "zip -qX a.zip a.txt && zip -qX -Z bzip2 a.zip b.txt", 0 },
        { "LZMA",
          "zip -qX a.zip a.txt && python3 -c \"import zipfile\n"
          "with zipfile.ZipFile('a.zip', 'a', zipfile.ZIP_LZMA) as z: z.write('b.txt')\"",
          0 },
        { "Deflate64", "zip -qX0 a.zip a.txt b.txt", 9 },
        { "Zstandard", "zip -qX0 a.zip a.txt b.txt", 93 },
        { "XZ", "zip -qX0 a.zip a.txt b.txt", 95 },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pszMethod);
        QFile::remove(m_work.Path("a.zip"));
        QDir(m_work.Path("out")).removeRecursively();
        m_prompt = CScriptedPrompt();
        ASSERT_EQ(m_work.Shell(row.pszCommand), 0);
        if (row.nPatchedMethod != 0) {
            const CZipLayout layout = ReadLayout(m_work, m_work.Path("a.zip"));
            m_work.PatchBytes("a.zip", layout.arrLocalHeaders[1] + 8, Le16(row.nPatchedMethod));
            m_work.PatchBytes("a.zip", layout.arrCentralRecords[1] + 10, Le16(row.nPatchedMethod));
        }
        EXPECT_EQ(Unpack("a.zip"), EUnpackResult::ExtractFailed);
        EXPECT_EQ(m_prompt.Texts(), QStringList { "Extract failed" });
        EXPECT_EQ(CZipWorkspace::Tree(m_work.Path("out")).keys(), QStringList { "a.txt" });
        try {
            m_archive.Open(m_work.Path("a.zip"));
            m_archive.ExtractEntry(1, m_work.Path("out"));
            ADD_FAILURE() << "no exception";
        } catch (const CZipException& exception) {
            EXPECT_EQ(exception.GetCause(), CZipException::eUnsupportedMethod);
            EXPECT_EQ(QString::fromUtf8(exception.what()),
                      QStringLiteral("unsupported compression method %1 (use deflate): %2")
                          .arg(row.pszMethod, m_work.Path("a.zip")));
        }
        m_archive.Close();
    }
}

TEST_F(SkinArchiveTest, UnicodePathFieldNamesTheFileWhenItsCrcMatches)
{
    ASSERT_EQ(m_work.Python(QString(HAND_MADE_ZIP_PRELUDE) + UNICODE_PATH_ZIP), 0);
    EXPECT_EQ(Unpack("unicode.zip"), EUnpackResult::Ok);
    const auto tree = CZipWorkspace::Tree(m_work.Path("out"));
    EXPECT_EQ(tree, CZipWorkspace::Tree(m_work.Path("expect")));
    // unzip takes the same two names from the field; for the third it
    // writes the code page's character in Latin-1, not UTF-8.
    const auto unzipped = m_work.UnzipTree(m_work.Path("unicode.zip"));
    for (const QString& strName : { QStringLiteral("\u00c4\u00d6\u00dc.bmp"), QStringLiteral("Gr\u00f6\u00dfe.bmp") }) {
        SCOPED_TRACE(qPrintable(strName));
        EXPECT_TRUE(tree.contains(strName));
        EXPECT_EQ(tree.value(strName), unzipped.value(strName));
    }
}

TEST_F(SkinArchiveTest, UnixFileWithTheDosDirectoryBitKeepsItsData)
{
    // create_system 3 with a regular-file mode in the high 16 bits, and the
    // DOS directory bit 0x10 set beside it, as some Unix writers do.
    ASSERT_EQ(m_work.Python("z = zipfile.ZipFile('u.zip', 'w')\n"
                            "i = zipfile.ZipInfo('Back.bmp'); i.create_system = 3\n"
                            "i.external_attr = (0o100644 << 16) | 0x10\n"
                            "z.writestr(i, b'bitmap data'); z.close()"),
              0);
    EXPECT_EQ(Unpack("u.zip"), EUnpackResult::Ok);
    EXPECT_EQ(m_work.Read("out/Back.bmp"), "bitmap data");
    EXPECT_EQ(CZipWorkspace::Tree(m_work.Path("out")), m_work.UnzipTree(m_work.Path("u.zip")));
}

TEST_F(SkinArchiveTest, HugeZip64EntryIsTooLargeNotDamaged)
{
    ASSERT_EQ(m_work.Python(QString(HAND_MADE_ZIP_PRELUDE) + ZIP64_HUGE_ENTRY_ZIP), 0);
    EXPECT_EQ(Unpack("huge.zip"), EUnpackResult::ExtractFailed);
    EXPECT_FALSE(QFileInfo::exists(m_work.Path("out")));
    try {
        m_archive.Open(m_work.Path("huge.zip"));
        EXPECT_EQ(m_archive.GetEntryRecord(0).m_nUncompressedSize, quint64(5) << 30);
        m_archive.ExtractEntry(0, m_work.Path("out"));
        ADD_FAILURE() << "no exception";
    } catch (const CZipException& exception) {
        EXPECT_EQ(exception.GetCause(), CZipException::eTooLarge);
    }
}

} // namespace
