#pragma once

#include <QStringList>

// Everything in an unpacked skin folder that would make the skin look wrong,
// miss parts or leave the window unable to work, one line per problem naming
// section, key and file: a missing Skin.ini or task notifier picture, images
// that are missing or do not load, entries with fewer fields than their kind
// reads, keys the numbering rules never reach (and the entries a gap hides),
// overlong values, an icon smaller than the rectangle it is drawn into
// unscaled, a notifier page that does not lie on the notifier picture,
// rectangles turned inside out or mostly off their picture, controls and
// windows larger than SkinLimits allow (a window here is held to the side of
// a control, there being no screen), and no button to record, stop or close.
// Empty when the skin is clean.
QStringList ValidateSkinFolder(const QString& strFolder);
