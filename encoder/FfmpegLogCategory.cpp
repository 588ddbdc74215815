#include "encoder/FfmpegLogCategory.h"

#include <string>

#include <QLoggingCategory>
#include <QString>

#include "engine/FfmpegLog.h"

// What FFmpeg's libraries say, when SKINREC_FFMPEG_LOG asks for it; that
// variable is the gate, so the category lets every level through.
Q_LOGGING_CATEGORY(lcFfmpeg, "skinrecorder.ffmpeg")

namespace {

// Called from the engine's threads; Qt's logging takes any thread.
void ForwardFfmpegLine(ELogLevel eLevel, const std::string& strLine)
{
    const QString strText = QString::fromStdString(strLine);
    switch (eLevel) {
    case ELogLevel::eError:
        qCCritical(lcFfmpeg).noquote() << strText;
        break;
    case ELogLevel::eWarning:
        qCWarning(lcFfmpeg).noquote() << strText;
        break;
    case ELogLevel::eInfo:
        qCInfo(lcFfmpeg).noquote() << strText;
        break;
    case ELogLevel::eDebug:
        qCDebug(lcFfmpeg).noquote() << strText;
        break;
    }
}

} // namespace

void ForwardFfmpegLogToQt()
{
    SetFfmpegLogSink(&ForwardFfmpegLine);
    CaptureFfmpegErrors();
}
