#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

extern "C" {
#include <libavutil/frame.h>
}

#include "engine/AvPtr.h"
#include "engine/CompressorCatalog.h"
#include "engine/FramePicture.h"
#include "engine/Recorder.h"
#include "tests/engine/MediaProbe.h"

namespace {

constexpr std::uint32_t RED = 0xFF0000;
constexpr std::uint32_t MAGENTA = 0xFF00FF;

void PutU32(std::vector<std::uint8_t>& data, std::uint32_t nValue)
{
    for (int nByte = 0; nByte < 4; ++nByte)
        data.push_back(static_cast<std::uint8_t>(nValue >> (8 * nByte)));
}

void PutU16(std::vector<std::uint8_t>& data, std::uint16_t nValue)
{
    data.push_back(static_cast<std::uint8_t>(nValue));
    data.push_back(static_cast<std::uint8_t>(nValue >> 8));
}

// A Windows bitmap as paint programs write it: bottom row first unless
// bTopDown, rows padded to four bytes.
std::vector<std::uint8_t> MakeBitmap(int nWidth, int nHeight, int nBits, bool bTopDown,
                                     const std::function<std::uint32_t(int, int)>& pixelAt)
{
    const std::size_t nRowSize = (static_cast<std::size_t>(nWidth) * nBits / 8 + 3) & ~std::size_t(3);
    std::vector<std::uint8_t> data = { 'B', 'M' };
    PutU32(data, static_cast<std::uint32_t>(54 + nRowSize * nHeight));
    PutU32(data, 0);
    PutU32(data, 54);
    PutU32(data, 40);
    PutU32(data, static_cast<std::uint32_t>(nWidth));
    PutU32(data, static_cast<std::uint32_t>(bTopDown ? -nHeight : nHeight));
    PutU16(data, 1);
    PutU16(data, static_cast<std::uint16_t>(nBits));
    for (int nField = 0; nField < 6; ++nField)
        PutU32(data, 0);
    for (int nRow = 0; nRow < nHeight; ++nRow) {
        const int y = bTopDown ? nRow : nHeight - 1 - nRow;
        std::size_t nWritten = 0;
        for (int x = 0; x < nWidth; ++x) {
            const std::uint32_t nRgb = pixelAt(x, y);
            data.push_back(static_cast<std::uint8_t>(nRgb));
            data.push_back(static_cast<std::uint8_t>(nRgb >> 8));
            data.push_back(static_cast<std::uint8_t>(nRgb >> 16));
            nWritten += 3;
            if (nBits == 32) {
                data.push_back(0);
                ++nWritten;
            }
        }
        for (; nWritten < nRowSize; ++nWritten)
            data.push_back(0);
    }
    return data;
}

void WriteFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& data)
{
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
}

// Left half red, right half transparent.
std::uint32_t HalfRed(int x, int, int nWidth)
{
    return x < nWidth / 2 ? RED : MAGENTA;
}

class CCurrentDirectory
{
public:
    explicit CCurrentDirectory(const std::filesystem::path& folder)
        : m_previous(std::filesystem::current_path())
    {
        std::filesystem::current_path(folder);
    }
    ~CCurrentDirectory() { std::filesystem::current_path(m_previous); }

private:
    std::filesystem::path m_previous;
};

} // namespace

TEST(FramePicture, ListsLowerCaseBifFilesInNameOrder)
{
    const QTemporaryDir folder;
    const std::filesystem::path frames = std::filesystem::path(folder.path().toStdString()) / "Frame";
    std::filesystem::create_directory(frames);
    for (const char* pszName : { "b.bif", "a.bif", "upper.BIF", "bif", "x.bifx", "c.Bif" })
        WriteFile(frames / pszName, { 0 });
    std::filesystem::create_directory(frames / "folder.bif");
    EXPECT_EQ(ListFramePictures(frames), (std::vector<std::string> { "a.bif", "b.bif", "bif" }));
    EXPECT_TRUE(ListFramePictures({}).empty());

    const CCurrentDirectory current(folder.path().toStdString());
    EXPECT_EQ(FindFramePictureFolder(), std::filesystem::current_path() / "Frame");
}

TEST(FramePicture, ReadsBitmapLayouts)
{
    const QTemporaryDir folder;
    struct CLayoutCase
    {
        const char* pszName;
        int nBits;
        bool bTopDown;
    } const cases[] = { { "24-bit bottom-up", 24, false },
                        { "32-bit bottom-up", 32, false },
                        { "24-bit top-down", 24, true } };
    const auto pattern = [](int x, int y) { return static_cast<std::uint32_t>((x * 40) << 16 | (y * 50) << 8 | 7); };
    for (const CLayoutCase& testCase : cases) {
        SCOPED_TRACE(testCase.pszName);
        const std::filesystem::path path = std::filesystem::path(folder.path().toStdString()) / "p.bif";
        WriteFile(path, MakeBitmap(5, 3, testCase.nBits, testCase.bTopDown, pattern));
        std::string strReason;
        const std::optional<CBitmapImage> image = LoadBitmapFile(path, strReason);
        ASSERT_TRUE(image) << strReason;
        ASSERT_EQ(image->nWidth, 5);
        ASSERT_EQ(image->nHeight, 3);
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < 5; ++x)
                EXPECT_EQ(image->pixels[y * 5 + x], pattern(x, y)) << x << "," << y;
        }
    }
}

