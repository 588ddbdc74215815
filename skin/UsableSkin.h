#pragma once

#include <QString>

// What an unpacked skin lacks for a window to be made from it: files, a
// readable description, a background picture of some size the screen can
// hold. Without them the window would have no shape, no background or no
// controls, so such a package is refused before the skin in use is let go.
namespace UsableSkin {

// What the skin unpacked into strFolder lacks, in words for the user
// ("it has no Skin.ini"); empty when a window can be made from it.
QString WhatIsMissing(const QString& strFolder);

} // namespace UsableSkin
