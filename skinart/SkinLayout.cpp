#include "skinart/SkinLayout.h"

namespace {

constexpr int SMALL_POINTS = 8;
constexpr int LABEL_POINTS = 9;
constexpr int HEADING_POINTS = 7;
// The output selector's list drops two pixels below its face and holds the
// window's three output types. A row of the skin lists' 16-pixel text is 21
// to 25 pixels tall in the fonts that stand in for Arial (DejaVu Sans, or
// Nimbus Sans where Ghostscript's fonts are installed); a little more keeps
// a scroll bar away however the text is set.
constexpr int COMBO_LIST_GAP = 2;
constexpr int COMBO_LIST_ROWS = 3;
constexpr int COMBO_ROW_ALLOWANCE = 26;

QPainterPath RoundedRect(const QRectF& rc, qreal dRadius)
{
    QPainterPath path;
    path.addRoundedRect(rc, dRadius, dRadius);
    return path;
}

QPainterPath Ellipse(const QRectF& rc)
{
    QPainterPath path;
    path.addEllipse(rc);
    return path;
}

CButtonLayout Button(const QString& strName, const QRect& rc, EGlyph eGlyph, EFace eFace, const QString& strTip)
{
    CButtonLayout button;
    button.strName = strName;
    button.strImage = strName.toLower() + ".bmp";
    button.rc = rc;
    button.eGlyph = eGlyph;
    button.eFace = eFace;
    button.strTip = strTip;
    return button;
}

CLabelLayout Heading(const QRect& rc, const QString& strText)
{
    return CLabelLayout { QString(), rc, strText, HEADING_POINTS, true };
}

// The transport and window buttons every layout has; only their places differ.
struct CCommonPlaces
{
    QRect rcConvert;
    QRect rcPlay;
    QRect rcStop;
    QRect rcMinimize;
    QRect rcExit;
    // Video, audio, sync mode, MPEG profile, AVI profile, frame picture.
    QRect arrSettings[6];
    EFace eSettingsFace;
};

QList<CButtonLayout> CommonButtons(const CCommonPlaces& places)
{
    const EFace eFace = places.eSettingsFace;
    return {
        Button("BUTTON_CONVERT", places.rcConvert, EGlyph::eRecord, EFace::eRound, "Record to file"),
        Button("BUTTON_PLAY", places.rcPlay, EGlyph::ePlay, EFace::eRound, "Play"),
        Button("BUTTON_PAUSE", places.rcPlay, EGlyph::ePause, EFace::eRound, "Pause"),
        Button("BUTTON_STOP", places.rcStop, EGlyph::eStop, EFace::eRound, "Stop"),
        Button("BUTTON_EDITVIDEO", places.arrSettings[0], EGlyph::eCamera, eFace, "Video source"),
        Button("BUTTON_EDITAUDIO", places.arrSettings[1], EGlyph::eMicrophone, eFace, "Audio source"),
        Button("BUTTON_EDITMODE", places.arrSettings[2], EGlyph::eSync, eFace, "Audio sync mode"),
        Button("BUTTON_EDIT", places.arrSettings[3], EGlyph::eProfile, eFace, "MPEG profile"),
        Button("BUTTON_EDITAVI", places.arrSettings[4], EGlyph::eFilm, eFace, "AVI compressor profile"),
        Button("BUTTON_EDITFRAME", places.arrSettings[5], EGlyph::eFrame, eFace, "Frame picture"),
        Button("BUTTON_MINIMIZE", places.rcMinimize, EGlyph::eMinimize, EFace::eRound, "Minimize"),
        Button("BUTTON_EXIT", places.rcExit, EGlyph::eClose, EFace::eRound, "Close"),
    };
}

CButtonLayout MuteCheck(const QRect& rc)
{
    CButtonLayout check = Button("CHECK_MUTE", rc, EGlyph::eSpeaker, EFace::eRoundedSquare, "Mute the sound");
    check.eGlyphChecked = EGlyph::eSpeakerMuted;
    return check;
}

// The combo box's skin rectangle: its face, one arrow frame tall, and the
// list below it.
QRect ComboRect(const QPoint& ptTopLeft, int nWidth, const QSize& sizeArrow)
{
    return QRect(ptTopLeft, QSize(nWidth, sizeArrow.height() + COMBO_LIST_GAP + COMBO_LIST_ROWS * COMBO_ROW_ALLOWANCE));
}

CLabelLayout TimeLabel(const QRect& rc)
{
    return CLabelLayout { "LABEL_TIME", rc, "00:00:00/02:00:00", SMALL_POINTS, false };
}

} // namespace

