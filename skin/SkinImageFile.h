#pragma once

#include <QImage>
#include <QString>

// No screen needs a skin picture wider or taller than this; a larger one
// would only cost memory and time.
inline constexpr int MAX_SKIN_IMAGE_SIDE = 8192;
// A picture drawn at twice the resolution sits beside its partner with this
// before the suffix: "images/Exit.bmp" and "images/Exit@2x.bmp".
inline const QString DOUBLE_SIZE_MARK = QStringLiteral("@2x");

enum class ESkinImageResult {
    eOk,
    eMissing,
    // The BMP header claims more pixel data than the file holds, or none,
    // or is of a kind no decoder here reads.
    eBadBmpHeader,
    eTooLarge,
    eUnreadable,
};

struct CSkinImageFile
{
    QImage image;
    ESkinImageResult eResult = ESkinImageResult::eOk;
    // The cause, without the path; empty when the image was read.
    QString strReason;
};

// Reads a picture of a skin, refusing before any decoding a BMP whose header
// claims more pixels than the file holds and any picture with a side above
// MAX_SKIN_IMAGE_SIDE, so a hostile skin cannot make the reader allocate
// gigabytes.
CSkinImageFile ReadSkinImageFile(const QString& strPath);

// The path the double-resolution partner of the picture at strPath has on
// disk, in whatever letter case the package wrote it.
QString DoubleSizePartnerPath(const QString& strPath);
