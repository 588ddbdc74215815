#include "skins/SkinPreview.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>

#include "skin/IniFile.h"
#include "skin/SkinFields.h"

using namespace SkinFields;

namespace {

constexpr int CHECKER_SQUARE = 8;
constexpr int GAP = 12;
constexpr double SAMPLE_POSITION = 0.4;
constexpr int FRAMES_PER_STRIP = 4;

QImage KeyedToAlpha(const QImage& img, QRgb rgbKey)
{
    QImage out = img.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        QRgb* pLine = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            if ((pLine[x] | 0xFF000000) == (rgbKey | 0xFF000000))
                pLine[x] = 0;
        }
    }
    return out;
}

// The next field of an entry read as a colour; preview colours are opaque.
QColor NextColor(QString& strFields)
{
    return QColor::fromRgb(RgbFromRef(ParseColor(NextField(strFields))));
}

QRect ExclusiveRect(QString& strValue)
{
    return ParseRect(strValue);
}

class CPreviewPainter
{
public:
    CPreviewPainter(const QString& strFolder, QPainter& painter)
        : m_dir(strFolder)
        , m_ini(m_dir.filePath("Skin.ini"))
        , m_painter(painter)
    {
        m_rgbKey = RgbFromRef(ParseColor(m_ini.GetString("TRANSPARENT", "COLOR", "")));
    }

    QImage Load(const QString& strName) const { return QImage(m_dir.filePath(strName)); }

    void PaintWindow()
    {
        m_painter.drawImage(0, 0, KeyedToAlpha(Load(m_ini.GetString("Screen", "Main", "")), m_rgbKey));
        QString strIcon = m_ini.GetString("ICON", "ICON", "");
        const QString strIconImage = NextField(strIcon);
        m_painter.drawImage(ParseRect(strIcon).topLeft(), KeyedToAlpha(Load(strIconImage), m_rgbKey));
        QString strControl = m_ini.GetString("CONTROL", "CONTROL", "");
        PaintTestPicture(ParseRect(strControl));
        PaintButtons("BUTTONINFO", QPoint(0, 0));
        PaintButtons("OPTIONINFO", QPoint(0, 0));
        PaintButtons("CHECKINFO", QPoint(0, 0));
        PaintSliders();
        QString strCaption = m_ini.GetString("CAPTION", "CAPTION", "");
        NextField(strCaption);
        PaintLabel(strCaption);
        for (const CControlEntry& entry : ReadControlList(m_ini, "LABELINFO")) {
            QString strValue = entry.strValue;
            NextField(strValue);
            PaintLabel(strValue);
        }
        PaintProgress();
        PaintEdits();
        PaintLists();
        PaintCombos();
    }

    // The notifier at ptOrigin, then every strip flowing to the right.
    // Returns the lowest row painted.
    int PaintExtras(const QPoint& ptOrigin, int nWidth)
    {
        const QImage imgNotifier = Load("dlgTaskNotifier.bmp");
        m_painter.drawImage(ptOrigin, KeyedToAlpha(imgNotifier, 0xFF00FF));
        PaintButtons("TASKBARBUTTON", ptOrigin);
        QPoint pt(ptOrigin.x() + imgNotifier.width() + GAP, ptOrigin.y());
        int nRowHeight = 0;
        for (const QImage& imgStrip : Strips()) {
            if (pt.x() + imgStrip.width() > nWidth) {
                pt = QPoint(ptOrigin.x() + imgNotifier.width() + GAP, pt.y() + nRowHeight + GAP);
                nRowHeight = 0;
            }
            m_painter.drawImage(pt, imgStrip);
            pt.rx() += imgStrip.width() + GAP;
            nRowHeight = qMax(nRowHeight, imgStrip.height());
        }
        return qMax(ptOrigin.y() + imgNotifier.height(), pt.y() + nRowHeight);
    }

    QList<QImage> Strips() const
    {
        QList<QImage> arrStrips;
        for (const char* pSection : { "BUTTONINFO", "OPTIONINFO", "CHECKINFO", "TASKBARBUTTON" }) {
            for (const CControlEntry& entry : ReadControlList(m_ini, pSection)) {
                QString strValue = entry.strValue;
                NextField(strValue);
                arrStrips << Load(NextField(strValue));
            }
        }
        return arrStrips;
    }

private:
    void PaintTestPicture(const QRect& rc)
    {
        const QColor arrBars[] = { Qt::white, Qt::yellow, Qt::cyan, Qt::green, Qt::magenta, Qt::red, Qt::blue };
        const int nBars = int(std::size(arrBars));
        for (int i = 0; i < nBars; ++i) {
            const int nLeft = rc.left() + rc.width() * i / nBars;
            const int nRight = rc.left() + rc.width() * (i + 1) / nBars;
            m_painter.fillRect(QRect(nLeft, rc.top(), nRight - nLeft, rc.height() * 3 / 4), arrBars[i].darker(115));
        }
        m_painter.fillRect(QRect(rc.left(), rc.top() + rc.height() * 3 / 4, rc.width(), rc.height() / 4),
                           QColor(0x202020));
    }