TEST(FramePicture, RefusesDamagedBitmaps)
{
    const QTemporaryDir folder;
    const std::filesystem::path path = std::filesystem::path(folder.path().toStdString()) / "bad.bif";
    const std::vector<std::uint8_t> good = MakeBitmap(8, 8, 24, false, [](int, int) { return RED; });
    std::vector<std::uint8_t> truncated(good.begin(), good.end() - 10);
    std::vector<std::uint8_t> huge = good;
    huge[18 + 3] = 0x7F; // width field, most significant byte
    std::vector<std::uint8_t> eightBit = good;
    eightBit[28] = 8; // bits per pixel
    std::vector<std::uint8_t> offsetPastEnd = good;
    offsetPastEnd[13] = 0x7F; // pixel data offset
    const std::pair<const char*, std::vector<std::uint8_t>> cases[] = {
        { "truncated pixels", truncated },      { "absurd width", huge },
        { "palette bitmap", eightBit },         { "pixel offset past the end", offsetPastEnd },
        { "not a bitmap", { 'P', 'K', 3, 4 } },
    };
    for (const auto& [pszName, data] : cases) {
        SCOPED_TRACE(pszName);
        WriteFile(path, data);
        std::string strReason;
        EXPECT_FALSE(LoadBitmapFile(path, strReason));
        EXPECT_NE(strReason, "");
    }
    std::string strReason;
    EXPECT_FALSE(LoadBitmapFile(path.parent_path() / "missing.bif", strReason));
}

TEST(FramePicture, OverlayKeepsMagentaTransparent)
{
    CBitmapImage image;
    image.nWidth = 4;
    image.nHeight = 2;
    image.pixels = { RED, RED, MAGENTA, MAGENTA, RED, RED, MAGENTA, MAGENTA };
    const CFrameOverlay overlay(image, 8, 4);
    CFramePtr pFrame(av_frame_alloc());
    pFrame->width = 8;
    pFrame->height = 4;
    pFrame->format = AV_PIX_FMT_YUV420P;
    ASSERT_EQ(av_frame_get_buffer(pFrame.get(), 0), 0);
    for (int nPlane = 0; nPlane < 3; ++nPlane)
        std::memset(pFrame->data[nPlane], 100, static_cast<std::size_t>(pFrame->linesize[nPlane]) * (nPlane ? 2 : 4));
    overlay.Apply(pFrame.get());
    EXPECT_EQ(pFrame->data[0][0], 82) << "red in studio-range luma";
    EXPECT_EQ(pFrame->data[2][0], 240) << "red in Cr";
    EXPECT_EQ(pFrame->data[0][7], 100) << "magenta leaves the picture";
    EXPECT_EQ(pFrame->data[2][3], 100);
}

TEST(FramePicture, ShowsInTheRecordedPicture)
{
    const QTemporaryDir folder;
    const std::filesystem::path root = folder.path().toStdString();
    std::filesystem::create_directory(root / "Frame");
    WriteFile(root / "Frame" / "1.bif", MakeBitmap(64, 48, 24, false, [](int x, int y) { return HalfRed(x, y, 64); }));
    const CCurrentDirectory current(root);

    struct CFormatCase
    {
        int nWorkMode;
        const char* pszVideoCompressor; // AVI only; one that codes YUV 4:2:2
    } const cases[] = { { WORK_MODE_MPEG, "" }, { WORK_MODE_AVI, "huffyuv" } };
    for (const CFormatCase& formatCase : cases) {
        SCOPED_TRACE(formatCase.nWorkMode);
        CRecorder recorder;
        CRecordingRequest request;
        request.nOutputType = 5;
        request.nFrameRate = 25;
        request.nVideoBitrate = 2000000;
        request.nSampleRate = 44100;
        request.nVideoFrame = 1;
        request.dSeconds = 0.6;
        const std::string strFile = (root / "frame.mpg").string();
        ASSERT_TRUE(ConfigureRecorder(recorder, request, strFile));
        recorder.Profile().nWorkMode = formatCase.nWorkMode;
        recorder.Profile().nVideoCompressor =
            static_cast<short>(FindCompressor(ECompressorKind::eVideo, formatCase.pszVideoCompressor));
        ASSERT_NE(recorder.Start(), -1) << recorder.GetLastError();
        recorder.WaitUntilFinished(-1);
        recorder.Stop();

        const std::vector<std::uint8_t> rgb = DecodePictureRgb(strFile, 0.3);
        ASSERT_EQ(rgb.size(), static_cast<std::size_t>(352 * 240 * 3));
        const auto pixel = [&](int x, int y) { return &rgb[(static_cast<std::size_t>(y) * 352 + x) * 3]; };
        // The left half is the picture's red everywhere.
        for (const auto& [x, y] : { std::pair { 10, 10 }, { 100, 120 }, { 160, 230 } }) {
            SCOPED_TRACE(std::to_string(x) + "," + std::to_string(y));
            EXPECT_GT(pixel(x, y)[0], 200);
            EXPECT_LT(pixel(x, y)[1], 60);
            EXPECT_LT(pixel(x, y)[2], 60);
        }
        // The right half shows the test pattern, which is not plain red throughout.
        int nNotRed = 0;
        for (int x = 190; x < 352; x += 8) {
            const std::uint8_t* pPixel = pixel(x, 120);
            nNotRed += !(pPixel[0] > 200 && pPixel[1] < 60 && pPixel[2] < 60);
        }
        EXPECT_GT(nNotRed, 5);
    }
}

