#include "app/SystemdTimerExport.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include "app/ConverterDlg.h"
#include "app/TimerLine.h"
#include "settings/FramePictureNames.h"

namespace {

const QString UNIT_PREFIX = QStringLiteral("skinrecorder-");
// Enough of the timer's id to tell two timers of one title apart.
constexpr int ID_CHARACTERS = 8;

// One word of an Exec line: systemd expands '%' specifiers and '$'
// variables even inside quotes, and takes C escapes there.
QString ExecWord(const QString& strWord)
{
    QString strQuoted = strWord;
    strQuoted.replace(u'\\', QStringLiteral("\\\\"))
        .replace(u'"', QStringLiteral("\\\""))
        .replace(u'%', QStringLiteral("%%"))
        .replace(u'$', QStringLiteral("$$"));
    return u'"' + strQuoted + u'"';
}

// FFmpeg's encoder name from a compressor's list entry, "MPEG-4 part 2
// (mpeg4)".
QString EncoderName(const QString& strEntry)
{
    const qsizetype nOpen = strEntry.lastIndexOf(u'(');
    return nOpen >= 0 && strEntry.endsWith(u')') ? strEntry.mid(nOpen + 1, strEntry.size() - nOpen - 2) : strEntry;
}

QString WriteFile(const QString& strPath, const QString& strText)
{
    QSaveFile file(strPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(strText.toUtf8()) < 0 || !file.commit())
        return QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(strPath), file.errorString());
    return QString();
}

} // namespace

namespace SystemdTimerExport {

QString UserUnitFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("systemd/user"));
}

QString UnitName(const CRecordingTimer& timer)
{
    QString strName;
    for (const QChar ch : timer.strTitle.toLower()) {
        const bool bPlain = (ch >= u'a' && ch <= u'z') || (ch >= u'0' && ch <= u'9');
        if (bPlain)
            strName += ch;
        else if (!strName.isEmpty() && !strName.endsWith(u'-'))
            strName += u'-';
    }
    if (!strName.isEmpty() && !strName.endsWith(u'-'))
        strName += u'-';
    return UNIT_PREFIX + strName + timer.strId.left(ID_CHARACTERS);
}

QString Calendar(const CRecordingTimer& timer)
{
    const QString strTime = timer.startTime.toString(QStringLiteral("HH:mm:ss"));
    if (!timer.IsRepeating())
        return timer.date.toString(Qt::ISODate) + u' ' + strTime;
    return TimerLine::DayNames(timer.nWeekdays) + QStringLiteral(" *-*-* ") + strTime;
}

