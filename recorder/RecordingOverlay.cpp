#include "recorder/RecordingOverlay.h"

#include <algorithm>

#include <QCoreApplication>
#include <QFontMetrics>
#include <QPainter>

namespace {

// The context of the overlay's texts in the catalogue.
class COverlayText
{
    Q_DECLARE_TR_FUNCTIONS(COverlayText)
};

// The overlay keeps off the preview's edge and stays small over it.
constexpr int OVERLAY_MARGIN = 6;
constexpr int OVERLAY_PADDING = 4;
constexpr int OVERLAY_FONT_PIXELS = 11;
constexpr int RECORDING_MARK_DIAMETER = 9;
constexpr int OVERLAY_ALPHA = 170;
constexpr qint64 BYTES_PER_KIB = 1024;
constexpr qint64 BYTES_PER_MIB = 1024 * 1024;
constexpr int SECONDS_PER_MINUTE = 60;
constexpr int SECONDS_PER_HOUR = 3600;

QString ElapsedText(double dSeconds)
{
    const int nSeconds = static_cast<int>(dSeconds);
    return QString::asprintf("%02d:%02d:%02d", nSeconds / SECONDS_PER_HOUR,
                             nSeconds / SECONDS_PER_MINUTE % SECONDS_PER_MINUTE, nSeconds % SECONDS_PER_MINUTE);
}

QString SizeText(qint64 nBytes)
{
    if (nBytes < BYTES_PER_MIB)
        return COverlayText::tr("%1 KB").arg(nBytes / BYTES_PER_KIB);
    return COverlayText::tr("%1 MB").arg(double(nBytes) / BYTES_PER_MIB, 0, 'f', 1);
}

} // namespace

void PaintRecordingOverlay(QPainter& painter, const CEncorda::CStatus& status)
{
    QFont font = painter.font();
    font.setPixelSize(OVERLAY_FONT_PIXELS);
    painter.setFont(font);
    const QString strState = status.bPaused ? COverlayText::tr("PAUSE") : COverlayText::tr("REC");
    const QString strText = COverlayText::tr("%1 %2  %3  dropped %4", "state, elapsed time, file size, frames dropped")
                                .arg(strState, ElapsedText(status.dElapsedSeconds), SizeText(status.nBytesWritten))
                                .arg(status.nFramesDropped);
    const QFontMetrics metrics(font);
    const int nLineHeight = std::max(metrics.height(), RECORDING_MARK_DIAMETER);
    const QRect rcText(OVERLAY_MARGIN + OVERLAY_PADDING * 2 + RECORDING_MARK_DIAMETER, OVERLAY_MARGIN + OVERLAY_PADDING,
                       metrics.horizontalAdvance(strText), nLineHeight);
    const QRect rcBox(OVERLAY_MARGIN, OVERLAY_MARGIN, rcText.right() + OVERLAY_PADDING - OVERLAY_MARGIN + 1,
                      nLineHeight + OVERLAY_PADDING * 2);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, OVERLAY_ALPHA));
    painter.drawRoundedRect(rcBox, OVERLAY_PADDING, OVERLAY_PADDING);
    const QRect rcMark(OVERLAY_MARGIN + OVERLAY_PADDING, rcText.center().y() - RECORDING_MARK_DIAMETER / 2,
                       RECORDING_MARK_DIAMETER, RECORDING_MARK_DIAMETER);
    if (status.bPaused) {
        // Two bars, as on a transport button.
        const int nBarWidth = RECORDING_MARK_DIAMETER / 3;
        painter.setBrush(Qt::white);
        painter.drawRect(rcMark.left(), rcMark.top(), nBarWidth, rcMark.height());
        painter.drawRect(rcMark.right() - nBarWidth + 1, rcMark.top(), nBarWidth, rcMark.height());
    } else {
        painter.setBrush(QColor(230, 30, 30));
        painter.drawEllipse(rcMark);
    }
    painter.setPen(Qt::white);
    painter.drawText(rcText, Qt::AlignLeft | Qt::AlignVCenter, strText);
}
