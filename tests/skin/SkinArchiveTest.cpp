#include "skin/SkinArchive.h"

#include <functional>

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <QDateTime>
#include <QFileInfo>

#include "tests/skin/HandMadeZips.h"
#include "tests/skin/SkinArchiveFixture.h"

namespace {

using EAnswer = IPrompt::EAnswer;

const QString RETRY_QUESTION =
    QStringLiteral("The central directory was not found. If you're opening a multi-disk archive, "
                   "make sure you have inserted the last disk. Retry?");

TEST_F(SkinArchiveTest, ExtractsWhatUnzipExtractsForEveryTool)
{
    WriteSourceTree();
    const struct
    {
        const char* pszName;
        const char* pszCommand;
    } rows[] = {
        { "zip deflated", "cd src && zip -qr ../t.zip ." },
        { "zip stored", "cd src && zip -qr0 ../t.zip ." },
        { "zip data descriptors", "cd src && zip -qr -fd ../t.zip ." },
        { "zip streamed to a pipe", "cat src/big.bin | zip -q -fz- - - | cat > t.zip" },
        { "zip with a stub, adjusted",
          "head -c 5000 /dev/urandom > t.zip && (cd src && zip -qr ../s.zip .) "
          "&& cat s.zip >> t.zip && zip -qA t.zip" },
        { "raw stub in front",
          "printf 'MZ stub%04000d' 0 > t.zip && (cd src && zip -qr ../s.zip .) && cat s.zip >> t.zip" },
        { "bsdtar", "cd src && bsdtar --format zip -cf ../t.zip ." },
        { "bsdtar stored", "cd src && bsdtar --format zip --options zip:compression=store -cf ../t.zip ." },
        { "7z", "cd src && 7z a -tzip -bd ../t.zip . > /dev/null" },
        { "python zipfile",
          "cd src && python3 -c \"import zipfile, os\n"
          "with zipfile.ZipFile('../t.zip', 'w', zipfile.ZIP_DEFLATED) as z:\n"
          "    for d, _, fs in os.walk('.'):\n"
          "        for f in fs: z.write(os.path.join(d, f))\"" },
        { "jar", "cd src && jar cf ../t.zip ." },
        // ZIP64: end records with their locator, 64-bit sizes in the
        // headers' ZIP64 blocks, descriptors with 8-byte sizes.
        { "zip from standard input", "cat src/big.bin | zip -q t.zip -" },
        { "zip from standard input to a pipe", "cat src/big.bin | zip -q - - | cat > t.zip" },
        { "zip -fz", "cd src && zip -qr -fz ../t.zip ." },
        { "zip -fz with a raw stub in front",
          "printf 'MZ stub%04000d' 0 > t.zip && (cd src && zip -qr -fz ../s.zip .) && cat s.zip >> t.zip" },
        { "bsdtar zip64", "cd src && bsdtar --format zip --options zip:zip64 -cf ../t.zip ." },
        { "python zipfile force_zip64",
          "cd src && python3 -c \"import zipfile, os\n"
          "with zipfile.ZipFile('../t.zip', 'w', zipfile.ZIP_DEFLATED) as z:\n"
          "    for d, _, fs in os.walk('.'):\n"
          "        for f in fs:\n"
          "            with z.open(os.path.join(d, f), 'w', force_zip64=True) as e:\n"
          "                e.write(open(os.path.join(d, f), 'rb').read())\"" },
        { "python zipfile force_zip64 streamed to a pipe",
          "cd src && python3 -c \"import zipfile, os, sys\n"
          "with zipfile.ZipFile(sys.stdout.buffer, 'w', zipfile.ZIP_DEFLATED) as z:\n"
          "    for d, _, fs in os.walk('.'):\n"
          "        for f in fs:\n"
          "            with z.open(os.path.join(d, f), 'w', force_zip64=True) as e:\n"
          "                e.write(open(os.path.join(d, f), 'rb').read())\" | cat > ../t.zip" },
        { "comment of 65535 bytes",
          "cd src && zip -qr ../t.zip . && cd .. && python3 -c \"import zipfile\n"
          "with zipfile.ZipFile('t.zip', 'a') as z: z.comment = b'c' * 65535\"" },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pszName);
        QFile::remove(m_work.Path("t.zip"));
        QFile::remove(m_work.Path("s.zip"));
        QDir(m_work.Path("out")).removeRecursively();
        m_prompt = CScriptedPrompt();
        ASSERT_EQ(m_work.Shell(row.pszCommand), 0);
        EXPECT_EQ(Unpack("t.zip"), EUnpackResult::Ok);
        EXPECT_EQ(m_prompt.Texts(), QStringList());
        const auto expected = m_work.UnzipTree(m_work.Path("t.zip"));
        EXPECT_FALSE(expected.isEmpty());
        EXPECT_EQ(CZipWorkspace::Tree(m_work.Path("out")), expected);
        QDir(m_work.Path("unzip-t.zip")).removeRecursively();
    }
}

