#include "app/TimerStore.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QTimeZone>

namespace {

// Raised when the layout changes so that an older program can refuse the
// file rather than misread it.
constexpr int FILE_VERSION = 1;
const QString WALL_TIME_FORMAT = QStringLiteral("yyyy-MM-ddTHH:mm:ss");

// The settings a timer keeps, by their names in the file.
const std::pair<const char*, QString ConversionSettings::*> TEXT_SETTINGS[] = {
    { "videoDevice", &ConversionSettings::strVideoDeviceName },
    { "videoFormat", &ConversionSettings::strVideoFormatName },
    { "videoInput", &ConversionSettings::strVideoInputName },
    { "audioDevice", &ConversionSettings::strAudioDeviceName },
    { "audioInput", &ConversionSettings::strAudioInputName },
    { "videoCompressor", &ConversionSettings::strVideoCompressorName },
    { "audioCompressor", &ConversionSettings::strAudioCompressorName },
    { "syncModeName", &ConversionSettings::strSyncModeName },
    { "framePicture", &ConversionSettings::strFramePictureName },
};
const std::pair<const char*, int ConversionSettings::*> NUMBER_SETTINGS[] = {
    { "videoDeviceIndex", &ConversionSettings::nVideoDeviceIndex },
    { "videoFormatIndex", &ConversionSettings::nVideoFormatIndex },
    { "videoInputIndex", &ConversionSettings::nVideoInputIndex },
    { "audioDeviceIndex", &ConversionSettings::nAudioDeviceIndex },
    { "audioInputIndex", &ConversionSettings::nAudioInputIndex },
    { "videoCompressorIndex", &ConversionSettings::nVideoCompressorIndex },
    { "audioCompressorIndex", &ConversionSettings::nAudioCompressorIndex },
    { "customFrameWidth", &ConversionSettings::nCustomFrameWidth },
    { "customFrameHeight", &ConversionSettings::nCustomFrameHeight },
    { "frameRateIndex", &ConversionSettings::nFrameRateIndex },
    { "audioSampleRate", &ConversionSettings::nAudioSampleRate },
    { "audioSampleRateIndex", &ConversionSettings::nAudioSampleRateIndex },
    { "videoBitrate", &ConversionSettings::nVideoBitrate },
    { "audioBitrate", &ConversionSettings::nAudioBitrate },
    { "audioChannels", &ConversionSettings::nAudioChannels },
    { "mpegWidth", &ConversionSettings::nMpegWidth },
    { "mpegHeight", &ConversionSettings::nMpegHeight },
    { "syncMode", &ConversionSettings::nSyncMode },
    { "audioOffset", &ConversionSettings::nAudioOffset },
    { "framePictureIndex", &ConversionSettings::nFramePictureIndex },
};
const std::pair<const char*, bool ConversionSettings::*> SWITCH_SETTINGS[] = {
    { "useVideoCompressor", &ConversionSettings::bUseVideoCompressor },
    { "useAudioCompressor", &ConversionSettings::bUseAudioCompressor },
    { "useCustomFrame", &ConversionSettings::bUseCustomFrame },
    { "videoCapture", &ConversionSettings::bVideoCapture },
    { "audioCapture", &ConversionSettings::bAudioCapture },
    { "scaleTo16By9", &ConversionSettings::bScaleTo16By9 },
    { "muteTv", &ConversionSettings::bMuteTV },
};

const std::pair<ETimerState, const char*> STATE_NAMES[] = {
    { ETimerState::eWaiting, "waiting" }, { ETimerState::eRecording, "recording" }, { ETimerState::eDone, "done" },
    { ETimerState::eMissed, "missed" },   { ETimerState::eMissedBusy, "busy" },     { ETimerState::eFailed, "failed" },
};

QJsonObject SettingsToJson(const ConversionSettings& settings)
{
    QJsonObject object;
    for (const auto& [pszName, pText] : TEXT_SETTINGS)
        object[pszName] = settings.*pText;
    for (const auto& [pszName, pNumber] : NUMBER_SETTINGS)
        object[pszName] = settings.*pNumber;
    for (const auto& [pszName, pSwitch] : SWITCH_SETTINGS)
        object[pszName] = settings.*pSwitch;
    object["frameRate"] = settings.dFrameRate;
    return object;
}

// Settings the file lacks keep the defaults.
ConversionSettings SettingsFromJson(const QJsonObject& object)
{
    ConversionSettings settings;
    for (const auto& [pszName, pText] : TEXT_SETTINGS)
        settings.*pText = object[pszName].toString(settings.*pText);
    for (const auto& [pszName, pNumber] : NUMBER_SETTINGS)
        settings.*pNumber = object[pszName].toInt(settings.*pNumber);
    for (const auto& [pszName, pSwitch] : SWITCH_SETTINGS)
        settings.*pSwitch = object[pszName].toBool(settings.*pSwitch);
    settings.dFrameRate = object["frameRate"].toDouble(settings.dFrameRate);
    return settings;
}

QString WallText(const QDateTime& wall)
{
    return wall.isValid() ? wall.toString(WALL_TIME_FORMAT) : QString();
}

QDateTime WallFromText(const QString& strText)
{
    QDateTime wall = QDateTime::fromString(strText, WALL_TIME_FORMAT);
    wall.setTimeZone(QTimeZone::utc());
    return wall;
}

QJsonObject TimerToJson(const CRecordingTimer& timer)
{
    QJsonObject object;
    object["id"] = timer.strId;
    object["title"] = timer.strTitle;
    object["date"] = timer.date.toString(Qt::ISODate);
    object["weekdays"] = static_cast<int>(timer.nWeekdays);
    object["start"] = timer.startTime.toString(QStringLiteral("HH:mm:ss"));
    object["lengthSeconds"] = timer.nLengthSeconds;
    object["enabled"] = timer.bEnabled;
    object["folder"] = timer.strFolder;
    object["outputType"] = timer.nOutputTypeRow;
    object["settings"] = SettingsToJson(timer.settings);
    object["saved"] = WallText(timer.saved);
    object["lastOccurrence"] = WallText(timer.lastOccurrence);
    for (const auto& [eState, pszName] : STATE_NAMES) {
        if (eState == timer.eState)
            object["state"] = pszName;
    }
    return object;
}

CRecordingTimer TimerFromJson(const QJsonObject& object)
{
    CRecordingTimer timer;
    timer.strId = object["id"].toString();
    timer.strTitle = object["title"].toString();
    timer.date = QDate::fromString(object["date"].toString(), Qt::ISODate);
    timer.nWeekdays = static_cast<unsigned>(object["weekdays"].toInt()) & CRecordingTimer::ALL_WEEKDAYS;
    timer.startTime = QTime::fromString(object["start"].toString(), QStringLiteral("HH:mm:ss"));
    timer.nLengthSeconds = object["lengthSeconds"].toInt();
    timer.bEnabled = object["enabled"].toBool(true);
    timer.strFolder = object["folder"].toString();
    timer.nOutputTypeRow = object["outputType"].toInt();
    timer.settings = SettingsFromJson(object["settings"].toObject());
    timer.saved = WallFromText(object["saved"].toString());
    timer.lastOccurrence = WallFromText(object["lastOccurrence"].toString());
    for (const auto& [eState, pszName] : STATE_NAMES) {
        if (object["state"].toString() == QLatin1String(pszName))
            timer.eState = eState;
    }
    return timer;
}

// Why the document is not a timers file; empty when it is one.
QString CheckDocument(const QJsonDocument& document)
{
    const QJsonObject root = document.object();
    if (!document.isObject() || !root["timers"].isArray())
        return CTimerStore::tr("it holds no list of timers");
    if (root["version"].toInt() != FILE_VERSION)
        return CTimerStore::tr("it was written by another version of the program (version %1)")
            .arg(root["version"].toInt());
    for (const QJsonValue& timer : root["timers"].toArray()) {
        if (!timer.isObject() || timer["id"].toString().isEmpty())
            return CTimerStore::tr("a timer in it has no id");
    }
    return QString();
}

} // namespace

