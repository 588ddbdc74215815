#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include <QByteArray>
#include <QImage>
#include <QTemporaryDir>

#include "base/BmpHeader.h"
#include "base/FramePictureFiles.h"
#include "tests/base/BmpTestFiles.h"

namespace {

constexpr std::int64_t MAX_SIDE = 1000;
// Offsets into the files MakeBmp writes.
constexpr std::size_t PIXEL_OFFSET_AT = 10;
constexpr std::size_t INFO_HEADER_AT = 14;
constexpr std::size_t HEIGHT_AT = 22;

std::vector<std::uint8_t> WithPixelOffset(std::vector<std::uint8_t> data, std::uint32_t nOffset)
{
    PutLittleEndian(data, PIXEL_OFFSET_AT, nOffset, 4);
    return data;
}

std::vector<std::uint8_t> ClaimingHeight(std::vector<std::uint8_t> data, std::int32_t nHeight)
{
    PutLittleEndian(data, HEIGHT_AT, static_cast<std::uint32_t>(nHeight), 4);
    return data;
}

std::vector<std::uint8_t> CutTo(std::vector<std::uint8_t> data, std::size_t nSize)
{
    data.resize(nSize);
    return data;
}

CBmpHeaderRead Read(const std::vector<std::uint8_t>& data)
{
    return ReadBmpHeader(data.data(), data.size(), static_cast<std::int64_t>(data.size()), MAX_SIDE);
}

bool QtDecodes(const std::vector<std::uint8_t>& data)
{
    QImage image;
    return image.loadFromData(
        QByteArray(reinterpret_cast<const char*>(data.data()), static_cast<qsizetype>(data.size())), "BMP");
}

bool FramePictureDecodes(const std::vector<std::uint8_t>& data)
{
    const QTemporaryDir folder;
    const std::filesystem::path path = std::filesystem::path(folder.path().toStdString()) / "picture.bif";
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    std::string strReason;
    return LoadBitmapFile(path, strReason).has_value();
}

} // namespace

TEST(BmpHeader, ReadsGoodHeadersAndRefusesBadOnes)
{
    const std::vector<std::uint8_t> good = MakeBmp({});
    const struct
    {
        const char* pszName;
        std::vector<std::uint8_t> data;
        EBmpHeaderResult eExpected;
    } cases[] = {
        { "BITMAPINFOHEADER", good, EBmpHeaderResult::eOk },
        { "OS/2 1.x core header", MakeBmp({ .nInfoSize = 12 }), EBmpHeaderResult::eOk },
        { "OS/2 2.x full header", MakeBmp({ .nInfoSize = 64 }), EBmpHeaderResult::eOk },
        { "V4 header", MakeBmp({ .nInfoSize = 108 }), EBmpHeaderResult::eOk },
        { "V5 header", MakeBmp({ .nInfoSize = 124 }), EBmpHeaderResult::eOk },
        { "top-down", MakeBmp({ .nHeight = -2 }), EBmpHeaderResult::eOk },
        { "sides at the limit", MakeBmp({ .nWidth = MAX_SIDE, .nHeight = 1 }), EBmpHeaderResult::eOk },
        { "OS/2 2.x header cut to 16 bytes", MakeBmp({ .nInfoSize = 16 }), EBmpHeaderResult::eUnsupportedHeader },
        { "V2 header of 52 bytes", MakeBmp({ .nInfoSize = 52 }), EBmpHeaderResult::eUnsupportedHeader },
        { "absurd header size", MakeBmp({ .nInfoSize = 4000 }), EBmpHeaderResult::eUnsupportedHeader },
        { "a ZIP archive", { 'P', 'K', 3, 4, 0, 0 }, EBmpHeaderResult::eNotBmp },
        { "only the magic", { 'B', 'M' }, EBmpHeaderResult::eCutShort },
        { "cut in the file header", CutTo(good, 12), EBmpHeaderResult::eCutShort },
        { "cut in the info header", CutTo(good, INFO_HEADER_AT + 30), EBmpHeaderResult::eCutShort },
        { "core header cut", CutTo(MakeBmp({ .nInfoSize = 12 }), INFO_HEADER_AT + 8), EBmpHeaderResult::eCutShort },
        { "no width", MakeBmp({ .nWidth = 0 }), EBmpHeaderResult::eNoPixels },
        { "negative width", MakeBmp({ .nWidth = -4 }), EBmpHeaderResult::eNoPixels },
        { "most negative height", ClaimingHeight(good, std::numeric_limits<std::int32_t>::min()),
          EBmpHeaderResult::eTooLarge },
        { "huge height in a small file", ClaimingHeight(good, std::numeric_limits<std::int32_t>::max()),
          EBmpHeaderResult::eTooLarge },
        { "no bits", MakeBmp({ .nBits = 0 }), EBmpHeaderResult::eNoPixels },
        { "wide past the limit", MakeBmp({ .nWidth = MAX_SIDE + 1, .nHeight = 1 }), EBmpHeaderResult::eTooLarge },
        { "tall past the limit", MakeBmp({ .nWidth = 1, .nHeight = MAX_SIDE + 1 }), EBmpHeaderResult::eTooLarge },
        { "pixels said to start at 0", WithPixelOffset(good, 0), EBmpHeaderResult::eBadPixelOffset },
        { "pixels said to start in the info header", WithPixelOffset(good, 40), EBmpHeaderResult::eBadPixelOffset },
        { "pixels said to start past the end", WithPixelOffset(good, 0x7F000000), EBmpHeaderResult::eBadPixelOffset },
        { "pixels cut short", CutTo(good, good.size() - 1), EBmpHeaderResult::ePixelsCutShort },
        { "pixels start late", WithPixelOffset(good, 60), EBmpHeaderResult::ePixelsCutShort },
        { "run-length sides in a few bytes",
          CutTo(MakeBmp({ .nWidth = 900, .nHeight = 900, .nBits = 8, .nCompression = 1 }), 2000),
          EBmpHeaderResult::ePixelsCutShort },
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.pszName);
        const CBmpHeaderRead read = Read(testCase.data);
        EXPECT_EQ(read.eResult, testCase.eExpected) << read.strReason;
        EXPECT_EQ(read.strReason.empty(), testCase.eExpected == EBmpHeaderResult::eOk);
    }
}

// The header reader is the gate of two decoders, Qt's for skin pictures and
// ours for frame pictures: a header it lets through must be one at least one
// of them decodes, and one it refuses one neither does.
TEST(BmpHeader, AcceptsTheHeadersADecoderReads)
{
    const struct
    {
        std::uint32_t nInfoSize;
        bool bQtDecodes;
        bool bFramePictureDecodes;
    } cases[] = {
        { 12, true, true },   { 16, false, false }, { 40, true, true },  { 52, false, false },
        { 56, false, false }, { 64, true, true },   { 108, true, true }, { 124, true, true },
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.nInfoSize);
        const std::vector<std::uint8_t> data = MakeBmp({ .nInfoSize = testCase.nInfoSize });
        EXPECT_EQ(QtDecodes(data), testCase.bQtDecodes);
        EXPECT_EQ(FramePictureDecodes(data), testCase.bFramePictureDecodes);
        EXPECT_EQ(Read(data).eResult == EBmpHeaderResult::eOk, testCase.bQtDecodes || testCase.bFramePictureDecodes);
    }
}