    // Frame 0 of each strip, or the down frame for checked toggles.
    void PaintButtons(const QString& strSection, const QPoint& ptOffset)
    {
        for (const CControlEntry& entry : ReadControlList(m_ini, strSection)) {
            QString strValue = entry.strValue;
            const QString strName = NextField(strValue);
            const QImage imgStrip = Load(NextField(strValue));
            const QRect rc = ExclusiveRect(strValue);
            NextField(strValue);
            NextField(strValue);
            const bool bChecked = IsFlagSet(NextField(strValue)) && strSection != "BUTTONINFO";
            if (strName == "BUTTON_PAUSE" || imgStrip.isNull())
                continue;
            const int nFrameWidth = imgStrip.width() / FRAMES_PER_STRIP;
            const QImage imgFrame = imgStrip.copy(bChecked ? 2 * nFrameWidth : 0, 0, nFrameWidth, imgStrip.height());
            m_painter.drawImage(rc.translated(ptOffset), KeyedToAlpha(imgFrame, m_rgbKey));
        }
    }

    void PaintSliders()
    {
        for (const CControlEntry& entry : ReadControlList(m_ini, "SLIDERINFO")) {
            QString strValue = entry.strValue;
            NextField(strValue);
            const QImage imgChannel = Load(NextField(strValue));
            const QImage imgThumb = KeyedToAlpha(Load(NextField(strValue)), m_rgbKey);
            NextField(strValue);
            const QRect rc = ParseRect(strValue);
            const int nExtent = qMax(imgChannel.width(), imgThumb.width());
            const int nCentre = imgThumb.width() / 2 + int((nExtent - imgThumb.width()) * SAMPLE_POSITION);
            const int nOffset = qAbs(imgThumb.height() - imgChannel.height()) / 2;
            m_painter.drawImage(rc.topLeft() + QPoint(0, nOffset), imgChannel.copy(0, 0, nCentre, imgChannel.height()));
            m_painter.drawImage(rc.topLeft() + QPoint(nCentre - imgThumb.width() / 2, 0), imgThumb);
        }
    }

    void PaintLabel(QString strValue)
    {
        const QRect rc = ParseRect(strValue);
        const QString strText = NextField(strValue);
        QFont font(NextField(strValue));
        font.setPointSize(ToInt(NextField(strValue)));
        m_painter.setFont(font);
        m_painter.setPen(NextColor(strValue));
        m_painter.drawText(rc, Qt::AlignLeft | Qt::AlignTop, strText);
    }

    void PaintProgress()
    {
        for (const CControlEntry& entry : ReadControlList(m_ini, "PROGRESSINFO")) {
            QString strValue = entry.strValue;
            NextField(strValue);
            const QRect rc = ParseRect(strValue);
            const QImage imgBlock = KeyedToAlpha(Load(NextField(strValue)), m_rgbKey);
            const int nFilled = int(rc.width() * (1 - SAMPLE_POSITION));
            for (int x = 0; x + imgBlock.width() <= nFilled; x += imgBlock.width())
                m_painter.drawImage(rc.topLeft() + QPoint(x, 0), imgBlock);
        }
    }