TEST_F(SkinArchiveTest, HandMadeLayoutsExtractByteExact)
{
    const struct
    {
        const char* pszName;
        const char* pszScript;
        const char* pszArchive;
    } rows[] = {
        { "descriptors without signature", DESCRIPTOR_WITHOUT_SIGNATURE_ZIP, "nosig.zip" },
        { "two numbered volumes, entry split across them", TWO_VOLUME_SET, "set.skn" },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pszName);
        QDir(m_work.Path("out")).removeRecursively();
        QDir(m_work.Path("expect")).removeRecursively();
        ASSERT_EQ(m_work.Python(QString(HAND_MADE_ZIP_PRELUDE) + row.pszScript), 0);
        EXPECT_EQ(Unpack(row.pszArchive), EUnpackResult::Ok);
        EXPECT_EQ(m_prompt.Texts(), QStringList());
        EXPECT_EQ(CZipWorkspace::Tree(m_work.Path("out")), CZipWorkspace::Tree(m_work.Path("expect")));
    }
}

TEST_F(SkinArchiveTest, OpenOutcomesAndMessages)
{
    m_work.Write("a.txt", "alpha");
    ASSERT_EQ(m_work.Shell("zip -qX good.zip a.txt"), 0);
    const QByteArray arrGood = m_work.Read("good.zip");
    const qint64 nEnd = arrGood.lastIndexOf("PK\x05\x06");
    const struct
    {
        const char* pszName;
        QByteArray arrPackage; // empty: no file at all
        QList<EAnswer> arrAnswers;
        EUnpackResult eResult;
        QStringList arrTexts;
        int nEntries;
    } rows[] = {
        { "good", arrGood, {}, EUnpackResult::Ok, {}, 1 },
        { "no entries", QByteArray("PK\x05\x06", 4) + QByteArray(18, '\0'), {}, EUnpackResult::Ok, {}, 0 },
        { "missing file", QByteArray(), {}, EUnpackResult::OpenFailed, { "Open failed" }, 0 },
        { "shorter than a signature",
          "PK\x05",
          {},
          EUnpackResult::NoCentralDirectory,
          { RETRY_QUESTION, "Open failed" },
          0 },
        { "not an archive",
          CZipWorkspace::TextBytes(100000),
          { EAnswer::Yes, EAnswer::No },
          EUnpackResult::NoCentralDirectory,
          { RETRY_QUESTION, RETRY_QUESTION, "Open failed" },
          0 },
        { "end record cut short",
          arrGood.left(arrGood.size() - 5),
          {},
          EUnpackResult::OpenFailed,
          { "Open failed" },
          0 },
        { "first half only",
          arrGood.left(arrGood.size() / 2),
          {},
          EUnpackResult::NoCentralDirectory,
          { RETRY_QUESTION, "Open failed" },
          0 },
        // End record offset 16: central directory offset, here beyond the
        // end record itself.
        { "directory offset beyond the end",
          QByteArray(arrGood).replace(nEnd + 16, 4, Le32(0xFFFFFFF0)),
          {},
          EUnpackResult::OpenFailed,
          { "Open failed" },
          0 },
        // End record offset 12: directory size 0 with one entry announced.
        { "size 0 with entries",
          QByteArray(arrGood).replace(nEnd + 12, 4, Le32(0)),
          {},
          EUnpackResult::OpenFailed,
          { "Open failed" },
          0 },
        // End record offset 10: more entries than the directory holds.
        { "entry count too high",
          QByteArray(arrGood).replace(nEnd + 10, 2, Le16(60000)),
          {},
          EUnpackResult::OpenFailed,
          { "Open failed" },
          0 },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pszName);
        QFile::remove(m_work.Path("p.skn"));
        QDir(m_work.Path("out")).removeRecursively();
        if (!row.arrPackage.isEmpty())
            m_work.Write("p.skn", row.arrPackage);
        m_prompt = CScriptedPrompt();
        m_prompt.m_arrYesNo = row.arrAnswers;
        EXPECT_EQ(Unpack("p.skn"), row.eResult);
        EXPECT_EQ(m_prompt.Texts(), row.arrTexts);
        for (const auto& asked : m_prompt.m_arrAsked)
            EXPECT_EQ(asked.eIcon, IPrompt::EIcon::Stop);
        EXPECT_EQ(CZipWorkspace::Tree(m_work.Path("out")).size(), row.nEntries);
        EXPECT_EQ(m_archive.GetEntryCount(), 0);
    }
}

