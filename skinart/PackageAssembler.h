#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include "skinart/SkinLayout.h"
#include "skinart/SkinPalette.h"

struct CPackageFile
{
    QString strName;
    QByteArray data;
};

// The layout a theme uses: Deluxe has its own, every other theme shares the
// standard one.
CSkinLayout LayoutFor(const CSkinPalette& palette);

// Every file of one skin package, "Skin.ini" first. Fails, with the cause in
// strError, when an entry would not fit the description's 255-character
// limit or a picture cannot be encoded.
bool BuildSkinPackage(const CSkinPalette& palette, QList<CPackageFile>& arrFiles, QString& strError);
