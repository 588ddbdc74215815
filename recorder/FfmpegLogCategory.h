#pragma once

// Sends FFmpeg's log lines, as far as SKINREC_FFMPEG_LOG lets them through,
// into the skinrecorder.ffmpeg logging category, and the engine's trace into
// skinrecorder.engine as far as that category shows it; installs the
// engine's handler of FFmpeg's log. Call before the first recorder starts,
// after the logging rules are set.
void ForwardFfmpegLogToQt();
