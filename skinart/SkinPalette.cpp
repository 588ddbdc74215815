#include "skinart/SkinPalette.h"

const QList<CSkinPalette>& SkinPalettes()
{
    static const QList<CSkinPalette> arrPalettes = {
        { "Orange", QColor(0xFFA445), QColor(0xD4600C), QColor(0x6E2A00), QColor(0x33190A), QColor(0xFFD27A),
          QColor(0xE8650A), QColor(0xFFFFFF), QColor(0xFFE3C4), QColor(0xFFF6EC), QColor(0xF2C79C), QColor(0x8A3A00),
          QColor(0xE0262B) },
        { "Black", QColor(0x43474D), QColor(0x141619), QColor(0x030304), QColor(0x0A0B0D), QColor(0x3CC8FF),
          QColor(0x3CC8FF), QColor(0xE8EEF2), QColor(0x8E98A3), QColor(0x51565E), QColor(0x25282D), QColor(0xE6EDF3),
          QColor(0xFF3B3B) },
        { "Purple", QColor(0xA378E6), QColor(0x58289C), QColor(0x250B4E), QColor(0x1C0C38), QColor(0xE4BEFF),
          QColor(0x7E3FD8), QColor(0xFFFFFF), QColor(0xE3D2FF), QColor(0xF6EFFF), QColor(0xCDB4F2), QColor(0x4B2188),
          QColor(0xE0262B) },
        { "Blue", QColor(0x58AAF8), QColor(0x1859B8), QColor(0x0A2858), QColor(0x0A1A33), QColor(0x9FE6FF),
          QColor(0x2F86E8), QColor(0xFFFFFF), QColor(0xD5EBFF), QColor(0xF0F7FF), QColor(0xB7D4F4), QColor(0x0F4A96),
          QColor(0xE0262B) },
        { "Red", QColor(0xEA4C4E), QColor(0x9A1216), QColor(0x440405), QColor(0x280608), QColor(0xFFC7A6),
          QColor(0xD42A30), QColor(0xFFFFFF), QColor(0xFFDADA), QColor(0xFFF3F3), QColor(0xF0BDBD), QColor(0x8E1013),
          QColor(0xD4141B) },
        { "Gray", QColor(0xE2E5E9), QColor(0x9AA1A8), QColor(0x4A5056), QColor(0x2C3136), QColor(0x5AAEEA),
          QColor(0x3E95DA), QColor(0x1E2328), QColor(0x3B434B), QColor(0xFFFFFF), QColor(0xD3D8DE), QColor(0x394048),
          QColor(0xE0262B) },
        { "Pink", QColor(0xFFA6CF), QColor(0xDC4F8C), QColor(0x6E1A40), QColor(0x3A0F24), QColor(0xFFE6F2),
          QColor(0xEC5596), QColor(0xFFFFFF), QColor(0xFFE2F0), QColor(0xFFF5FA), QColor(0xF6C3DB), QColor(0xAE2864),
          QColor(0xE0262B) },
        { "Deluxe", QColor(0x4B443A), QColor(0x17150F), QColor(0x050403), QColor(0x0D0C0A), QColor(0xE9C46A),
          QColor(0xE9C46A), QColor(0xF5E6C0), QColor(0xBCA77A), QColor(0x5E5548), QColor(0x2A251F), QColor(0xF2D48C),
          QColor(0xF03A2E) },
    };
    return arrPalettes;
}
