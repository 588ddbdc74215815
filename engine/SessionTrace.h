#pragma once

#include <string>

struct CRecorderStatus;
struct CRecordingSettings;

// The lines a recording writes into the engine log (EngineLog.h), for a bug
// report; each is formatted only when the log wants it. Callable from any
// thread.
namespace SessionTrace {

// A device opened, and what it delivers as FFmpeg negotiated it.
void SourceOpened(bool bVideo, const std::string& strDevice, const std::string& strDelivered);
// The recording runs: where it goes and with which profile.
void Started(const CRecordingSettings& settings);
// The first frame of a stream dropped; later ones are only counted.
void FirstDrop(bool bVideo);
// The file is closed (or the preview ended): what was lost or corrected.
void Closed(const CRecorderStatus& status);

} // namespace SessionTrace