TEST_F(SkinArchiveTest, EndSignatureAtEveryWindowEdgeIsFound)
{
    m_work.Write("a.txt", "alpha");
    // A comment of n bytes puts the signature n + 22 bytes from the end; the
    // search windows cover the last 32768 bytes, then overlap by 3.
    for (const int nCommentBytes : { 32744, 32745, 32746, 32747, 32748, 65508, 65509, 65510, 65513, 65535 }) {
        SCOPED_TRACE(nCommentBytes);
        ASSERT_EQ(m_work.Python("z = zipfile.ZipFile('c.zip', 'w'); z.writestr('a.txt', 'alpha');"
                                "z.comment = b'\\xff' * int(sys.argv[1]); z.close()",
                                { QString::number(nCommentBytes) }),
                  0);
        m_archive.Close();
        ASSERT_NO_THROW(m_archive.Open(m_work.Path("c.zip")));
        EXPECT_EQ(m_archive.GetEntryCount(), 1);
        EXPECT_EQ(m_archive.GetComment().size(), nCommentBytes);
    }
}

TEST_F(SkinArchiveTest, DamagedEntriesStopExtraction)
{
    // Offsets: local header +6 flags, +8 method, +18 compressed size,
    // +26 name length; central record +10 method, +42 local header offset.
    const struct
    {
        const char* pszName;
        const char* pszZipOptions;
        std::function<void(CZipWorkspace&, const CZipLayout&)> patch;
    } rows[] = {
        { "bad CRC", "-0",
          [](CZipWorkspace& w, const CZipLayout& l) { w.PatchBytes("three.zip", l.arrDataStarts[1] + 3, "X"); } },
        { "damaged deflate data", "",
          [](CZipWorkspace& w, const CZipLayout& l) { w.PatchBytes("three.zip", l.arrDataStarts[1], "\xff\xff"); } },
        { "method 12", "",
          [](CZipWorkspace& w, const CZipLayout& l) {
              w.PatchBytes("three.zip", l.arrLocalHeaders[1] + 8, Le16(12));
              w.PatchBytes("three.zip", l.arrCentralRecords[1] + 10, Le16(12));
          } },
        { "local flags differ", "",
          [](CZipWorkspace& w, const CZipLayout& l) {
              w.PatchBytes("three.zip", l.arrLocalHeaders[1] + 6, Le16(0x4000));
          } },
        { "local method differs", "",
          [](CZipWorkspace& w, const CZipLayout& l) { w.PatchBytes("three.zip", l.arrLocalHeaders[1] + 8, Le16(0)); } },
        { "local size differs", "",
          [](CZipWorkspace& w, const CZipLayout& l) { w.PatchBytes("three.zip", l.arrLocalHeaders[1] + 18, "\x01"); } },
        { "local name length differs", "",
          [](CZipWorkspace& w, const CZipLayout& l) { w.PatchBytes("three.zip", l.arrLocalHeaders[1] + 26, "\x06"); } },
        { "local header offset beyond the file", "",
          [](CZipWorkspace& w, const CZipLayout& l) {
              w.PatchBytes("three.zip", l.arrCentralRecords[1] + 42, Le32(0x7FFFFF00));
          } },
        // b.txt is 1200 bytes; local header +22 and central record +24 hold
        // the uncompressed size.
        { "deflate data shorter than declared", "",
          [](CZipWorkspace& w, const CZipLayout& l) {
              w.PatchBytes("three.zip", l.arrLocalHeaders[1] + 22, Le32(1201));
              w.PatchBytes("three.zip", l.arrCentralRecords[1] + 24, Le32(1201));
          } },
        { "deflate data longer than declared", "",
          [](CZipWorkspace& w, const CZipLayout& l) {
              w.PatchBytes("three.zip", l.arrLocalHeaders[1] + 22, Le32(1199));
              w.PatchBytes("three.zip", l.arrCentralRecords[1] + 24, Le32(1199));
          } },
        { "stored size larger than its data", "-0",
          [](CZipWorkspace& w, const CZipLayout& l) {
              w.PatchBytes("three.zip", l.arrLocalHeaders[1] + 18, Le32(200000));
              w.PatchBytes("three.zip", l.arrLocalHeaders[1] + 22, Le32(200000));
              w.PatchBytes("three.zip", l.arrCentralRecords[1] + 20, Le32(200000));
              w.PatchBytes("three.zip", l.arrCentralRecords[1] + 24, Le32(200000));
          } },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pszName);
        QFile::remove(m_work.Path("three.zip"));
        QDir(m_work.Path("out")).removeRecursively();
        m_prompt = CScriptedPrompt();
        const CZipLayout layout = MakeThree(row.pszZipOptions);
        row.patch(m_work, layout);
        EXPECT_EQ(Unpack("three.zip"), EUnpackResult::ExtractFailed);
        EXPECT_EQ(m_prompt.Texts(), QStringList { "Extract failed" });
        const auto tree = CZipWorkspace::Tree(m_work.Path("out"));
        EXPECT_EQ(tree.value("a.txt"), m_work.Read("a.txt"));
        // Nothing of the damaged entry is left to pass for whole.
        EXPECT_EQ(tree.keys(), QStringList { "a.txt" });
    }
}

