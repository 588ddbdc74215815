#include "skin/SkinImageFile.h"

#include <algorithm>
#include <cstdlib>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include "skin/LittleEndian.h"
#include "skin/SkinPath.h"

namespace {

// BITMAPFILEHEADER, then the size field every info header starts with.
constexpr int FILE_HEADER_SIZE = 14;
constexpr int PIXEL_OFFSET_AT = 10;
constexpr int CORE_HEADER_SIZE = 12;
// BITMAPINFOHEADER and its successors share the fields up to compression.
constexpr int INFO_HEADER_MIN_SIZE = 16;
constexpr int INFO_FIELDS_READ = 20;
constexpr int HEADERS_READ = FILE_HEADER_SIZE + INFO_FIELDS_READ;
constexpr quint32 BI_RLE8 = 1;
constexpr quint32 BI_RLE4 = 2;
// Other compressions (JPEG, PNG inside a BMP) are left to the reader and the
// side limit.
constexpr quint32 BI_JPEG = 4;
constexpr quint32 BI_PNG = 5;
// Run-length data spends at least two bytes on a run of at most 255 pixels.
constexpr qint64 RLE_BYTES_PER_RUN = 2;
constexpr qint64 RLE_MAX_RUN = 255;

struct CBmpGeometry
{
    qint64 nWidth = 0;
    qint64 nRows = 0;
    qint64 nBitsPerPixel = 0;
    quint32 nCompression = 0;
    qint64 nPixelOffset = 0;
};

bool ReadBmpGeometry(const QByteArray& header, CBmpGeometry& geometry)
{
    const char* pHeader = header.constData();
    const quint32 nInfoSize = LittleEndian::Read32(pHeader, FILE_HEADER_SIZE);
    const char* pInfo = pHeader + FILE_HEADER_SIZE;
    geometry.nPixelOffset = LittleEndian::Read32(pHeader, PIXEL_OFFSET_AT);
    if (nInfoSize == CORE_HEADER_SIZE && header.size() >= FILE_HEADER_SIZE + CORE_HEADER_SIZE) {
        geometry.nWidth = LittleEndian::Read16(pInfo, 4);
        geometry.nRows = LittleEndian::Read16(pInfo, 6);
        geometry.nBitsPerPixel = LittleEndian::Read16(pInfo, 10);
        return true;
    }
    if (nInfoSize < INFO_HEADER_MIN_SIZE || header.size() < FILE_HEADER_SIZE + INFO_HEADER_MIN_SIZE)
        return false;
    geometry.nWidth = qint32(LittleEndian::Read32(pInfo, 4));
    // A negative height marks rows stored top-down; 64 bits keep INT32_MIN whole.
    geometry.nRows = std::llabs(qint64(qint32(LittleEndian::Read32(pInfo, 8))));
    geometry.nBitsPerPixel = LittleEndian::Read16(pInfo, 14);
    const bool bHasCompression = nInfoSize >= INFO_FIELDS_READ && header.size() >= HEADERS_READ;
    geometry.nCompression = bHasCompression ? LittleEndian::Read32(pInfo, 16) : 0;
    return true;
}

// The smallest pixel data the header allows, in bytes; -1 when the header
// says nothing reliable about it.
qint64 LeastPixelBytes(const CBmpGeometry& geometry)
{
    if (geometry.nCompression == BI_JPEG || geometry.nCompression == BI_PNG)
        return -1;
    if (geometry.nCompression == BI_RLE8 || geometry.nCompression == BI_RLE4) {
        const qint64 nRunsPerRow = (geometry.nWidth + RLE_MAX_RUN - 1) / RLE_MAX_RUN;
        return geometry.nRows * nRunsPerRow * RLE_BYTES_PER_RUN;
    }
    // Rows are padded to whole 32-bit words.
    const qint64 nRowBytes = (geometry.nWidth * geometry.nBitsPerPixel + 31) / 32 * 4;
    return nRowBytes * geometry.nRows;
}

CSkinImageFile Refused(ESkinImageResult eResult, const QString& strCause)
{
    return CSkinImageFile { QImage(), eResult, strCause };
}

CSkinImageFile TooLarge(qint64 nWidth, qint64 nHeight)
{
    return Refused(ESkinImageResult::eTooLarge,
                   QCoreApplication::translate("SkinImageFile", "%1x%2 pixels, more than %3 a side")
                       .arg(nWidth)
                       .arg(nHeight)
                       .arg(MAX_SKIN_IMAGE_SIDE));
}

// Whether the file, when it is a BMP, must not be decoded: eOk when it may be.
CSkinImageFile CheckBmpHeader(QFile& file)
{
    const QByteArray header = file.read(HEADERS_READ);
    if (header.size() < FILE_HEADER_SIZE + 4 || !header.startsWith("BM"))
        return CSkinImageFile();
    CBmpGeometry geometry;
    if (!ReadBmpGeometry(header, geometry))
        return Refused(ESkinImageResult::eBadBmpHeader,
                       QCoreApplication::translate("SkinImageFile", "BMP header cut short"));
    if (geometry.nWidth <= 0 || geometry.nRows <= 0 || geometry.nBitsPerPixel <= 0)
        return Refused(ESkinImageResult::eBadBmpHeader,
                       QCoreApplication::translate("SkinImageFile", "BMP header claims no pixels (%1x%2, %3 bits)")
                           .arg(geometry.nWidth)
                           .arg(geometry.nRows)
                           .arg(geometry.nBitsPerPixel));
    if (geometry.nWidth > MAX_SKIN_IMAGE_SIDE || geometry.nRows > MAX_SKIN_IMAGE_SIDE)
        return TooLarge(geometry.nWidth, geometry.nRows);
    const qint64 nLeastBytes = LeastPixelBytes(geometry);
    const qint64 nHeld = file.size() - geometry.nPixelOffset;
    if (nLeastBytes >= 0 && nHeld < nLeastBytes)
        return Refused(
            ESkinImageResult::eBadBmpHeader,
            QCoreApplication::translate("SkinImageFile", "BMP header claims %1x%2 pixels (%3 bytes), the file holds %4")
                .arg(geometry.nWidth)
                .arg(geometry.nRows)
                .arg(nLeastBytes)
                .arg(std::max<qint64>(nHeld, 0)));
    return CSkinImageFile();
}

} // namespace

