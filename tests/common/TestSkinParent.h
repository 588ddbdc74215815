#pragma once

#include <QColor>
#include <QDir>
#include <QImage>
#include <QList>
#include <QPainter>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>

#include "controls/SkinParent.h"

// A window that holds skinned controls in tests: paints a background image
// (none unless given) and records what the controls report.
class CTestSkinParent : public QWidget, public ISkinParent
{
public:
    CTestSkinParent() = default;
    explicit CTestSkinParent(const QImage& background)
        : m_imgBackground(background)
    {
        resize(background.size());
    }

    const QImage& BackgroundCopy() const override { return m_imgBackground; }
    void OnButtonClicked(int nIndex) override { m_arrButtons.append(nIndex); }
    void OnOptionClicked(int nIndex) override { m_arrOptions.append(nIndex); }
    CSkinCheck* OnCheckClicked(int nIndex) override
    {
        m_arrChecks.append(nIndex);
        return nullptr;
    }
    void OnSliderChanged(int nIndex, int nPos) override { m_arrSliderChanges.append({ nIndex, nPos }); }
    CSkinComboBox* FirstComboBox() const override { return m_pFirstCombo; }
    void SetDropDownOpen(bool bOpen) override { m_bDropDownOpen = bOpen; }

    QList<int> m_arrButtons;
    QList<int> m_arrOptions;
    QList<int> m_arrChecks;
    QList<QPair<int, int>> m_arrSliderChanges;
    CSkinComboBox* m_pFirstCombo = nullptr;
    bool m_bDropDownOpen = false;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.drawImage(0, 0, m_imgBackground);
    }

private:
    QImage m_imgBackground;
};

// A background with a distinct colour per pixel column and row band, so a
// pixel check can tell which background pixel shows.
inline QImage MakeGradientBackground(int nWidth, int nHeight)
{
    QImage image(nWidth, nHeight, QImage::Format_RGB32);
    for (int y = 0; y < nHeight; ++y)
        for (int x = 0; x < nWidth; ++x)
            image.setPixel(x, y, qRgb(x % 256, y % 256, 128));
    return image;
}

// Writes a solid bitmap file, optionally with a key-coloured rectangle.
inline QString WriteBitmap(const QTemporaryDir& dir, const QString& strName, int nWidth, int nHeight,
                           const QColor& crFill, const QRect& rcKey = QRect(), const QColor& crKey = QColor())
{
    QImage image(nWidth, nHeight, QImage::Format_RGB32);
    image.fill(crFill);
    if (!rcKey.isNull()) {
        QPainter painter(&image);
        painter.fillRect(rcKey, crKey);
    }
    const QString strPath = QDir(dir.path()).filePath(strName);
    image.save(strPath, "BMP");
    return strPath;
}
