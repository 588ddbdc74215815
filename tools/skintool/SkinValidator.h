#pragma once

#include <QStringList>

// Everything in an unpacked skin folder that would make the skin look wrong
// or miss parts, one line per problem naming section, key and file: a
// missing Skin.ini or task notifier picture, images that are missing or do
// not load, entries with fewer fields than their kind reads, keys the
// numbering rules never reach, overlong values, and an icon smaller than the
// rectangle it is drawn into unscaled, and a notifier page that does not
// lie on the notifier picture. Empty when the skin is clean.
QStringList ValidateSkinFolder(const QString& strFolder);
