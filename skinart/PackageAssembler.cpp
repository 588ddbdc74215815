#include "skinart/PackageAssembler.h"

#include <QStringList>

#include "skin/SkinFields.h"
#include "skin/SkinFormat.h"
#include "skinart/SkinArt.h"

using SkinFormat::CEntryWriter;
using SkinFormat::CSectionFormat;
using SkinFormat::EField;

namespace {

const QString FONT_FACE = "DejaVu Sans";
const QString NOTIFIER_PICTURE = "dlgTaskNotifier.bmp";
const QStringList SCROLL_IMAGES = { "sb_track.bmp",  "sb_up.bmp",    "sb_up_p.bmp",   "sb_down.bmp",
                                    "sb_down_p.bmp", "sb_thumb.bmp", "sb_thumb_p.bmp" };

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
        , m_imgBackground(DrawBackground(palette, layout))
    {
    }

    bool Build(QList<CPackageFile>& arrFiles, QString& strError)
    {
        AddPicture("background.bmp", m_imgBackground);
        m_description.Single(SkinFormat::BACKGROUND,
                             CEntryWriter(SkinFormat::BACKGROUND).Put(EField::eImage, "background.bmp").Value());
        m_description.Single(SkinFormat::KEY_COLOR,
                             CEntryWriter(SkinFormat::KEY_COLOR).Put(EField::eColor, "0xFF00FF").Value());
        AddPicture("icon.bmp", DrawAppIcon(m_palette, Under(m_layout.rcIcon)));
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
        AddPicture("level_block.bmp", DrawProgressBlock(m_palette, m_layout.sizeProgressBlock));
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
    QImage Under(const QRect& rc) const { return m_imgBackground.copy(rc); }

    void AddPicture(const QString& strName, const QImage& img)
    {
        m_arrPictures.append(CPackageFile { strName, EncodeBmp(img) });
    }

    void AddNotifier()
    {
        const QImage imgNotifier = DrawNotifier(m_palette);
        const CButtonLayout close = NotifierCloseButton();
        AddPicture(NOTIFIER_PICTURE, imgNotifier);
        AddPicture(close.strImage, DrawButtonStrip(m_palette, close, EButtonRole::ePush, imgNotifier.copy(close.rc)));
        m_description.List(SkinFormat::TASK_BUTTONS, { ButtonEntry(SkinFormat::TASK_BUTTONS, close) });
        m_description.Single(SkinFormat::NOTIFIER_PAGE, RectEntry(SkinFormat::NOTIFIER_PAGE, NotifierPageArea()));
    }

    void AddButtons()
    {
        QStringList arrEntries;
        for (const CButtonLayout& button : m_layout.arrButtons) {
            AddPicture(button.strImage, DrawButtonStrip(m_palette, button, EButtonRole::ePush, Under(button.rc)));
            arrEntries << ButtonEntry(SkinFormat::BUTTONS, button);
        }
        m_description.List(SkinFormat::BUTTONS, arrEntries);
    }

    void AddToggles(const CSectionFormat& format, const QList<CButtonLayout>& arrToggles)
    {
        QStringList arrEntries;
        for (const CButtonLayout& toggle : arrToggles) {
            AddPicture(toggle.strImage, DrawButtonStrip(m_palette, toggle, EButtonRole::eToggle, Under(toggle.rc)));
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
        AddPicture("slider_channel.bmp", DrawSliderChannel(m_palette, Under(rcChannel)));
        AddPicture("slider_thumb.bmp", DrawSliderThumb(m_palette, false, Under(rcThumbUnder)));
        AddPicture("slider_drag.bmp", DrawSliderThumb(m_palette, true, Under(rcThumbUnder)));
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
        const QList<QImage> arrScroll = DrawScrollImages(m_palette, m_layout.nScrollWidth);
        for (int i = 0; i < arrScroll.size(); ++i)
            AddPicture(SCROLL_IMAGES[i], arrScroll[i]);
        CEntryWriter list(SkinFormat::LIST_BOXES);
        list.Put(EField::eName, "LIST_RECENT").PutRect(m_layout.rcList);
        PutScrollImages(PutListColors(list, m_palette));
        m_description.List(SkinFormat::LIST_BOXES, { list.Value() });

        const QSize sizeArrow = m_layout.sizeComboArrow;
        const QRect rcArrowUnder(m_layout.rcCombo.left() + m_layout.rcCombo.width() - sizeArrow.width(),
                                 m_layout.rcCombo.top(), sizeArrow.width(), sizeArrow.height());
        AddPicture("combo_arrow.bmp", DrawComboArrowStrip(m_palette, sizeArrow, Under(rcArrowUnder)));
        CEntryWriter combo(SkinFormat::COMBO_BOXES);
        combo.Put(EField::eName, "COMBO_OUTPUT").PutRect(m_layout.rcCombo).Put(EField::eImage, "combo_arrow.bmp");
        PutScrollImages(PutListColors(PutEditColors(combo, m_palette), m_palette));
        m_description.List(SkinFormat::COMBO_BOXES, { combo.Value() });
    }

    const CSkinPalette& m_palette;
    const CSkinLayout& m_layout;
    const QImage m_imgBackground;
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
