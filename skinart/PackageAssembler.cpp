#include "skinart/PackageAssembler.h"

#include <functional>

#include <QStringList>

#include "skin/SkinFields.h"
#include "skin/SkinFormat.h"
#include "skin/SkinImageFile.h"
#include "skinart/SkinArt.h"

using SkinFormat::CEntryWriter;
using SkinFormat::CSectionFormat;
using SkinFormat::EField;

namespace {

const QString FONT_FACE = "DejaVu Sans";
const QString NOTIFIER_PICTURE = "dlgTaskNotifier.bmp";
const QStringList SCROLL_IMAGES = { "sb_track.bmp",  "sb_up.bmp",    "sb_up_p.bmp",   "sb_down.bmp",
                                    "sb_down_p.bmp", "sb_thumb.bmp", "sb_thumb_p.bmp" };

// Every picture goes into a package as drawn at each of these scales, the
// plain one first; a scale's picture is the same drawing at more pixels.
constexpr int SCALES[] = { 1, DOUBLE_SCALE };

using CDrawing = std::function<QImage(int nScale)>;

// Where a picture's drawing at a scale is kept in a pair made for SCALES.
int ScaleIndex(int nScale)
{
    return nScale == 1 ? 0 : 1;
}

QString ScaledName(const QString& strName, int nScale)
{
    if (nScale == 1)
        return strName;
    const qsizetype nDot = strName.lastIndexOf(u'.');
    return strName.left(nDot) + DOUBLE_SIZE_MARK + strName.mid(nDot);
}

// Skin descriptions write colours as 0xRRGGBB.
QString Color(const QColor& clr)
{
    return "0x" + QString("%1").arg(clr.rgb() & 0xFFFFFF, 6, 16, QChar('0')).toUpper();
}

QString Flag(bool bSet)
{
    return bSet ? "TRUE" : "FALSE";
}

class CDescription
{
public:
    void Single(const CSectionFormat& format, const QString& strValue)
    {
        m_arrLines << QString("[%1]").arg(format.Section()) << QString("%1=%2").arg(format.Key(), strValue)
                   << QString();
    }

    void List(const CSectionFormat& format, const QStringList& arrValues)
    {
        const QString strSection = format.Section();
        m_arrLines << QString("[%1]").arg(strSection);
        for (int i = 0; i < arrValues.size(); ++i)
            m_arrLines << QString("%1=%2").arg(i + 1).arg(arrValues[i]);
        m_arrLines << QString();
        for (const QString& strValue : arrValues) {
            if (strValue.size() > SkinFields::MAX_ENTRY_CHARS)
                m_arrTooLong << strSection;
        }
    }

    const QStringList& TooLong() const { return m_arrTooLong; }

    // Windows line ends: the format comes from there.
    QByteArray Text() const { return m_arrLines.join("\r\n").toUtf8(); }

private:
    QStringList m_arrLines;
    QStringList m_arrTooLong;
};

QString RectEntry(const CSectionFormat& format, const QRect& rc)
{
    return CEntryWriter(format).PutRect(rc).Value();
}

// None of our buttons latches.
CEntryWriter& PutButton(CEntryWriter& entry, const CButtonLayout& button)
{
    return entry.Put(EField::eName, button.strName)
        .Put(EField::eImage, button.strImage)
        .PutRect(button.rc)
        .Put(EField::eText, button.strTip)
        .Put(EField::eFlag, Flag(false));
}

QString ButtonEntry(const CSectionFormat& format, const CButtonLayout& button)
{
    CEntryWriter entry(format);
    return PutButton(entry, button).Value();
}

QString ToggleEntry(const CSectionFormat& format, const CButtonLayout& button)
{
    CEntryWriter entry(format);
    return PutButton(entry, button).Put(EField::eFlag, Flag(button.bChecked)).Value();
}

QString LabelEntry(const CSectionFormat& format, const CLabelLayout& label, const CSkinPalette& palette)
{
    return CEntryWriter(format)
        .Put(EField::eName, label.strName)
        .PutRect(label.rc)
        .Put(EField::eText, label.strText)
        .Put(EField::eText, FONT_FACE)
        .Put(EField::eNumber, QString::number(label.nPointSize))
        .Put(EField::eColor, Color(label.bDim ? palette.clrTextDim : palette.clrText))
        .Value();
}

CEntryWriter& PutEditColors(CEntryWriter& entry, const CSkinPalette& palette)
{
    return entry.Put(EField::eColor, Color(FieldBackColor(palette)))
        .Put(EField::eColor, Color(FieldTextColor(palette)))
        .Put(EField::eColor, Color(FieldBorderColor(palette)));
}

CEntryWriter& PutListColors(CEntryWriter& entry, const CSkinPalette& palette)
{
    return entry.Put(EField::eColor, Color(FieldBackColor(palette)))
        .Put(EField::eColor, Color(FieldTextColor(palette)))
        .Put(EField::eColor, Color(SelectionBackColor(palette)))
        .Put(EField::eColor, Color(SelectionTextColor(palette)));
}

CEntryWriter& PutScrollImages(CEntryWriter& entry)
{
    for (const QString& strImage : SCROLL_IMAGES)
        entry.Put(EField::eImage, strImage);
    return entry;
}

class CPackageAssembler
{
public:
    CPackageAssembler(const CSkinPalette& palette, const CSkinLayout& layout)
        : m_palette(palette)
        , m_layout(layout)
        , m_arrBackgrounds { DrawBackground(palette, layout, SCALES[0]), DrawBackground(palette, layout, SCALES[1]) }
    {
    }

