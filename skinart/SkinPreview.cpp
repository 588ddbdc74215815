#include "skinart/SkinPreview.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>

#include "skin/IniFile.h"
#include "skin/SkinFields.h"
#include "skin/SkinFormat.h"

using namespace SkinFields;
using SkinFormat::CEntryReader;
using SkinFormat::CSectionFormat;
using SkinFormat::EField;

namespace {

constexpr int CHECKER_SQUARE = 8;
constexpr int GAP = 12;
constexpr double SAMPLE_POSITION = 0.4;
constexpr int FRAMES_PER_STRIP = 4;

// Controls a stopped window does not show: Pause takes Play's place only
// while the window records or previews, and the progress slider and time
// label are never shown.
const QStringList HIDDEN_CONTROLS = { "BUTTON_PAUSE", "SLIDER_PROGRESS", "LABEL_TIME" };

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

// The entry's next field as a colour; preview colours are opaque.
QColor TakeColor(CEntryReader& entry)
{
    return QColor::fromRgb(RgbFromRef(ParseColor(entry.Take(EField::eColor))));
}

class CPreviewPainter
{
public:
    CPreviewPainter(const QString& strFolder, QPainter& painter)
        : m_dir(strFolder)
        , m_ini(m_dir.filePath("Skin.ini"))
        , m_painter(painter)
    {
        m_rgbKey = RgbFromRef(ParseColor(SkinFormat::SingleValue(m_ini, SkinFormat::KEY_COLOR)));
    }

    QImage Load(const QString& strName) const { return QImage(m_dir.filePath(strName)); }