CSkinLayout StandardLayout()
{
    CSkinLayout layout;
    layout.size = QSize(640, 476);
    layout.outline = RoundedRect(QRectF(6, 30, 628, 434), 34)
                         .united(RoundedRect(QRectF(26, 4, 290, 70), 24))
                         .united(Ellipse(QRectF(164, 386, 88, 88)));
    layout.rcIcon = QRect(44, 15, 28, 28);
    layout.caption = CLabelLayout { "CAPTION", QRect(80, 15, 220, 30), "SkinRecorder", 15, false };
    layout.rcBezel = QRect(20, 80, 376, 288);
    layout.rcControl = QRect(32, 92, 352, 264);
    // The transport sits centred under the preview, in a bulge of the outline.
    layout.rcTransport = QRect(94, 406, 228, 48);
    layout.arrGrilles = { QRect(28, 410, 60, 40), QRect(330, 410, 70, 40) };

    CCommonPlaces places;
    places.rcConvert = QRect(172, 394, 72, 72);
    places.rcPlay = QRect(104, 410, 40, 40);
    places.rcStop = QRect(272, 410, 40, 40);
    places.rcMinimize = QRect(560, 44, 26, 26);
    places.rcExit = QRect(592, 44, 26, 26);
    const QSize sizeSetting(60, 46);
    places.arrSettings[0] = QRect(QPoint(418, 104), sizeSetting);
    places.arrSettings[1] = QRect(QPoint(484, 104), sizeSetting);
    places.arrSettings[2] = QRect(QPoint(550, 104), sizeSetting);
    places.arrSettings[3] = QRect(QPoint(418, 188), sizeSetting);
    places.arrSettings[4] = QRect(QPoint(484, 188), sizeSetting);
    places.arrSettings[5] = QRect(QPoint(550, 188), sizeSetting);
    places.eSettingsFace = EFace::eRoundedSquare;
    layout.arrButtons = CommonButtons(places);
    layout.arrPanels = { CPanelLayout { QRect(412, 96, 204, 62), 12 }, CPanelLayout { QRect(412, 180, 204, 62), 12 } };
    layout.arrHeadings = { Heading(QRect(414, 80, 200, 14), "SOURCES"), Heading(QRect(414, 164, 200, 14), "PROFILES"),
                           CLabelLayout { QString(), QRect(412, 293, 66, 18), "Title", LABEL_POINTS, true },
                           Heading(QRect(414, 347, 200, 14), "RECORDINGS") };

    layout.arrChecks = { MuteCheck(QRect(412, 320, 32, 24)) };
    layout.arrLabels = { TimeLabel(QRect(292, 377, 110, 18)),
                         CLabelLayout { "LABEL_MODE", QRect(412, 260, 66, 18), "Output", LABEL_POINTS, true } };
    layout.rcSlider = QRect(34, 378, 250, 16);
    layout.nThumbSize = 16;
    layout.sizeComboArrow = QSize(20, 22);
    layout.rcCombo = ComboRect(QPoint(480, 256), 136, layout.sizeComboArrow);
    layout.rcEdit = QRect(480, 290, 136, 20);
    layout.rcList = QRect(412, 364, 204, 84);
    layout.nScrollWidth = 12;
    layout.rcProgress = QRect(452, 327, 164, 10);
    layout.sizeProgressBlock = QSize(6, 10);
    return layout;
}

