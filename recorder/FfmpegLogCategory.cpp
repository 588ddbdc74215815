#include "recorder/FfmpegLogCategory.h"

#include <string>

#include <QLoggingCategory>
#include <QString>

#include "engine/EngineLog.h"
#include "engine/FfmpegLog.h"

// What FFmpeg's libraries say, when SKINREC_FFMPEG_LOG asks for it; that
// variable is the gate, so the category lets every level through.
Q_LOGGING_CATEGORY(lcFfmpeg, "skinrecorder.ffmpeg")
// The engine's trace of a recording (devices, formats, profile, drops, the
// close, FFmpeg's warnings): info and debug, so a normal run shows none of it.
Q_LOGGING_CATEGORY(lcEngine, "skinrecorder.engine", QtWarningMsg)

namespace {

// Called from the engine's threads; Qt's logging takes any thread.
void ForwardLine(const QLoggingCategory& category, ELogLevel eLevel, const std::string& strLine)
{
    const QString strText = QString::fromStdString(strLine);
    switch (eLevel) {
    case ELogLevel::eError:
        qCCritical(category).noquote() << strText;
        break;
    case ELogLevel::eWarning:
        qCWarning(category).noquote() << strText;
        break;
    case ELogLevel::eInfo:
        qCInfo(category).noquote() << strText;
        break;
    case ELogLevel::eDebug:
        qCDebug(category).noquote() << strText;
        break;
    }
}

// The most detailed level the category shows; the engine formats nothing
// beyond it.
ELogLevel LowestShown(const QLoggingCategory& category)
{
    if (category.isDebugEnabled())
        return ELogLevel::eDebug;
    return category.isInfoEnabled() ? ELogLevel::eInfo : ELogLevel::eWarning;
}

} // namespace

void ForwardFfmpegLogToQt()
{
    SetFfmpegLogSink([](ELogLevel eLevel, const std::string& strLine) { ForwardLine(lcFfmpeg(), eLevel, strLine); });
    EngineLog::SetSink([](ELogLevel eLevel, const std::string& strLine) { ForwardLine(lcEngine(), eLevel, strLine); },
                       LowestShown(lcEngine()));
    CaptureFfmpegErrors();
}
