#pragma once

#include <QImage>
#include <QList>
#include <QString>

#include "skinart/PackageAssembler.h"

// Shows a package the way the window would load it, read back from its own
// Skin.ini and pictures: the background with the colour key as a
// checkerboard, every control at its rectangle in its resting state, a test
// picture where the recorder preview goes. Below: the notifier popup and
// every button strip with all four frames, to judge hover, pressed and
// disabled looks. Fails with the cause when the package cannot be read.
bool ComposePreview(const QList<CPackageFile>& arrFiles, QImage& imgPreview, QString& strError);
