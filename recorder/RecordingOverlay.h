#pragma once

#include "recorder/Encorda.h"

class QPainter;

// The recording's state in the preview's top-left corner: a red mark (two
// bars while paused), the time recorded, the file size and the frames
// dropped, on a dark box that keeps it readable over any picture.
void PaintRecordingOverlay(QPainter& painter, const CEncorda::CStatus& status);
