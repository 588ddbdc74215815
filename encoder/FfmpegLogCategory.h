#pragma once

// Sends FFmpeg's log lines, as far as SKINREC_FFMPEG_LOG lets them through,
// into the skinrecorder.ffmpeg logging category, and installs the engine's
// handler of FFmpeg's log. Call before the first recorder starts.
void ForwardFfmpegLogToQt();
