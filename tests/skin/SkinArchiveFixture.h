#pragma once

#include <gtest/gtest.h>

#include "skin/SkinArchive.h"
#include "skin/SkinUnpacker.h"
#include "tests/common/ScriptedPrompt.h"
#include "tests/skin/ZipFixtures.h"

// A reader, a prompt that records what a person would have seen, and a
// private folder for the archives of one test.
class SkinArchiveTest : public ::testing::Test
{
protected:
    EUnpackResult Unpack(const QString& strArchive, const QString& strFolder = "out",
                         EExistingFile eExisting = EExistingFile::Refuse)
    {
        return UnpackSkin(m_archive, m_work.Path(strArchive), m_work.Path(strFolder), m_prompt, eExisting);
    }

    // The files every tool row packs: the sizes around the copy buffer,
    // empty and one-byte files, text that deflates and bytes that do not.
    void WriteSourceTree()
    {
        m_work.Write("src/Skin.ini", "[Screen]\r\nMain=Back.bmp\r\n");
        m_work.Write("src/empty.bin", QByteArray());
        m_work.Write("src/one.bin", "x");
        m_work.Write("src/sub/dir/max.bin", CZipWorkspace::RandomBytes(65535));
        m_work.Write("src/sub/64k.txt", CZipWorkspace::TextBytes(65536));
        m_work.Write("src/big.bin", CZipWorkspace::RandomBytes(100000) + CZipWorkspace::TextBytes(400000));
    }

    // Three small entries a.txt, b.txt, c.txt; stored with "-0".
    CZipLayout MakeThree(const QString& strOptions)
    {
        m_work.Write("a.txt", QByteArray("alpha ").repeated(200));
        m_work.Write("b.txt", QByteArray("bravo ").repeated(200));
        m_work.Write("c.txt", QByteArray("charlie ").repeated(200));
        EXPECT_EQ(m_work.Shell("zip -qX " + strOptions + " three.zip a.txt b.txt c.txt"), 0);
        return ReadLayout(m_work, m_work.Path("three.zip"));
    }

    // The cause with which opening the archive fails, 0 when it opens.
    int OpenCause(const QString& strArchive)
    {
        m_archive.Close();
        int nCause = 0;
        try {
            m_archive.Open(m_work.Path(strArchive));
        } catch (const CZipException& exception) {
            nCause = exception.GetCause();
        }
        m_archive.Close();
        return nCause;
    }

    CZipWorkspace m_work;
    CSkinArchive m_archive;
    CScriptedPrompt m_prompt;
};