    void PaintWindow()
    {
        m_painter.drawImage(0, 0, KeyedToAlpha(Load(SkinFormat::SingleValue(m_ini, SkinFormat::BACKGROUND)), m_rgbKey));
        CEntryReader icon(SkinFormat::ICON, SkinFormat::SingleValue(m_ini, SkinFormat::ICON));
        const QString strIconImage = icon.Take(EField::eImage);
        m_painter.drawImage(icon.TakeRect().topLeft(), KeyedToAlpha(Load(strIconImage), m_rgbKey));
        PaintTestPicture(
            CEntryReader(SkinFormat::CONTROL, SkinFormat::SingleValue(m_ini, SkinFormat::CONTROL)).TakeRect());
        PaintButtons(SkinFormat::BUTTONS, QPoint(0, 0));
        PaintButtons(SkinFormat::OPTIONS, QPoint(0, 0));
        PaintButtons(SkinFormat::CHECKS, QPoint(0, 0));
        PaintSliders();
        CEntryReader caption(SkinFormat::CAPTION, SkinFormat::SingleValue(m_ini, SkinFormat::CAPTION));
        caption.Take(EField::eName);
        PaintLabel(caption);
        for (const CControlEntry& entry : ReadControlList(m_ini, SkinFormat::LABELS.Section())) {
            CEntryReader label(SkinFormat::LABELS, entry.strValue);
            if (!HIDDEN_CONTROLS.contains(label.Take(EField::eName)))
                PaintLabel(label);
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
        PaintButtons(SkinFormat::TASK_BUTTONS, ptOrigin);
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
        for (const CSectionFormat* pFormat :
             { &SkinFormat::BUTTONS, &SkinFormat::OPTIONS, &SkinFormat::CHECKS, &SkinFormat::TASK_BUTTONS }) {
            for (const CControlEntry& entry : ReadControlList(m_ini, pFormat->Section())) {
                CEntryReader strip(*pFormat, entry.strValue);
                strip.Take(EField::eName);
                arrStrips << Load(strip.Take(EField::eImage));
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
    void PaintButtons(const CSectionFormat& format, const QPoint& ptOffset)
    {
        const bool bStateButtons = &format == &SkinFormat::OPTIONS || &format == &SkinFormat::CHECKS;
        for (const CControlEntry& entry : ReadControlList(m_ini, format.Section())) {
            CEntryReader button(format, entry.strValue);
            const QString strName = button.Take(EField::eName);
            const QImage imgStrip = Load(button.Take(EField::eImage));
            const QRect rc = button.TakeRect();
            button.Take(EField::eText);
            button.Take(EField::eFlag);
            const bool bChecked = bStateButtons && IsFlagSet(button.Take(EField::eFlag));
            if (HIDDEN_CONTROLS.contains(strName) || imgStrip.isNull())
                continue;
            const int nFrameWidth = imgStrip.width() / FRAMES_PER_STRIP;
            const QImage imgFrame = imgStrip.copy(bChecked ? 2 * nFrameWidth : 0, 0, nFrameWidth, imgStrip.height());
            m_painter.drawImage(rc.translated(ptOffset), KeyedToAlpha(imgFrame, m_rgbKey));
        }
    }

    void PaintSliders()
    {
        for (const CControlEntry& entry : ReadControlList(m_ini, SkinFormat::SLIDERS.Section())) {
            CEntryReader slider(SkinFormat::SLIDERS, entry.strValue);
            if (HIDDEN_CONTROLS.contains(slider.Take(EField::eName)))
                continue;
            const QImage imgChannel = Load(slider.Take(EField::eImage));
            const QImage imgThumb = KeyedToAlpha(Load(slider.Take(EField::eImage)), m_rgbKey);
            slider.Take(EField::eImage);
            const QRect rc = slider.TakeRect();
            const int nExtent = qMax(imgChannel.width(), imgThumb.width());
            const int nCentre = imgThumb.width() / 2 + int((nExtent - imgThumb.width()) * SAMPLE_POSITION);
            const int nOffset = qAbs(imgThumb.height() - imgChannel.height()) / 2;
            m_painter.drawImage(rc.topLeft() + QPoint(0, nOffset), imgChannel.copy(0, 0, nCentre, imgChannel.height()));
            m_painter.drawImage(rc.topLeft() + QPoint(nCentre - imgThumb.width() / 2, 0), imgThumb);
        }
    }

    void PaintLabel(CEntryReader& label)
    {
        const QRect rc = label.TakeRect();
        const QString strText = label.Take(EField::eText);
        QFont font(label.Take(EField::eText));
        font.setPointSize(ToInt(label.Take(EField::eNumber)));
        m_painter.setFont(font);
        m_painter.setPen(TakeColor(label));
        m_painter.drawText(rc, Qt::AlignLeft | Qt::AlignTop, strText);
    }

    void PaintProgress()
    {
        for (const CControlEntry& entry : ReadControlList(m_ini, SkinFormat::PROGRESSES.Section())) {
            CEntryReader progress(SkinFormat::PROGRESSES, entry.strValue);
            progress.Take(EField::eName);
            const QRect rc = progress.TakeRect();
            const QImage imgBlock = KeyedToAlpha(Load(progress.Take(EField::eImage)), m_rgbKey);
            const int nFilled = int(rc.width() * (1 - SAMPLE_POSITION));
            for (int x = 0; x + imgBlock.width() <= nFilled; x += imgBlock.width())
                m_painter.drawImage(rc.topLeft() + QPoint(x, 0), imgBlock);
        }
    }

    // Reads the field's background, text and border colours off the entry.
    void PaintField(const QRect& rc, CEntryReader& entry, const QString& strText)
    {
        const QColor clrBack = TakeColor(entry);
        const QColor clrText = TakeColor(entry);
        const QColor clrBorder = TakeColor(entry);
        m_painter.setPen(clrBorder);
        m_painter.drawRect(rc.adjusted(-1, -1, 0, 0));
        m_painter.fillRect(rc, clrBack);
        m_painter.setPen(clrText);
        m_painter.setFont(QFont("DejaVu Sans", 9));
        m_painter.drawText(rc.adjusted(3, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, strText);
    }

    void PaintEdits()
    {
        for (const CControlEntry& entry : ReadControlList(m_ini, SkinFormat::EDITS.Section())) {
            CEntryReader edit(SkinFormat::EDITS, entry.strValue);
            edit.Take(EField::eName);
            const QRect rc = edit.TakeRect();
            PaintField(rc, edit, "Holiday trip");
        }
    }

    // Rows as the list view would show them, with the skinned scroll bar.
    void PaintListBody(const QRect& rc, CEntryReader& entry, const QStringList& arrRows)
    {
        const QColor clrBack = TakeColor(entry);
        const QColor clrText = TakeColor(entry);
        const QColor clrSelBack = TakeColor(entry);
        const QColor clrSelText = TakeColor(entry);
        QList<QImage> arrScroll;
        for (int i = 0; i < 7; ++i)
            arrScroll << Load(entry.Take(EField::eImage));
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
        for (const CControlEntry& entry : ReadControlList(m_ini, SkinFormat::LIST_BOXES.Section())) {
            CEntryReader list(SkinFormat::LIST_BOXES, entry.strValue);
            list.Take(EField::eName);
            const QRect rc = list.TakeRect();
            PaintListBody(rc, list,
                          { "  1. capture.mpg", "  2. lecture.mpg", "  3. garden.mpg", "  4. birthday.mpg",
                            "  5. concert.mpg", "  6. demo.mpg" });
        }
    }

    // Closed combo box, and its open list drawn beside the window.
    void PaintCombos()
    {
        for (const CControlEntry& entry : ReadControlList(m_ini, SkinFormat::COMBO_BOXES.Section())) {
            CEntryReader combo(SkinFormat::COMBO_BOXES, entry.strValue);
            combo.Take(EField::eName);
            const QRect rc = combo.TakeRect();
            const QImage imgArrow = Load(combo.Take(EField::eImage));
            const int w = imgArrow.width() / FRAMES_PER_STRIP;
            const int h = imgArrow.height();
            PaintField(QRect(rc.left(), rc.top(), rc.width() - w, h), combo, "MPEG1");
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
    const CIniFile ini(tempDir.filePath("Skin.ini"));
    const QImage imgBackground(tempDir.filePath(SkinFormat::SingleValue(ini, SkinFormat::BACKGROUND)));
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
