#include "base/FramePictureFiles.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <system_error>

#include "base/BmpHeader.h"
#include "base/ProgramFolders.h"

namespace {

constexpr char FRAME_PICTURE_SUFFIX[] = "bif";
constexpr std::size_t FRAME_PICTURE_SUFFIX_LENGTH = sizeof(FRAME_PICTURE_SUFFIX) - 1;

bool IsSupportedLayout(const CBmpHeader& header)
{
    return (header.nBitsPerPixel == 24 && header.nCompression == BMP_COMPRESSION_RGB)
        || (header.nBitsPerPixel == 32
            && (header.nCompression == BMP_COMPRESSION_RGB || header.nCompression == BMP_COMPRESSION_BITFIELDS));
}

CBitmapImage DecodePixels(const std::vector<std::uint8_t>& data, const CBmpHeader& header)
{
    const std::size_t nBytesPerPixel = header.nBitsPerPixel / 8;
    const auto nRowSize = static_cast<std::size_t>(BmpRowBytes(header.nWidth, header.nBitsPerPixel));
    CBitmapImage image;
    image.nWidth = static_cast<int>(header.nWidth);
    image.nHeight = static_cast<int>(header.nRows);
    image.pixels.resize(static_cast<std::size_t>(image.nWidth) * image.nHeight);
    for (int y = 0; y < image.nHeight; ++y) {
        const std::size_t nSourceRow = header.bTopDown ? y : image.nHeight - 1 - y;
        const std::uint8_t* pRow = data.data() + header.nPixelOffset + nSourceRow * nRowSize;
        std::uint32_t* pTarget = image.pixels.data() + static_cast<std::size_t>(y) * image.nWidth;
        for (int x = 0; x < image.nWidth; ++x) {
            const std::uint8_t* pPixel = pRow + x * nBytesPerPixel;
            pTarget[x] = (std::uint32_t(pPixel[2]) << 16) | (std::uint32_t(pPixel[1]) << 8) | pPixel[0];
        }
    }
    return image;
}

} // namespace

std::filesystem::path FindFramePictureFolder()
{
    std::error_code error;
    for (const std::filesystem::path& folder : ProgramDataFolders()) {
        const std::filesystem::path candidate = folder / FRAME_FOLDER_NAME;
        if (std::filesystem::is_directory(candidate, error))
            return candidate;
    }
    return {};
}

std::vector<std::string> ListFramePictures(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    if (folder.empty())
        return names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.is_directory(error))
            continue;
        const std::string strName = entry.path().filename().string();
        if (strName.size() >= FRAME_PICTURE_SUFFIX_LENGTH
            && strName.compare(strName.size() - FRAME_PICTURE_SUFFIX_LENGTH, FRAME_PICTURE_SUFFIX_LENGTH,
                               FRAME_PICTURE_SUFFIX)
                == 0)
            names.push_back(strName);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string FramePictureEntry(const std::string& strFileName)
{
    return strFileName == NO_FRAME_PICTURE_FILE ? std::string(NO_FRAME_PICTURE_ENTRY) : strFileName;
}

std::optional<CBitmapImage> LoadBitmapFile(const std::filesystem::path& path, std::string& strReason)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        strReason = "cannot open frame picture " + path.string();
        return std::nullopt;
    }
    const std::vector<std::uint8_t> data((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const CBmpHeaderRead read =
        ReadBmpHeader(data.data(), data.size(), static_cast<std::int64_t>(data.size()), MAX_FRAME_PICTURE_SIDE);
    if (read.eResult != EBmpHeaderResult::eOk) {
        strReason = path.string() + ": " + read.strReason;
        return std::nullopt;
    }
    if (!IsSupportedLayout(read.header)) {
        strReason = path.string() + ": only uncompressed 24- and 32-bit bitmaps are supported";
        return std::nullopt;
    }
    return DecodePixels(data, read.header);
}

CFramePictureLoad LoadFramePicture(int nNumber)
{
    CFramePictureLoad load;
    if (nNumber <= NO_FRAME_PICTURE_NUMBER)
        return load;
    const std::filesystem::path folder = FindFramePictureFolder();
    const std::vector<std::string> pictures = ListFramePictures(folder);
    // A number past the list shows no picture, as with an empty folder.
    const auto nIndex = static_cast<std::size_t>(FramePictureListIndex(nNumber));
    if (nIndex >= pictures.size())
        return load;
    std::optional<CBitmapImage> image = LoadBitmapFile(folder / pictures[nIndex], load.strReason);
    load.eResult = image ? EFramePictureLoad::eLoaded : EFramePictureLoad::eFailed;
    if (image)
        load.image = std::move(*image);
    return load;
}