TEST_F(SkinArchiveTest, DataDescriptorThatDisagreesFails)
{
    m_work.Write("a.txt", CZipWorkspace::TextBytes(5000));
    ASSERT_EQ(m_work.Shell("zip -qX -fd d.zip a.txt"), 0);
    const CZipLayout layout = ReadLayout(m_work, m_work.Path("d.zip"));
    // The descriptor (with signature) ends where the central directory
    // starts; its last 4 bytes are the uncompressed size.
    m_work.PatchBytes("d.zip", layout.nCentralDirectory - 4, Le32(4999));
    EXPECT_EQ(Unpack("d.zip"), EUnpackResult::ExtractFailed);
}

TEST_F(SkinArchiveTest, EncryptedEntriesAreSkippedSilently)
{
    m_work.Write("secret.txt", "hidden");
    m_work.Write("plain.txt", "shown");
    ASSERT_EQ(m_work.Shell("zip -qX -P password e.zip secret.txt && zip -qX e.zip plain.txt"), 0);
    EXPECT_EQ(Unpack("e.zip"), EUnpackResult::Ok);
    EXPECT_EQ(m_prompt.Texts(), QStringList());
    EXPECT_EQ(CZipWorkspace::Tree(m_work.Path("out")).keys(), QStringList { "plain.txt" });
}

TEST_F(SkinArchiveTest, NamesStayInsideTheDestination)
{
    const struct
    {
        const char* pszStored;
        const char* pszExtracted; // nullptr: refused
    } rows[] = {
        { "../evil.txt", nullptr },
        { "a/../../evil.txt", nullptr },
        { "..\\evil.txt", nullptr },
        { "/abs/x.txt", "abs/x.txt" },
        { "C:\\drive\\y.txt", "drive/y.txt" },
        { "C:../evil.txt", nullptr },
        { "sub\\back\\z.txt", "sub/back/z.txt" },
        { "./dot/./w.txt", "dot/w.txt" },
        { "deep//double.txt", "deep/double.txt" },
    };
    QString strScript = "z = zipfile.ZipFile('n.zip', 'w')\n";
    for (const auto& row : rows)
        strScript +=
            QStringLiteral("z.writestr(zipfile.ZipInfo(%1), b'data')\n").arg(QString("r'") + row.pszStored + "'");
    ASSERT_EQ(m_work.Python(strScript + "z.close()"), 0);
    EXPECT_EQ(Unpack("n.zip", "jail/out"), EUnpackResult::Ok);
    QStringList arrExpected;
    for (const auto& row : rows) {
        if (row.pszExtracted)
            arrExpected.append(row.pszExtracted);
    }
    arrExpected.sort();
    EXPECT_EQ(CZipWorkspace::Tree(m_work.Path("jail/out")).keys(), arrExpected);
    EXPECT_EQ(CZipWorkspace::Tree(m_work.Path("jail")).size(), arrExpected.size());
    EXPECT_FALSE(QFileInfo::exists(m_work.Path("evil.txt")));
}