    void PaintField(const QRect& rc, QString& strColors, const QString& strText)
    {
        const QColor clrBack = NextColor(strColors);
        const QColor clrText = NextColor(strColors);
        const QColor clrBorder = NextColor(strColors);
        m_painter.setPen(clrBorder);
        m_painter.drawRect(rc.adjusted(-1, -1, 0, 0));
        m_painter.fillRect(rc, clrBack);
        m_painter.setPen(clrText);
        m_painter.setFont(QFont("DejaVu Sans", 9));
        m_painter.drawText(rc.adjusted(3, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, strText);
    }

    void PaintEdits()
    {
        for (const CControlEntry& entry : ReadControlList(m_ini, "EDITBOXINFO")) {
            QString strValue = entry.strValue;
            NextField(strValue);
            const QRect rc = ParseRect(strValue);
            PaintField(rc, strValue, "Holiday trip");
        }
    }

    // Rows as the list view would show them, with the skinned scroll bar.
    void PaintListBody(const QRect& rc, QString& strValue, const QStringList& arrRows)
    {
        const QColor clrBack = NextColor(strValue);
        const QColor clrText = NextColor(strValue);
        const QColor clrSelBack = NextColor(strValue);
        const QColor clrSelText = NextColor(strValue);
        QList<QImage> arrScroll;
        for (int i = 0; i < 7; ++i)
            arrScroll << Load(NextField(strValue));
        const int nBar = arrScroll[1].width();
        const QRect rcRows(rc.left(), rc.top(), rc.width() - nBar, rc.height());
        m_painter.fillRect(rcRows, clrBack);
        QFont font("DejaVu Sans");
        font.setPixelSize(14);
        m_painter.setFont(font);
        for (int i = 0; i < arrRows.size(); ++i) {
            const QRect rcRow(rcRows.left(), rcRows.top() + i * 20, rcRows.width(), 20);
            if (rcRow.bottom() > rcRows.bottom())
                break;
            if (i == 0)
                m_painter.fillRect(rcRow, clrSelBack);
            m_painter.setPen(i == 0 ? clrSelText : clrText);
            m_painter.drawText(rcRow.adjusted(4, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, arrRows[i]);
        }
        const QRect rcBar(rcRows.right() + 1, rc.top(), nBar, rc.height());
        m_painter.drawImage(rcBar, arrScroll[0]);
        m_painter.drawImage(rcBar.topLeft(), arrScroll[1]);
        m_painter.drawImage(QPoint(rcBar.left(), rcBar.bottom() + 1 - arrScroll[3].height()), arrScroll[3]);
        m_painter.drawImage(rcBar.topLeft() + QPoint(0, arrScroll[1].height() + 4), arrScroll[5]);
    }

    void PaintLists()
    {
        for (const CControlEntry& entry : ReadControlList(m_ini, "LISTBOXINFO")) {
            QString strValue = entry.strValue;
            NextField(strValue);
            const QRect rc = ParseRect(strValue);
            PaintListBody(rc, strValue, { "  1. capture.mpg", "  2. lecture.mpg", "  3. garden.mpg",
                                          "  4. birthday.mpg", "  5. concert.mpg", "  6. demo.mpg" });
        }
    }

    // Closed combo box, and its open list drawn beside the window.
    void PaintCombos()
    {
        for (const CControlEntry& entry : ReadControlList(m_ini, "COMBOBOXINFO")) {
            QString strValue = entry.strValue;
            NextField(strValue);
            const QRect rc = ParseRect(strValue);
            const QImage imgArrow = Load(NextField(strValue));
            const int w = imgArrow.width() / FRAMES_PER_STRIP;
            const int h = imgArrow.height();
            PaintField(QRect(rc.left(), rc.top(), rc.width() - w, h), strValue, "MPEG1");
            const QRect rcButton(rc.right() + 1 - w, rc.top() - 1, w, h + 2);
            m_painter.drawImage(rcButton, KeyedToAlpha(imgArrow.copy(0, 0, w, h), 0x000000));
        }
    }

    QDir m_dir;
    CIniFile m_ini;
    QPainter& m_painter;
    QRgb m_rgbKey = 0;
};

void PaintCheckerboard(QPainter& painter, const QRect& rc)
{
    for (int y = rc.top(); y < rc.bottom(); y += CHECKER_SQUARE) {
        for (int x = rc.left(); x < rc.right(); x += CHECKER_SQUARE) {
            const bool bDark = ((x / CHECKER_SQUARE) + (y / CHECKER_SQUARE)) % 2;
            painter.fillRect(QRect(x, y, CHECKER_SQUARE, CHECKER_SQUARE), bDark ? QColor(0xBDBDBD) : QColor(0xEDEDED));
        }
    }
}

} // namespace

bool ComposePreview(const QList<CPackageFile>& arrFiles, QImage& imgPreview, QString& strError)
{
    QTemporaryDir tempDir;
    if (!tempDir.isValid()) {
        strError = "no temporary folder for the preview: " + tempDir.errorString();
        return false;
    }
    for (const CPackageFile& file : arrFiles) {
        QFile out(tempDir.filePath(file.strName));
        if (!out.open(QIODevice::WriteOnly) || out.write(file.data) != file.data.size()) {
            strError = QString("%1: %2").arg(out.fileName(), out.errorString());
            return false;
        }
    }
    const QImage imgBackground(tempDir.filePath(CIniFile(tempDir.filePath("Skin.ini")).GetString("Screen", "Main", "")));
    const QImage imgNotifier(tempDir.filePath("dlgTaskNotifier.bmp"));
    if (imgBackground.isNull() || imgNotifier.isNull()) {
        strError = "the package has no readable background or notifier picture";
        return false;
    }
    const int nWidth = qMax(imgBackground.width(), 900);
    constexpr int EXTRAS_ROOM = 800;
    imgPreview = QImage(nWidth, imgBackground.height() + GAP + EXTRAS_ROOM, QImage::Format_RGB32);
    QPainter painter(&imgPreview);
    painter.setRenderHint(QPainter::TextAntialiasing);
    PaintCheckerboard(painter, imgPreview.rect());
    CPreviewPainter preview(tempDir.path(), painter);
    preview.PaintWindow();
    const int nBottom = preview.PaintExtras(QPoint(0, imgBackground.height() + GAP), nWidth);
    painter.end();
    imgPreview = imgPreview.copy(0, 0, nWidth, nBottom + GAP);
    return true;
}