CSkinLayout DeluxeLayout()
{
    CSkinLayout layout;
    layout.size = QSize(860, 622);
    layout.outline = RoundedRect(QRectF(8, 44, 844, 520), 48)
                         .united(RoundedRect(QRectF(260, 2, 340, 76), 38))
                         .united(Ellipse(QRectF(250, 509, 360, 110)));
    layout.bAccentTrim = true;
    layout.rcIcon = QRect(290, 22, 32, 32);
    layout.caption = CLabelLayout { "CAPTION", QRect(332, 22, 250, 34), "SkinRecorder", 17, false };
    layout.rcBezel = QRect(116, 92, 524, 396);
    layout.rcControl = QRect(138, 112, 480, 360);
    layout.rcTransport = QRect(282, 536, 296, 68);
    layout.arrGrilles = { QRect(36, 528, 196, 24), QRect(628, 528, 196, 24) };

    CCommonPlaces places;
    places.rcConvert = QRect(390, 528, 80, 80);
    places.rcPlay = QRect(304, 544, 52, 52);
    places.rcStop = QRect(504, 544, 52, 52);
    places.rcMinimize = QRect(768, 60, 28, 28);
    places.rcExit = QRect(804, 60, 28, 28);
    for (int i = 0; i < 6; ++i)
        places.arrSettings[i] = QRect(32, 116 + i * 66, 56, 56);
    places.eSettingsFace = EFace::eRound;
    layout.arrButtons = CommonButtons(places);
    layout.arrPanels = { CPanelLayout { QRect(22, 104, 76, 388), 38 } };
    layout.arrHeadings = { Heading(QRect(22, 86, 76, 14), "SETUP"), Heading(QRect(662, 162, 174, 14), "TITLE"),
                           Heading(QRect(662, 216, 174, 14), "QUALITY"), Heading(QRect(662, 276, 174, 14), "MONITOR"),
                           Heading(QRect(662, 336, 174, 14), "RECORDINGS") };

    CButtonLayout good =
        Button("OPTION_QUALITY_GOOD", QRect(660, 232, 84, 28), EGlyph::eNone, EFace::ePill, "Good quality");
    good.strText = "Good";
    good.bChecked = true;
    CButtonLayout best =
        Button("OPTION_QUALITY_BEST", QRect(752, 232, 84, 28), EGlyph::eNone, EFace::ePill, "Best quality");
    best.strText = "Best";
    layout.arrOptions = { good, best };
    layout.arrChecks = { MuteCheck(QRect(660, 292, 36, 28)) };
    layout.arrLabels = { TimeLabel(QRect(524, 500, 116, 20)),
                         CLabelLayout { "LABEL_MODE", QRect(660, 100, 176, 18), "Output format", LABEL_POINTS, true } };
    layout.rcSlider = QRect(140, 502, 372, 18);
    layout.nThumbSize = 18;
    layout.sizeComboArrow = QSize(24, 24);
    layout.rcCombo = ComboRect(QPoint(660, 122), 176, layout.sizeComboArrow);
    layout.rcEdit = QRect(660, 180, 176, 22);
    layout.rcList = QRect(660, 354, 176, 148);
    layout.nScrollWidth = 14;
    layout.rcProgress = QRect(706, 301, 130, 10);
    layout.sizeProgressBlock = QSize(5, 10);
    return layout;
}

QSize NotifierSize()
{
    return QSize(300, 248);
}

QRect NotifierPanel()
{
    return QRect(14, 48, NotifierSize().width() - 28, 166);
}

QRect NotifierPageArea()
{
    const int nCornerClearance = 4;
    return NotifierPanel().adjusted(nCornerClearance, nCornerClearance, -nCornerClearance, -nCornerClearance);
}

CButtonLayout NotifierCloseButton()
{
    return Button("TASKBUTTON_EXIT", QRect(264, 12, 24, 24), EGlyph::eClose, EFace::eRound, "Close");
}
