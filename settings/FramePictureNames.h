#pragma once

#include <QStringList>

// The frame pictures the recorder can lay over the video, in the order of
// the numbers it takes them by (the first is VideoFrame 1): the files of
// the same "Frame" folder, found by the same rule.
QStringList ListFramePictureNames();