    bool Build(QList<CPackageFile>& arrFiles, QString& strError)
    {
        AddPicture("background.bmp", [this](int nScale) { return m_arrBackgrounds[ScaleIndex(nScale)]; });
        m_description.Single(SkinFormat::BACKGROUND,
                             CEntryWriter(SkinFormat::BACKGROUND).Put(EField::eImage, "background.bmp").Value());
        m_description.Single(SkinFormat::KEY_COLOR,
                             CEntryWriter(SkinFormat::KEY_COLOR).Put(EField::eColor, "0xFF00FF").Value());
        AddPicture("icon.bmp", [this](int nScale) { return DrawAppIcon(m_palette, Under(m_layout.rcIcon, nScale)); });
        m_description.Single(
            SkinFormat::ICON,
            CEntryWriter(SkinFormat::ICON).Put(EField::eImage, "icon.bmp").PutRect(m_layout.rcIcon).Value());
        m_description.Single(SkinFormat::CAPTION, LabelEntry(SkinFormat::CAPTION, m_layout.caption, m_palette));
        m_description.Single(SkinFormat::CONTROL, RectEntry(SkinFormat::CONTROL, m_layout.rcControl));
        AddNotifier();
        AddButtons();
        AddSlider();
        AddToggles(SkinFormat::OPTIONS, m_layout.arrOptions);
        AddToggles(SkinFormat::CHECKS, m_layout.arrChecks);
        QStringList arrLabels;
        for (const CLabelLayout& label : m_layout.arrLabels)
            arrLabels << LabelEntry(SkinFormat::LABELS, label, m_palette);
        m_description.List(SkinFormat::LABELS, arrLabels);
        AddPicture("level_block.bmp",
                   [this](int nScale) { return DrawProgressBlock(m_palette, m_layout.sizeProgressBlock, nScale); });
        m_description.List(SkinFormat::PROGRESSES,
                           { CEntryWriter(SkinFormat::PROGRESSES)
                                 .Put(EField::eName, "PROGRESS_LEVEL")
                                 .PutRect(m_layout.rcProgress)
                                 .Put(EField::eImage, "level_block.bmp")
                                 .Value() });
        CEntryWriter edit(SkinFormat::EDITS);
        edit.Put(EField::eName, "EDIT_TITLE").PutRect(m_layout.rcEdit);
        PutEditColors(edit, m_palette).Put(EField::eFlag, "TRUE");
        m_description.List(SkinFormat::EDITS, { edit.Value() });
        AddLists();

        if (!m_description.TooLong().isEmpty()) {
            strError = QString("%1: entries of 256 characters or more in %2")
                           .arg(m_palette.strName, m_description.TooLong().join(", "));
            return false;
        }
        for (const CPackageFile& file : m_arrPictures) {
            if (file.data.isEmpty()) {
                strError = QString("%1: could not encode %2").arg(m_palette.strName, file.strName);
                return false;
            }
        }
        arrFiles = { CPackageFile { "Skin.ini", m_description.Text() } };
        arrFiles += m_arrPictures;
        return true;
    }

private:
    // The part of a picture under rc, which is in the skin's coordinates.
    static QImage PartOf(const QImage& img, const QRect& rc)
    {
        const int nScale = qRound(img.devicePixelRatio());
        return img.copy(QRect(rc.topLeft() * nScale, rc.size() * nScale));
    }

    QImage Under(const QRect& rc, int nScale) const { return PartOf(m_arrBackgrounds[ScaleIndex(nScale)], rc); }

    void AddPicture(const QString& strName, const CDrawing& draw)
    {
        for (const int nScale : SCALES)
            m_arrPictures.append(CPackageFile { ScaledName(strName, nScale), EncodeBmp(draw(nScale)) });
    }

    void AddNotifier()
    {
        const QImage arrNotifiers[] = { DrawNotifier(m_palette, SCALES[0]), DrawNotifier(m_palette, SCALES[1]) };
        const CButtonLayout close = NotifierCloseButton();
        AddPicture(NOTIFIER_PICTURE, [&arrNotifiers](int nScale) { return arrNotifiers[ScaleIndex(nScale)]; });
        AddPicture(close.strImage, [&](int nScale) {
            return DrawButtonStrip(m_palette, close, EButtonRole::ePush,
                                   PartOf(arrNotifiers[ScaleIndex(nScale)], close.rc));
        });
        m_description.List(SkinFormat::TASK_BUTTONS, { ButtonEntry(SkinFormat::TASK_BUTTONS, close) });
        m_description.Single(SkinFormat::NOTIFIER_PAGE, RectEntry(SkinFormat::NOTIFIER_PAGE, NotifierPageArea()));
    }

