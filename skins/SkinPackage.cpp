#include "skins/SkinPackage.h"

#include <QStringList>

#include "skin/SkinFields.h"
#include "skins/SkinArt.h"

namespace {

const QString FONT_FACE = "DejaVu Sans";
const QString NOTIFIER_PICTURE = "dlgTaskNotifier.bmp";
const QString SCROLL_IMAGES = "sb_track.bmp,sb_up.bmp,sb_up_p.bmp,sb_down.bmp,sb_down_p.bmp,sb_thumb.bmp,sb_thumb_p.bmp";
const QStringList SCROLL_IMAGE_NAMES = SCROLL_IMAGES.split(',');

QString Rect(const QRect& rc)
{
    return QString("%1,%2,%3,%4").arg(rc.left()).arg(rc.top()).arg(rc.left() + rc.width()).arg(rc.top() + rc.height());
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
    void Single(const QString& strSection, const QString& strKey, const QString& strValue)
    {
        m_arrLines << QString("[%1]").arg(strSection) << QString("%1=%2").arg(strKey, strValue) << QString();
    }

    void List(const QString& strSection, const QStringList& arrValues)
    {
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

QString ButtonEntry(const CButtonSpec& button)
{
    return QStringList { button.strName, button.strImage, Rect(button.rc), button.strTip, Flag(false) }.join(',');
}

QString ToggleEntry(const CButtonSpec& button)
{
    return QStringList { ButtonEntry(button), Flag(button.bChecked) }.join(',');
}

QString LabelEntry(const CLabelSpec& label, const CSkinPalette& palette)
{
    return QStringList { label.strName, Rect(label.rc), label.strText, FONT_FACE, QString::number(label.nPointSize),
                         Color(label.bDim ? palette.clrTextDim : palette.clrText) }
        .join(',');
}

QString ListColors(const CSkinPalette& palette)
{
    return QStringList { Color(FieldBackColor(palette)), Color(FieldTextColor(palette)),
                         Color(SelectionBackColor(palette)), Color(SelectionTextColor(palette)) }
        .join(',');
}

QString EditColors(const CSkinPalette& palette)
{
    return QStringList { Color(FieldBackColor(palette)), Color(FieldTextColor(palette)),
                         Color(FieldBorderColor(palette)) }
        .join(',');
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
        m_description.Single("Screen", "Main", "background.bmp");
        m_description.Single("TRANSPARENT", "COLOR", "0xFF00FF");
        AddPicture("icon.bmp", DrawAppIcon(m_palette, Under(m_layout.rcIcon)));
        m_description.Single("ICON", "ICON", "icon.bmp," + Rect(m_layout.rcIcon));
        m_description.Single("CAPTION", "CAPTION", LabelEntry(m_layout.caption, m_palette));
        m_description.Single("CONTROL", "CONTROL", Rect(m_layout.rcControl));
        AddNotifier();
        AddButtons();
        AddSlider();
        AddToggles("OPTIONINFO", m_layout.arrOptions);
        AddToggles("CHECKINFO", m_layout.arrChecks);
        QStringList arrLabels;
        for (const CLabelSpec& label : m_layout.arrLabels)
            arrLabels << LabelEntry(label, m_palette);
        m_description.List("LABELINFO", arrLabels);
        AddPicture("level_block.bmp", DrawProgressBlock(m_palette, m_layout.sizeProgressBlock));
        m_description.List("PROGRESSINFO", { QStringList { "PROGRESS_LEVEL", Rect(m_layout.rcProgress),
                                                           "level_block.bmp" }.join(',') });
        m_description.List("EDITBOXINFO", { QStringList { "EDIT_TITLE", Rect(m_layout.rcEdit),
                                                          EditColors(m_palette), "TRUE" }.join(',') });
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
        const CButtonSpec close = NotifierCloseButton();
        AddPicture(NOTIFIER_PICTURE, imgNotifier);
        AddPicture(close.strImage, DrawButtonStrip(m_palette, close, EButtonRole::ePush, imgNotifier.copy(close.rc)));
        m_description.List("TASKBARBUTTON", { ButtonEntry(close) });
        m_description.Single("TASKNOTIFIER", "PAGE", Rect(NotifierPageArea()));
    }

    void AddButtons()
    {
        QStringList arrEntries;
        for (const CButtonSpec& button : m_layout.arrButtons) {
            AddPicture(button.strImage, DrawButtonStrip(m_palette, button, EButtonRole::ePush, Under(button.rc)));
            arrEntries << ButtonEntry(button);
        }
        m_description.List("BUTTONINFO", arrEntries);
    }

    void AddToggles(const QString& strSection, const QList<CButtonSpec>& arrToggles)
    {
        QStringList arrEntries;
        for (const CButtonSpec& toggle : arrToggles) {
            AddPicture(toggle.strImage, DrawButtonStrip(m_palette, toggle, EButtonRole::eToggle, Under(toggle.rc)));
            arrEntries << ToggleEntry(toggle);
        }
        if (!arrEntries.isEmpty())
            m_description.List(strSection, arrEntries);
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
        m_description.List("SLIDERINFO", { QStringList { "SLIDER_PROGRESS", "slider_channel.bmp", "slider_thumb.bmp",
                                                         "slider_drag.bmp", Rect(rc), "H", "0", "Progress" }
                                               .join(',') });
    }

    void AddLists()
    {
        const QList<QImage> arrScroll = DrawScrollImages(m_palette, m_layout.nScrollWidth);
        for (int i = 0; i < arrScroll.size(); ++i)
            AddPicture(SCROLL_IMAGE_NAMES[i], arrScroll[i]);
        m_description.List("LISTBOXINFO", { QStringList { "LIST_RECENT", Rect(m_layout.rcList), ListColors(m_palette),
                                                          SCROLL_IMAGES }.join(',') });

        const QSize sizeArrow = m_layout.sizeComboArrow;
        const QRect rcArrowUnder(m_layout.rcCombo.left() + m_layout.rcCombo.width() - sizeArrow.width(),
                                 m_layout.rcCombo.top(), sizeArrow.width(), sizeArrow.height());
        AddPicture("combo_arrow.bmp", DrawComboArrowStrip(m_palette, sizeArrow, Under(rcArrowUnder)));
        m_description.List("COMBOBOXINFO", { QStringList { "COMBO_OUTPUT", Rect(m_layout.rcCombo), "combo_arrow.bmp",
                                                           EditColors(m_palette), ListColors(m_palette),
                                                           SCROLL_IMAGES }.join(',') });
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
