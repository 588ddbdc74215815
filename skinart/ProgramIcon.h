#pragma once

#include <QImage>
#include <QString>

#include "skinart/SkinPalette.h"

// The program's icon for desktops and its window: the round Convert button,
// the record dot, of the skin the program starts with.

// The sizes desktops pick from, in pixels a side.
inline constexpr int PROGRAM_ICON_SIDES[] = { 16, 32, 48, 64, 128, 256 };

QImage DrawProgramIcon(const CSkinPalette& palette, int nSide);

// Writes every size as hicolor/NxN/apps/org.skinrecorder.SkinRecorder.png under strFolder,
// the layout of an icon theme.
bool WriteProgramIcons(const CSkinPalette& palette, const QString& strFolder, QString& strError);
