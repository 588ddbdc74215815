#pragma once

#include <QList>

#include "skinart/PackageAssembler.h"

// The frames the recorder lays over the video: 640 x 480 24-bit pictures
// named "FrameNN.bif", magenta where the video shows through. The first
// is magenta throughout, the others decorate the edges.
QList<CPackageFile> BuildFramePictures();
