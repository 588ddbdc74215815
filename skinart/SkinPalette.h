#pragma once

#include <QColor>
#include <QList>
#include <QString>

// The colours of one skin theme. Every drawing routine takes its colours from
// here, so a theme is nothing but one row of the table in SkinPalette.cpp.
struct CSkinPalette
{
    QString strName;   // also the package name: "<strName>.zip"
    QColor clrBodyTop; // window body gradient
    QColor clrBodyBottom;
    QColor clrRim;     // outline and deep shadows
    QColor clrPanel;   // recessed panels, wells, list rows
    QColor clrAccent;  // fills, selection, lit toggles
    QColor clrHover;   // ring around a button under the mouse
    QColor clrText;    // labels on the body
    QColor clrTextDim; // engraved headings
    QColor clrFaceTop; // button faces
    QColor clrFaceBottom;
    QColor clrGlyph;  // button icons
    QColor clrRecord; // the record dot
};

// Orange, Black, Purple, Blue, Red, Gray and Pink, which share the standard
// layout, followed by Deluxe, which has a layout of its own.
const QList<CSkinPalette>& SkinPalettes();