    void AddButtons()
    {
        QStringList arrEntries;
        for (const CButtonLayout& button : m_layout.arrButtons) {
            AddPicture(button.strImage, [&](int nScale) {
                return DrawButtonStrip(m_palette, button, EButtonRole::ePush, Under(button.rc, nScale));
            });
            arrEntries << ButtonEntry(SkinFormat::BUTTONS, button);
        }
        m_description.List(SkinFormat::BUTTONS, arrEntries);
    }

    void AddToggles(const CSectionFormat& format, const QList<CButtonLayout>& arrToggles)
    {
        QStringList arrEntries;
        for (const CButtonLayout& toggle : arrToggles) {
            AddPicture(toggle.strImage, [&](int nScale) {
                return DrawButtonStrip(m_palette, toggle, EButtonRole::eToggle, Under(toggle.rc, nScale));
            });
            arrEntries << ToggleEntry(format, toggle);
        }
        if (!arrEntries.isEmpty())
            m_description.List(format, arrEntries);
    }

    void AddSlider()
    {
        const QRect rc = m_layout.rcSlider;
        const int nThumb = m_layout.nThumbSize;
        const int nChannel = SliderChannelHeight(nThumb);
        const QRect rcChannel(rc.left(), rc.top() + (nThumb - nChannel) / 2, rc.width(), nChannel);
        const QRect rcThumbUnder(rc.left() + rc.width() / 2, rc.top(), nThumb, nThumb);
        AddPicture("slider_channel.bmp",
                   [&](int nScale) { return DrawSliderChannel(m_palette, Under(rcChannel, nScale)); });
        AddPicture("slider_thumb.bmp",
                   [&](int nScale) { return DrawSliderThumb(m_palette, false, Under(rcThumbUnder, nScale)); });
        AddPicture("slider_drag.bmp",
                   [&](int nScale) { return DrawSliderThumb(m_palette, true, Under(rcThumbUnder, nScale)); });
        m_description.List(SkinFormat::SLIDERS,
                           { CEntryWriter(SkinFormat::SLIDERS)
                                 .Put(EField::eName, "SLIDER_PROGRESS")
                                 .Put(EField::eImage, "slider_channel.bmp")
                                 .Put(EField::eImage, "slider_thumb.bmp")
                                 .Put(EField::eImage, "slider_drag.bmp")
                                 .PutRect(rc)
                                 .Put(EField::eOrientation, "H")
                                 .Put(EField::eNumber, "0")
                                 .Put(EField::eText, "Progress")
                                 .Value() });
    }

    void AddLists()
    {
        const QList<QImage> arrScrolls[] = { DrawScrollImages(m_palette, m_layout.nScrollWidth, SCALES[0]),
                                             DrawScrollImages(m_palette, m_layout.nScrollWidth, SCALES[1]) };
        for (int i = 0; i < SCROLL_IMAGES.size(); ++i)
            AddPicture(SCROLL_IMAGES[i], [&arrScrolls, i](int nScale) { return arrScrolls[ScaleIndex(nScale)][i]; });
        CEntryWriter list(SkinFormat::LIST_BOXES);
        list.Put(EField::eName, "LIST_RECENT").PutRect(m_layout.rcList);
        PutScrollImages(PutListColors(list, m_palette));
        m_description.List(SkinFormat::LIST_BOXES, { list.Value() });

        const QSize sizeArrow = m_layout.sizeComboArrow;
        const QRect rcArrowUnder(m_layout.rcCombo.left() + m_layout.rcCombo.width() - sizeArrow.width(),
                                 m_layout.rcCombo.top(), sizeArrow.width(), sizeArrow.height());
        AddPicture("combo_arrow.bmp",
                   [&](int nScale) { return DrawComboArrowStrip(m_palette, sizeArrow, Under(rcArrowUnder, nScale)); });
        CEntryWriter combo(SkinFormat::COMBO_BOXES);
        combo.Put(EField::eName, "COMBO_OUTPUT").PutRect(m_layout.rcCombo).Put(EField::eImage, "combo_arrow.bmp");
        PutScrollImages(PutListColors(PutEditColors(combo, m_palette), m_palette));
        m_description.List(SkinFormat::COMBO_BOXES, { combo.Value() });
    }

    const CSkinPalette& m_palette;
    const CSkinLayout& m_layout;
    // The background at each of SCALES.
    const QImage m_arrBackgrounds[2];
    CDescription m_description;
    QList<CPackageFile> m_arrPictures;
};

} // namespace

CSkinLayout LayoutFor(const CSkinPalette& palette)
{
    return palette.strName == "Deluxe" ? DeluxeLayout() : StandardLayout();
}

bool BuildSkinPackage(const CSkinPalette& palette, QList<CPackageFile>& arrFiles, QString& strError)
{
    const CSkinLayout layout = LayoutFor(palette);
    CPackageAssembler assembler(palette, layout);
    return assembler.Build(arrFiles, strError);
}