QStringList MpegrecArguments(const CRecordingTimer& timer, const QString& strFolder)
{
    const ConversionSettings& settings = timer.settings;
    const bool bAvi = timer.nOutputTypeRow == CConverterDlg::AVI_ROW_INDEX;
    const QStringList arrTypes { QStringLiteral("mpeg1"), QStringLiteral("mpeg2"), QStringLiteral("avi") };
    QStringList arrArguments { QStringLiteral("--folder"), strFolder,
                               QStringLiteral("--title"),  timer.strTitle,
                               QStringLiteral("--type"),   arrTypes.value(timer.nOutputTypeRow, arrTypes[0]) };
    if (!settings.strVideoDeviceName.isEmpty())
        arrArguments << QStringLiteral("--video-device") << settings.strVideoDeviceName;
    if (!settings.strAudioDeviceName.isEmpty())
        arrArguments << QStringLiteral("--audio-device") << settings.strAudioDeviceName;
    arrArguments << QStringLiteral("--frame-rate") << QString::number(settings.dFrameRate);
    if (!bAvi) {
        arrArguments << QStringLiteral("--size")
                     << QStringLiteral("%1x%2").arg(settings.nMpegWidth).arg(settings.nMpegHeight);
        if (settings.bScaleTo16By9)
            arrArguments << QStringLiteral("--aspect") << QStringLiteral("16:9");
        arrArguments << QStringLiteral("--video-bitrate") << QString::number(settings.nVideoBitrate);
        arrArguments << QStringLiteral("--audio-bitrate") << QString::number(settings.nAudioBitrate);
    } else {
        if (settings.bUseCustomFrame)
            arrArguments << QStringLiteral("--size")
                         << QStringLiteral("%1x%2").arg(settings.nCustomFrameWidth).arg(settings.nCustomFrameHeight);
        if (settings.bUseVideoCompressor)
            arrArguments << QStringLiteral("--video-compressor") << EncoderName(settings.strVideoCompressorName);
        if (settings.bUseAudioCompressor)
            arrArguments << QStringLiteral("--audio-compressor") << EncoderName(settings.strAudioCompressorName);
        if (!settings.bVideoCapture)
            arrArguments << QStringLiteral("--no-video");
        if (!settings.bAudioCapture)
            arrArguments << QStringLiteral("--no-audio");
    }
    arrArguments << QStringLiteral("--sample-rate") << QString::number(settings.nAudioSampleRate)
                 << QStringLiteral("--channels") << QString::number(settings.nAudioChannels)
                 << QStringLiteral("--sync-mode") << QString::number(settings.nSyncMode)
                 << QStringLiteral("--audio-offset") << QString::number(settings.nAudioOffset);
    // mpegrec numbers the pictures as the window's recorder does; the
    // first of the list is the one that draws nothing, its default.
    if (settings.nFramePictureIndex > 0)
        arrArguments << QStringLiteral("--frame")
                     << QString::number(FramePictureNames::VideoFrameOf(settings.nFramePictureIndex));
    arrArguments << QStringLiteral("--duration") << QString::number(timer.nLengthSeconds);
    return arrArguments;
}

QString ServiceText(const CRecordingTimer& timer, const QString& strMpegrec, const QString& strFolder)
{
    QStringList arrWords { ExecWord(strMpegrec) };
    for (const QString& strArgument : MpegrecArguments(timer, strFolder))
        arrWords.append(ExecWord(strArgument));
    return QStringLiteral("[Unit]\n"
                          "Description=SkinRecorder timer: %1\n"
                          "\n"
                          "[Service]\n"
                          "Type=exec\n"
                          "ExecStart=%2\n")
        .arg(timer.strTitle, arrWords.join(u' '));
}

QString TimerText(const CRecordingTimer& timer)
{
    // No Persistent=: a start missed while the computer was off is missed,
    // not recorded late for the whole length.
    return QStringLiteral("[Unit]\n"
                          "Description=SkinRecorder timer: %1\n"
                          "\n"
                          "[Timer]\n"
                          "OnCalendar=%2\n"
                          "AccuracySec=1s\n"
                          "\n"
                          "[Install]\n"
                          "WantedBy=timers.target\n")
        .arg(timer.strTitle, Calendar(timer));
}

CResult Write(const CRecordingTimer& timer, const QString& strUnitFolder, const QString& strMpegrec,
              const QString& strRecordingFolder, bool bReplace)
{
    const QDir folder(strUnitFolder);
    CResult result;
    result.strTimerFile = folder.filePath(UnitName(timer) + QStringLiteral(".timer"));
    result.strServiceFile = folder.filePath(UnitName(timer) + QStringLiteral(".service"));
    if (!bReplace && (QFileInfo::exists(result.strTimerFile) || QFileInfo::exists(result.strServiceFile))) {
        result.bExists = true;
        return result;
    }
    if (!QDir().mkpath(strUnitFolder)) {
        result.strError =
            QStringLiteral("The folder %1 could not be made.").arg(QDir::toNativeSeparators(strUnitFolder));
        return result;
    }
    // The service first: a timer without its service would fail to start.
    result.strError = WriteFile(result.strServiceFile, ServiceText(timer, strMpegrec, strRecordingFolder));
    if (result.strError.isEmpty())
        result.strError = WriteFile(result.strTimerFile, TimerText(timer));
    return result;
}

} // namespace SystemdTimerExport
