#include "skin/IniFile.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace {

class IniFileTest : public ::testing::Test
{
protected:
    QString Write(const QByteArray& text)
    {
        const QString strPath = m_dir.filePath("Skin.ini");
        QFile file(strPath);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
        return strPath;
    }

    QTemporaryDir m_dir;
};

TEST_F(IniFileTest, NamesMatchWithoutCaseAndValuesAreTrimmed)
{
    const CIniFile ini(Write("; a comment\r\n"
                             "[Screen]\r\n"
                             "  Main  =   Back.bmp  \r\n"
                             "[transparent]\r\n"
                             "color=0xFF00FF\r\n"));
    EXPECT_EQ(ini.GetString("SCREEN", "main", "x"), "Back.bmp");
    EXPECT_EQ(ini.GetString("TRANSPARENT", "COLOR", ""), "0xFF00FF");
    EXPECT_EQ(ini.GetString("Screen", "Missing", "fallback"), "fallback");
    EXPECT_EQ(ini.GetString("Nowhere", "Main", ""), "");
}

TEST_F(IniFileTest, FirstOccurrenceOfSectionAndKeyWins)
{
    const CIniFile ini(Write("[A]\nk=first\nK=second\n[B]\nk=b\n[a]\nk=third\nextra=1\n"));
    EXPECT_EQ(ini.GetString("a", "k", ""), "first");
    EXPECT_EQ(ini.GetString("A", "extra", "absent"), "absent");
}

TEST_F(IniFileTest, KeyNamesKeepFileOrderAndSkipComments)
{
    const CIniFile ini(Write("[BUTTONINFO]\n2=b\n;1=hidden\n1=a\n\n5=e\nnot a key line\n[NEXT]\n9=x\n"));
    QStringList arrKeys { "stale" };
    EXPECT_TRUE(ini.GetKeyNames("buttoninfo", arrKeys));
    EXPECT_EQ(arrKeys, (QStringList { "2", "1", "5" }));
    EXPECT_FALSE(ini.GetKeyNames("EMPTY", arrKeys));
    EXPECT_TRUE(arrKeys.isEmpty());
}

TEST_F(IniFileTest, MissingFileReadsAsAbsent)
{
    const CIniFile ini(m_dir.filePath("nothing.ini"));
    QStringList arrKeys;
    EXPECT_FALSE(ini.GetKeyNames("Screen", arrKeys));
    EXPECT_EQ(ini.GetString("Screen", "Main", "d"), "d");
}

TEST_F(IniFileTest, LongValuesAreCutToTheBufferOfTheProfileFunctions)
{
    const QByteArray value(3000, 'v');
    const CIniFile ini(Write("[S]\nk=" + value + "\n"));
    EXPECT_EQ(ini.GetString("S", "k", "").size(), CIniFile::MAX_VALUE_CHARS);
}

TEST_F(IniFileTest, KeyNamesStopWhereTheirBufferIsFull)
{
    // Each name takes 26 bytes with its terminator.
    constexpr int KEY_CHARS = 25;
    QByteArray text = "[S]\n";
    for (int i = 0; i < 1000; ++i)
        text += QByteArray::number(i + 1).rightJustified(KEY_CHARS, '0') + "=x\n";
    const CIniFile ini(Write(text));
    QStringList arrKeys;
    ini.GetKeyNames("S", arrKeys);
    int nBytes = 0;
    for (const QString& strKey : arrKeys)
        nBytes += int(strKey.size()) + 1;
    EXPECT_LE(nBytes, CIniFile::KEY_NAMES_BYTES);
    EXPECT_GT(nBytes, CIniFile::KEY_NAMES_BYTES - (KEY_CHARS + 1));
    EXPECT_EQ(arrKeys.front(), QString("1").rightJustified(KEY_CHARS, u'0'));
}

TEST_F(IniFileTest, AnsiTextIsReadAsLatin1)
{
    const CIniFile ini(Write("[CAPTION]\nCAPTION=cap,0,0,10,10,Caf\xe9,Arial,9,0\n"));
    EXPECT_TRUE(ini.GetString("CAPTION", "CAPTION", "").contains(QString::fromUtf8("Caf\u00e9")));
}

} // namespace
