#pragma once

#include <QList>
#include <QPainterPath>
#include <QRect>
#include <QSize>
#include <QString>

// What a button shows; SkinGlyphs draws each one as a vector path.
enum class EGlyph {
    eNone,
    eRecord,
    ePlay,
    ePause,
    eStop,
    eProfile,
    eCamera,
    eMicrophone,
    eSync,
    eFrame,
    eFilm,
    eMinimize,
    eClose,
    eSpeaker,
    eSpeakerMuted,
    eChevronDown,
};

enum class EFace {
    eRound,
    eRoundedSquare,
    ePill,
};

// One BUTTONINFO, OPTIONINFO, CHECKINFO or TASKBARBUTTON entry and its art.
// Rectangles have exclusive right and bottom edges, as QRect(l, t, w, h).
struct CButtonLayout
{
    QString strName;
    QString strImage;
    QRect rc;
    QString strTip;
    EGlyph eGlyph = EGlyph::eNone;
    EGlyph eGlyphChecked = EGlyph::eNone; // the down frame's icon, when it differs
    EFace eFace = EFace::eRoundedSquare;
    QString strText; // drawn instead of a glyph
    bool bChecked = false;
};

struct CLabelLayout
{
    QString strName;
    QRect rc;
    QString strText;
    int nPointSize = 9;
    bool bDim = false;
};

// A recessed area of the background.
struct CPanelLayout
{
    QRect rc;
    int nRadius = 10;
};

// Everything about a skin that does not depend on its colours.
struct CSkinLayout
{
    QSize size;
    QPainterPath outline;
    bool bAccentTrim = false; // a band of the accent colour along the outline
    QRect rcIcon;
    CLabelLayout caption;
    QRect rcBezel;
    QRect rcControl;   // where the recorder preview sits; 4:3
    QRect rcTransport; // cradle behind the transport buttons
    QList<QRect> arrGrilles;
    QList<CPanelLayout> arrPanels;
    QList<CLabelLayout> arrHeadings; // static text engraved into the background
    QList<CButtonLayout> arrButtons;
    QList<CButtonLayout> arrOptions;
    QList<CButtonLayout> arrChecks;
    QList<CLabelLayout> arrLabels;
    QRect rcSlider; // the window of SLIDER_PROGRESS
    int nThumbSize = 16;
    QRect rcCombo;        // face and drop-down list together
    QSize sizeComboArrow; // one frame of the arrow strip
    QRect rcEdit;
    QRect rcList; // list and its scroll bar together
    int nScrollWidth = 12;
    QRect rcProgress;
    QSize sizeProgressBlock;
};

CSkinLayout StandardLayout();
CSkinLayout DeluxeLayout();

// The task notifier popup: its picture size and close button, the panel its
// art draws for the page, and where the web page lies on it (clear of the
// panel's rounded corners, so the page's plain background continues the
// panel's).
QSize NotifierSize();
CButtonLayout NotifierCloseButton();
QRect NotifierPanel();
QRect NotifierPageArea();