CSkinImageFile ReadSkinImageFile(const QString& strPath)
{
    QFile file(strPath);
    if (!QFileInfo(strPath).isFile() || !file.open(QIODevice::ReadOnly))
        return Refused(ESkinImageResult::eMissing, QCoreApplication::translate("SkinImageFile", "not found"));
    const CSkinImageFile bmpCheck = CheckBmpHeader(file);
    if (bmpCheck.eResult != ESkinImageResult::eOk)
        return bmpCheck;
    file.seek(0);
    QImageReader reader(&file);
    const QSize size = reader.size();
    if (size.width() > MAX_SKIN_IMAGE_SIDE || size.height() > MAX_SKIN_IMAGE_SIDE)
        return TooLarge(size.width(), size.height());
    QImage image = reader.read();
    if (image.isNull())
        return Refused(ESkinImageResult::eUnreadable, reader.errorString());
    return CSkinImageFile { image, ESkinImageResult::eOk, QString() };
}

QString DoubleSizePartnerPath(const QString& strPath)
{
    const QFileInfo info(strPath);
    const QString strSuffix = info.suffix();
    const QString strName = strSuffix.isEmpty() ? info.fileName() + DOUBLE_SIZE_MARK
                                                : info.completeBaseName() + DOUBLE_SIZE_MARK + u'.' + strSuffix;
    return ResolveSkinFile(info.path(), strName);
}
