#include <gtest/gtest.h>

#include <limits>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QtEndian>

#include "skin/SkinImageFile.h"

namespace {

// Offsets into a BMP with a BITMAPINFOHEADER.
constexpr int WIDTH_AT = 18;
constexpr int HEIGHT_AT = 22;
constexpr int COMPRESSION_AT = 30;
constexpr quint32 BI_RLE8 = 1;

QByteArray EncodeBmp(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

QByteArray SmallBmp()
{
    QImage image(16, 8, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    return EncodeBmp(image);
}

void Put32(QByteArray& bytes, int nOffset, qint32 nValue)
{
    qToLittleEndian(nValue, bytes.data() + nOffset);
}

// The small BMP with its header claiming another size.
QByteArray Claiming(qint32 nWidth, qint32 nHeight)
{
    QByteArray bytes = SmallBmp();
    Put32(bytes, WIDTH_AT, nWidth);
    Put32(bytes, HEIGHT_AT, nHeight);
    return bytes;
}

// The small BMP stored top-down, as a negative height says.
QByteArray TopDown()
{
    QByteArray bytes = SmallBmp();
    Put32(bytes, HEIGHT_AT, -8);
    return bytes;
}

QByteArray RunLengthClaiming(qint32 nWidth, qint32 nHeight)
{
    QByteArray bytes = Claiming(nWidth, nHeight);
    Put32(bytes, COMPRESSION_AT, BI_RLE8);
    return bytes;
}

QByteArray WidePng()
{
    QImage image(MAX_SKIN_IMAGE_SIDE + 1, 1, QImage::Format_RGB32);
    image.fill(Qt::white);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

TEST(SkinImageFile, RefusesWhatTheFileCannotHold)
{
    const struct
    {
        const char* pszCase;
        QByteArray bytes;
        ESkinImageResult eExpected;
    } rows[] = {
        { "small picture", SmallBmp(), ESkinImageResult::eOk },
        { "top-down rows", TopDown(), ESkinImageResult::eOk },
        { "60000x60000 in a few bytes", Claiming(60000, 60000), ESkinImageResult::eTooLarge },
        { "4000x4000 in a few bytes", Claiming(4000, 4000), ESkinImageResult::eBadBmpHeader },
        { "top-down 4000x4000 in a few bytes", Claiming(4000, -4000), ESkinImageResult::eBadBmpHeader },
        { "most negative height", Claiming(16, std::numeric_limits<qint32>::min()), ESkinImageResult::eTooLarge },
        { "most negative width", Claiming(std::numeric_limits<qint32>::min(), 8), ESkinImageResult::eBadBmpHeader },
        { "no rows", Claiming(16, 0), ESkinImageResult::eBadBmpHeader },
        { "pixel data cut short", SmallBmp().chopped(20), ESkinImageResult::eBadBmpHeader },
        { "header cut short", SmallBmp().left(20), ESkinImageResult::eBadBmpHeader },
        { "run-length 8000x8000 in a few bytes", RunLengthClaiming(8000, 8000), ESkinImageResult::eBadBmpHeader },
        { "PNG wider than any screen", WidePng(), ESkinImageResult::eTooLarge },
        { "not a picture", QByteArray("not a bitmap"), ESkinImageResult::eUnreadable },
    };
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pszCase);
        const QString strPath = dir.filePath("picture.bmp");
        QFile file(strPath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(row.bytes);
        file.close();
        const CSkinImageFile read = ReadSkinImageFile(strPath);
        EXPECT_EQ(read.eResult, row.eExpected) << read.strReason.toStdString();
        EXPECT_EQ(read.image.isNull(), row.eExpected != ESkinImageResult::eOk);
        EXPECT_EQ(read.strReason.isEmpty(), row.eExpected == ESkinImageResult::eOk);
    }
}

TEST(SkinImageFile, MissingFileIsMissing)
{
    QTemporaryDir dir;
    EXPECT_EQ(ReadSkinImageFile(dir.filePath("gone.bmp")).eResult, ESkinImageResult::eMissing);
}

TEST(SkinImageFile, DoubleSizePartnerFollowsTheCaseOnDisk)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath("images"));
    QFile(dir.filePath("images/EXIT@2X.BMP")).open(QIODevice::WriteOnly);
    EXPECT_EQ(DoubleSizePartnerPath(dir.filePath("images/Exit.bmp")), dir.filePath("images/EXIT@2X.BMP"));
    EXPECT_EQ(DoubleSizePartnerPath(dir.filePath("images/Stop.bmp")), dir.filePath("images/Stop@2x.bmp"));
    EXPECT_EQ(DoubleSizePartnerPath(dir.filePath("images/Plain")), dir.filePath("images/Plain@2x"));
}

} // namespace