// A change shows at once. The video thread never reads a frame picture:
// whoever changes it reads it first, so a file gone once it was chosen
// still shows, and one that cannot be read is reported and leaves the
// picture on screen as it was.
TEST(FramePicture, ChangeWhileRecordingShowsAtOnce)
{
    const struct
    {
        const char* pszName;
        short nStartFrame;
        short nChangeTo;
        bool bRemoveOnceChosen;
        bool bAccepted;
        bool bRedBefore;
        bool bRedAfter;
    } cases[] = {
        { "picture chosen", 0, 1, false, true, false, true },
        { "picture removed once chosen", 0, 1, true, true, false, true },
        { "unreadable picture keeps the one shown", 1, 2, false, false, true, true },
        { "picture taken off", 1, 0, false, true, true, false },
    };
    const auto isAllRed = [](const std::vector<std::uint8_t>& rgb) {
        for (std::size_t nIndex = 0; nIndex + 2 < rgb.size(); nIndex += 3 * 97) {
            if (rgb[nIndex] < 200 || rgb[nIndex + 1] > 60 || rgb[nIndex + 2] > 60)
                return false;
        }
        return !rgb.empty();
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.pszName);
        const QTemporaryDir folder;
        const std::filesystem::path root = folder.path().toStdString();
        std::filesystem::create_directory(root / "Frame");
        WriteFile(root / "Frame" / "1.bif", MakeBitmap(8, 8, 24, false, [](int, int) { return RED; }));
        WriteFile(root / "Frame" / "2.bif", { 'B', 'M', 0, 0 });
        const CCurrentDirectory current(root);

        CRecorder recorder;
        CRecordingRequest request;
        request.nOutputType = 5;
        request.nFrameRate = 25;
        request.nSampleRate = 44100;
        request.nVideoFrame = testCase.nStartFrame;
        request.bFast = false;
        request.dSeconds = 0;
        const std::string strFile = (root / "live.mpg").string();
        ASSERT_TRUE(ConfigureRecorder(recorder, request, strFile));
        ASSERT_NE(recorder.Start(), -1) << recorder.GetLastError();
        ASSERT_TRUE(WaitForElapsed(recorder, 0.6)) << recorder.GetLastError();
        const double dChangedAt = recorder.GetStatus().dElapsedSeconds;
        EXPECT_EQ(recorder.SetVideoFrame(testCase.nChangeTo), testCase.bAccepted);
        if (testCase.bRemoveOnceChosen)
            std::filesystem::remove(root / "Frame" / "1.bif");
        ASSERT_TRUE(WaitForElapsed(recorder, dChangedAt + 0.8)) << recorder.GetLastError();
        recorder.Stop();

        EXPECT_EQ(isAllRed(DecodePictureRgb(strFile, 0.2)), testCase.bRedBefore);
        // The status trails the pictures by up to its interval, 50 ms; the rest
        // of the half second is slack for a loaded machine.
        EXPECT_EQ(isAllRed(DecodePictureRgb(strFile, dChangedAt + 0.5)), testCase.bRedAfter);
    }
}

TEST(FramePicture, SlotHandsOverTheNewestPicture)
{
    CBitmapImage image;
    image.nWidth = 1;
    image.nHeight = 1;
    image.pixels = { RED };
    const auto pFirst = std::make_shared<const CFrameOverlay>(image, 2, 2);
    const auto pSecond = std::make_shared<const CFrameOverlay>(image, 2, 2);
    CFrameOverlaySlot slot;
    EXPECT_EQ(slot.Take(), nullptr);
    slot.Put(pFirst);
    slot.Put(pSecond);
    EXPECT_EQ(slot.Take(), pSecond.get());
    EXPECT_EQ(slot.Take(), pSecond.get()) << "kept until another is put";
    slot.Put(nullptr);
    EXPECT_EQ(slot.Take(), nullptr);
}