QString CTimerStore::DefaultPath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)).filePath(FILE_NAME);
}

CTimerStore::CTimerStore(QString strPath)
    : m_strPath(std::move(strPath))
{
}

CTimerStore::CLoaded CTimerStore::Load()
{
    CLoaded loaded;
    QFile file(m_strPath);
    if (!file.exists())
        return loaded;
    if (!file.open(QIODevice::ReadOnly)) {
        loaded.strError = file.errorString();
        loaded.strKeptAs = KeepAside(loaded.strError);
        return loaded;
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
    file.close();
    loaded.strError = document.isNull() ? parseError.errorString() : CheckDocument(document);
    if (!loaded.strError.isEmpty()) {
        loaded.strKeptAs = KeepAside(loaded.strError);
        return loaded;
    }
    for (const QJsonValue& timer : document.object()["timers"].toArray())
        loaded.timers.push_back(TimerFromJson(timer.toObject()));
    return loaded;
}

QString CTimerStore::KeepAside(QString& strError)
{
    QString strAside = m_strPath + QStringLiteral(".bad");
    for (int nNumber = 2; QFileInfo::exists(strAside); ++nNumber)
        strAside = m_strPath + QStringLiteral(".%1.bad").arg(nNumber);
    if (!QFile::rename(m_strPath, strAside)) {
        // Saving now would put the new timers over the only copy of the old.
        m_bWritable = false;
        strError += tr("; it could not be renamed either, so timers are not saved until the program "
                       "starts again");
        return QString();
    }
    return strAside;
}

QString CTimerStore::Save(const std::vector<CRecordingTimer>& timers) const
{
    if (!m_bWritable)
        return tr("The timers file %1 could not be read or kept aside; it is left as it is.")
            .arg(QDir::toNativeSeparators(m_strPath));
    const QString strFolder = QFileInfo(m_strPath).absolutePath();
    if (!QDir().mkpath(strFolder))
        return tr("The folder %1 could not be made.").arg(QDir::toNativeSeparators(strFolder));
    QJsonArray array;
    for (const CRecordingTimer& timer : timers)
        array.append(TimerToJson(timer));
    const QByteArray data = QJsonDocument(QJsonObject { { "version", FILE_VERSION }, { "timers", array } }).toJson();
    // In the same folder, so the rename replaces the file in one step.
    QTemporaryFile file(m_strPath + QStringLiteral(".XXXXXX.tmp"));
    if (!file.open())
        return file.errorString();
    // The data reaches the disk before the name points at it.
    if (file.write(data) != data.size() || !file.flush() || ::fsync(file.handle()) != 0)
        return tr("The timers could not be written to %1: %2").arg(file.fileName(), file.errorString());
    if (m_beforeReplace && !m_beforeReplace()) {
        file.setAutoRemove(false);
        return tr("The save was abandoned before the timers file was replaced.");
    }
    // rename(2), unlike QFile::rename, replaces an existing file atomically.
    if (std::rename(QFile::encodeName(file.fileName()).constData(), QFile::encodeName(m_strPath).constData()) != 0)
        return tr("The timers file %1 could not be replaced: %2")
            .arg(QDir::toNativeSeparators(m_strPath), QString::fromLocal8Bit(std::strerror(errno)));
    file.setAutoRemove(false);
    return QString();
}