TEST_F(SkinArchiveTest, NamesDecodeFromCodePage437OrUtf8)
{
    // Python marks non-ASCII names as UTF-8 (flag bit 11); the DOS name is
    // made by changing the ASCII byte 'u' of "Mxnu.bmp" to 0x81 in both
    // headers (the local name starts at +30, the central name at +46).
    ASSERT_EQ(m_work.Python("z = zipfile.ZipFile('n.zip', 'w')\n"
                            "z.writestr('Menu.bmp', b'dos')\n"
                            "z.writestr('caf\\u00e9.bmp', b'utf')\n"
                            "z.close()"),
              0);
    const CZipLayout layout = ReadLayout(m_work, m_work.Path("n.zip"));
    m_work.PatchBytes("n.zip", layout.arrLocalHeaders[0] + 30 + 3, "\x81");
    m_work.PatchBytes("n.zip", layout.arrCentralRecords[0] + 46 + 3, "\x81");
    EXPECT_EQ(Unpack("n.zip"), EUnpackResult::Ok);
    EXPECT_EQ(m_work.Read(QString::fromUtf8("out/Men\u00fc.bmp")), "dos");
    EXPECT_EQ(m_work.Read(QString::fromUtf8("out/caf\u00e9.bmp")), "utf");
}

TEST_F(SkinArchiveTest, SymbolicLinksNeverBecomeLinks)
{
    m_work.Write("target.txt", "target");
    ASSERT_EQ(m_work.Shell("ln -s /etc/passwd link && zip -qXy l.zip link target.txt"), 0);
    EXPECT_EQ(Unpack("l.zip"), EUnpackResult::Ok);
    EXPECT_FALSE(QFileInfo(m_work.Path("out/link")).exists());
    EXPECT_FALSE(QFileInfo(m_work.Path("out/link")).isSymLink());
    EXPECT_EQ(m_work.Read("out/target.txt"), "target");
}

TEST_F(SkinArchiveTest, AttributesTimeStampsAndFoldersAreApplied)
{
    // create_system 3 puts a Unix mode in the high 16 bits; 0 leaves DOS
    // attributes only (0x01 read-only, 0x10 folder).
    ASSERT_EQ(m_work.Python("z = zipfile.ZipFile('p.zip', 'w')\n"
                            "def add(name, system, attributes):\n"
                            "    i = zipfile.ZipInfo(name, (2001, 2, 3, 4, 5, 6))\n"
                            "    i.create_system, i.external_attr = system, attributes\n"
                            "    z.writestr(i, b'' if name.endswith('/') else b'x')\n"
                            "add('setuid', 3, 0o104755 << 16)\n"
                            "add('private', 3, 0o100600 << 16)\n"
                            "add('readonly', 0, 0x01)\n"
                            "add('plain', 0, 0x20)\n"
                            "add('locked/', 3, (0o040000 << 16) | 0x10)\n"
                            "add('jarfolder/', 0, 0)\n"
                            "add('locked/inner', 0, 0x01)\n"
                            "z.close()"),
              0);
    EXPECT_EQ(Unpack("p.zip"), EUnpackResult::Ok);
    const auto Mode = [this](const char* pszName) {
        struct stat status;
        EXPECT_EQ(stat(QFile::encodeName(m_work.Path(pszName)).constData(), &status), 0) << pszName;
        return status.st_mode & 07777;
    };
    EXPECT_EQ(Mode("out/setuid"), 0755u);
    EXPECT_EQ(Mode("out/private"), 0600u);
    EXPECT_EQ(Mode("out/readonly") & 0222, 0u);
    EXPECT_NE(Mode("out/plain") & 0200, 0u);
    EXPECT_EQ(Mode("out/locked") & 0700, 0700u);
    EXPECT_TRUE(QFileInfo(m_work.Path("out/jarfolder")).isDir());
    const QDateTime stamp(QDate(2001, 2, 3), QTime(4, 5, 6));
    EXPECT_EQ(QFileInfo(m_work.Path("out/plain")).lastModified(), stamp);
    // Read-only files must not keep their folder from being removed.
    EXPECT_TRUE(QDir(m_work.Path("out")).removeRecursively());
}

