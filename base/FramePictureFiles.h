#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// The frame pictures: bitmaps in the "Frame" folder, one of which the
// recorder lays over the video. This is where they are found, listed, named
// for the frame dialog, numbered for the recorder and decoded.

inline constexpr char FRAME_FOLDER_NAME[] = "Frame";
// Convert and Play lay the first picture of the list over the video unless
// the user picks another. So the folder we ship starts with a picture that
// draws nothing: a default recording stays clean, and picking it again takes
// a frame off. It sorts before every other picture we ship; every pixel is
// the transparent colour.
inline constexpr char NO_FRAME_PICTURE_FILE[] = "Frame00.bif";
inline constexpr char NO_FRAME_PICTURE_ENTRY[] = "No frame";
inline constexpr std::uint32_t FRAME_TRANSPARENT_RGB = 0xFF00FF;
// A frame picture needs no more than this a side; the recorder scales it to
// the coded picture anyway.
inline constexpr int MAX_FRAME_PICTURE_SIDE = 16384;

// The recorder numbers the pictures of the list from 1, and 0 lays none;
// the frame dialog and the settings count them from 0.
inline constexpr int NO_FRAME_PICTURE_NUMBER = 0;
constexpr int FramePictureNumber(int nListIndex)
{
    return nListIndex + 1;
}
constexpr int FramePictureListIndex(int nNumber)
{
    return nNumber - 1;
}

// The "Frame" folder of the first of the program's data folders that has
// one; empty when none does.
std::filesystem::path FindFramePictureFolder();

// The frame pictures of a folder: plain files whose names end in lower-case
// "bif", in name order. The n-th entry is what VideoFrame n + 1 shows.
std::vector<std::string> ListFramePictures(const std::filesystem::path& folder);

// The frame dialog's entry for a file of the list: the picture that draws
// nothing reads as such, the others by file name.
std::string FramePictureEntry(const std::string& strFileName);

// An uncompressed 24- or 32-bit Windows bitmap, top row first, pixels as
// 0x00RRGGBB.
struct CBitmapImage
{
    int nWidth = 0;
    int nHeight = 0;
    std::vector<std::uint32_t> pixels;
};

// Reads a bitmap file; empty with the cause in strReason when the file is
// missing, damaged or of a kind not supported.
std::optional<CBitmapImage> LoadBitmapFile(const std::filesystem::path& path, std::string& strReason);

enum class EFramePictureLoad {
    eNone,
    eLoaded,
    eFailed,
};

struct CFramePictureLoad
{
    EFramePictureLoad eResult = EFramePictureLoad::eNone;
    CBitmapImage image;
    std::string strReason; // when eFailed
};

// Finds and decodes picture nNumber of the Frame folder as it is now. 0, or
// a number past the list, is none, as with an empty folder; a listed file
// that cannot be read fails with its cause. Reads the disk: never call it on
// a thread that must keep pace with a device.
CFramePictureLoad LoadFramePicture(int nNumber);
