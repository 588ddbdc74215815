#pragma once

#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QString>
#include <QStringList>

// Writes a skin folder the way a package unpacks: Skin.ini and its bitmaps.
class CTestSkinFolder
{
public:
    static inline const QColor KEY { 255, 0, 255 };
    static inline const QString KEY_FIELD = QStringLiteral("0xFF00FF");

    explicit CTestSkinFolder(const QString& strFolder)
        : m_strFolder(strFolder)
    {
        QDir().mkpath(strFolder);
    }

    const QString& Folder() const { return m_strFolder; }
    QString SkinFile() const { return QDir(m_strFolder).filePath("Skin.ini"); }

    // A solid background with key-coloured squares of nCornerSize pixels in
    // its four corners (none when 0).
    void WriteBackground(const QString& strName, QSize size, QColor colour, int nCornerSize) const
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(colour);
        QPainter painter(&image);
        const int w = size.width() - nCornerSize;
        const int h = size.height() - nCornerSize;
        for (const QPoint& pt : { QPoint(0, 0), QPoint(w, 0), QPoint(0, h), QPoint(w, h) })
            painter.fillRect(QRect(pt, QSize(nCornerSize, nCornerSize)), KEY);
        painter.end();
        image.save(FilePath(strName), "BMP");
    }

    // A disc of colour filling the picture on the colour key, drawn without
    // blending so that its edge is key or colour; drawn at twice the size,
    // its edge is finer than the smaller one's pixels doubled.
    void WriteDisc(const QString& strName, QSize size, QColor colour) const
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(KEY);
        QPainter painter(&image);
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        painter.drawEllipse(image.rect());
        painter.end();
        image.save(FilePath(strName), "BMP");
    }

    // A strip of four solid frames of the given colours.
    void WriteStrip(const QString& strName, const QList<QColor>& arrFrames, QSize frameSize = QSize(8, 8)) const
    {
        QImage image(frameSize.width() * 4, frameSize.height(), QImage::Format_RGB32);
        QPainter painter(&image);
        for (int i = 0; i < 4; ++i)
            painter.fillRect(QRect(QPoint(i * frameSize.width(), 0), frameSize), arrFrames.value(i, Qt::gray));
        painter.end();
        image.save(FilePath(strName), "BMP");
    }

    void WriteIni(const QString& strText) const
    {
        QFile file(SkinFile());
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(strText.toUtf8());
    }

    QString FilePath(const QString& strName) const { return QDir(m_strFolder).filePath(strName); }

private:
    QString m_strFolder;
};
