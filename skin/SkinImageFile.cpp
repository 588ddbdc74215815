#include "skin/SkinImageFile.h"

#include <cstdint>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include "base/BmpHeader.h"
#include "skin/SkinPath.h"

namespace {

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
    const QByteArray header = file.read(BMP_HEADER_BYTES);
    const auto* pHeader = reinterpret_cast<const std::uint8_t*>(header.constData());
    const auto nRead = static_cast<std::size_t>(header.size());
    if (!IsBmp(pHeader, nRead))
        return CSkinImageFile();
    const CBmpHeaderRead read = ReadBmpHeader(pHeader, nRead, file.size(), MAX_SKIN_IMAGE_SIDE);
    switch (read.eResult) {
    case EBmpHeaderResult::eOk:
        return CSkinImageFile();
    case EBmpHeaderResult::eTooLarge:
        return TooLarge(read.header.nWidth, read.header.nRows);
    default:
        return Refused(ESkinImageResult::eBadBmpHeader, QString::fromStdString(read.strReason));
    }
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