TEST_F(SkinArchiveTest, OversizedPackagesAreRefusedBeforeWriting)
{
    ASSERT_EQ(m_work.Python("z = zipfile.ZipFile('many.zip', 'w')\n"
                            "for i in range(4097): z.writestr('f%d' % i, b'')\n"
                            "z.close()"),
              0);
    EXPECT_EQ(Unpack("many.zip"), EUnpackResult::ExtractFailed);
    EXPECT_FALSE(QFileInfo::exists(m_work.Path("out")));

    const CZipLayout layout = MakeThree("");
    // Central record +24: uncompressed size; 257 MiB declared.
    m_work.PatchBytes("three.zip", layout.arrCentralRecords[1] + 24, Le32(257u << 20));
    m_prompt = CScriptedPrompt();
    EXPECT_EQ(Unpack("three.zip"), EUnpackResult::ExtractFailed);
    EXPECT_FALSE(QFileInfo::exists(m_work.Path("out")));
    try {
        m_archive.Open(m_work.Path("three.zip"));
        m_archive.ExtractEntry(0, m_work.Path("out"));
        ADD_FAILURE() << "no exception";
    } catch (const CZipException& exception) {
        EXPECT_EQ(exception.GetCause(), CZipException::eTooLarge);
        EXPECT_EQ(exception.GetFileName(), m_work.Path("three.zip"));
    }
}

TEST_F(SkinArchiveTest, EntryStreamKeepsItsContract)
{
    const CZipLayout layout = MakeThree("");
    char buffer[100];
    m_archive.Open(m_work.Path("three.zip"));
    ASSERT_TRUE(m_archive.OpenEntry(0));
    EXPECT_FALSE(m_archive.OpenEntry(1));
    EXPECT_EQ(m_archive.ReadEntry(buffer, sizeof(buffer)), sizeof(buffer));
    EXPECT_EQ(m_archive.CloseEntry(), -1);
    EXPECT_EQ(m_archive.CloseEntry(), 0);
    EXPECT_FALSE(m_archive.OpenEntry(3));
    m_archive.Close();

    // Damaged deflate data: every read after the first failure repeats it.
    m_work.PatchBytes("three.zip", layout.arrDataStarts[0], "\xff\xff\xff");
    m_archive.Open(m_work.Path("three.zip"));
    ASSERT_TRUE(m_archive.OpenEntry(0));
    int nFirstCause = 0;
    try {
        m_archive.ReadEntry(buffer, sizeof(buffer));
    } catch (const CZipException& exception) {
        nFirstCause = exception.GetCause();
    }
    EXPECT_EQ(nFirstCause, CZipException::eDataError);
    try {
        m_archive.ReadEntry(buffer, sizeof(buffer));
        ADD_FAILURE() << "second read succeeded";
    } catch (const CZipException& exception) {
        EXPECT_EQ(exception.GetCause(), nFirstCause);
    }
    m_archive.Close();
    EXPECT_EQ(m_archive.GetEntryCount(), 0);
}

TEST_F(SkinArchiveTest, ReadOnlyPackageOpens)
{
    MakeThree("");
    QFile::setPermissions(m_work.Path("three.zip"), QFile::ReadOwner | QFile::ReadGroup);
    EXPECT_EQ(Unpack("three.zip"), EUnpackResult::Ok);
    EXPECT_EQ(CZipWorkspace::Tree(m_work.Path("out")).size(), 3);
}

} // namespace
