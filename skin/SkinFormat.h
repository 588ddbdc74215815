#pragma once

#include <span>

#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>

class CIniFile;

// The one description of Skin.ini: every section the program reads, its key
// (or a numbered control list), and what each comma-separated field holds.
// The window's factory, skintool check, the description fuzzer, the package
// tests and the skin art generator all read and write entries through it, so
// a field added here reaches all of them at once.
namespace SkinFormat {

enum class EField {
    eName,        // the name the program acts on ("BUTTON_PLAY")
    eText,        // shown text, tooltip or font face
    eNumber,      // a point size or a position
    eCoordinate,  // one of left, top, right, bottom; they always come as four
    eImage,       // a picture file in the skin folder
    eColor,       // 0xRRGGBB
    eFlag,        // TRUE or FALSE
    eOrientation, // H or V
};

struct CSectionFormat
{
    const char* pszSection;
    const char* pszKey; // nullptr for a numbered control list, keys "1", "2", ...
    std::span<const EField> arrFields;

    QString Section() const { return QString::fromLatin1(pszSection); }
    QString Key() const { return QString::fromLatin1(pszKey); }
    bool IsControlList() const { return pszKey == nullptr; }
    int FieldCount() const { return int(arrFields.size()); }
    // Positions (0-based) of the fields of one kind, in entry order.
    QList<int> FieldsOf(EField eKind) const;
};

namespace Detail {

using enum EField;

inline constexpr EField BACKGROUND[] = { eImage };
inline constexpr EField KEY_COLOR[] = { eColor };
inline constexpr EField ICON[] = { eImage, eCoordinate, eCoordinate, eCoordinate, eCoordinate };
inline constexpr EField RECT[] = { eCoordinate, eCoordinate, eCoordinate, eCoordinate };
inline constexpr EField LABEL[] = { eName, eCoordinate, eCoordinate, eCoordinate, eCoordinate,
                                    eText, eText,       eNumber,     eColor };
// The last flag latches the button down when clicked.
inline constexpr EField BUTTON[] = { eName, eImage, eCoordinate, eCoordinate, eCoordinate, eCoordinate, eText, eFlag };
// A button's fields, then whether it starts checked.
inline constexpr EField STATE_BUTTON[] = { eName,       eImage, eCoordinate, eCoordinate, eCoordinate,
                                           eCoordinate, eText,  eFlag,       eFlag };
// Images: channel, thumb, thumb while dragged; then orientation, position
// and tooltip.
inline constexpr EField SLIDER[] = { eName,       eImage,      eImage,       eImage,  eCoordinate, eCoordinate,
                                     eCoordinate, eCoordinate, eOrientation, eNumber, eText };
inline constexpr EField PROGRESS[] = { eName, eCoordinate, eCoordinate, eCoordinate, eCoordinate, eImage };
// Colours: background, text, border; the flag enables typing.
inline constexpr EField EDIT[] = { eName,  eCoordinate, eCoordinate, eCoordinate, eCoordinate,
                                   eColor, eColor,      eColor,      eFlag };
// Colours: item background and text, selected item background and text;
// then the seven scroll bar images.
inline constexpr EField LIST_BOX[] = { eName,  eCoordinate, eCoordinate, eCoordinate, eCoordinate, eColor,
                                       eColor, eColor,      eColor,      eImage,      eImage,      eImage,
                                       eImage, eImage,      eImage,      eImage };
// The drop arrow's image; colours: edit background, text and border, then
// the list's four as LISTBOXINFO has them; then the seven scroll images.
inline constexpr EField COMBO_BOX[] = { eName,  eCoordinate, eCoordinate, eCoordinate, eCoordinate, eImage, eColor,
                                        eColor, eColor,      eColor,      eColor,      eColor,      eColor, eImage,
                                        eImage, eImage,      eImage,      eImage,      eImage,      eImage };

} // namespace Detail

inline constexpr CSectionFormat BACKGROUND = { "Screen", "Main", Detail::BACKGROUND };
// The colour that stands for "no pixel" in every picture of the skin.
inline constexpr CSectionFormat KEY_COLOR = { "TRANSPARENT", "COLOR", Detail::KEY_COLOR };
inline constexpr CSectionFormat ICON = { "ICON", "ICON", Detail::ICON };
inline constexpr CSectionFormat CAPTION = { "CAPTION", "CAPTION", Detail::LABEL };
// Where the recorder preview sits.
inline constexpr CSectionFormat CONTROL = { "CONTROL", "CONTROL", Detail::RECT };
// Where the notifier's web page lies on the notifier picture.
inline constexpr CSectionFormat NOTIFIER_PAGE = { "TASKNOTIFIER", "PAGE", Detail::RECT };
inline constexpr CSectionFormat BUTTONS = { "BUTTONINFO", nullptr, Detail::BUTTON };
inline constexpr CSectionFormat TASK_BUTTONS = { "TASKBARBUTTON", nullptr, Detail::BUTTON };
inline constexpr CSectionFormat SLIDERS = { "SLIDERINFO", nullptr, Detail::SLIDER };
inline constexpr CSectionFormat OPTIONS = { "OPTIONINFO", nullptr, Detail::STATE_BUTTON };
inline constexpr CSectionFormat CHECKS = { "CHECKINFO", nullptr, Detail::STATE_BUTTON };
inline constexpr CSectionFormat LABELS = { "LABELINFO", nullptr, Detail::LABEL };
inline constexpr CSectionFormat PROGRESSES = { "PROGRESSINFO", nullptr, Detail::PROGRESS };
inline constexpr CSectionFormat EDITS = { "EDITBOXINFO", nullptr, Detail::EDIT };
inline constexpr CSectionFormat LIST_BOXES = { "LISTBOXINFO", nullptr, Detail::LIST_BOX };
inline constexpr CSectionFormat COMBO_BOXES = { "COMBOBOXINFO", nullptr, Detail::COMBO_BOX };

// Single values first, then the control lists, in the order the window
// reads them.
inline constexpr const CSectionFormat* SECTIONS[] = {
    &BACKGROUND, &KEY_COLOR, &ICON,   &CAPTION, &CONTROL,    &NOTIFIER_PAGE, &BUTTONS,    &TASK_BUTTONS,
    &SLIDERS,    &OPTIONS,   &CHECKS, &LABELS,  &PROGRESSES, &EDITS,         &LIST_BOXES, &COMBO_BOXES,
};

// Every field of an entry, cut the way the window cuts them: missing
// trailing fields repeat the last one that is there.
QStringList CutFields(const CSectionFormat& format, QString strValue);

// The rectangle of an entry as the window reads it, whatever fields come
// before its four coordinates; the section must have them.
QRect RectOf(const CSectionFormat& format, const QString& strValue);

// The one value of a section that is not a control list; empty when absent.
QString SingleValue(const CIniFile& ini, const CSectionFormat& format);

// Reads an entry field by field in the order its section lays them out.
// Asking for a kind the table does not have at that place is a mistake in
// the program, not in the skin, so it stops the program: Q_ASSERT would be
// compiled out of the builds the tests run.
class CEntryReader
{
public:
    CEntryReader(const CSectionFormat& format, const QString& strValue);

    QString Take(EField eKind);
    // Four coordinates as a rectangle whose right and bottom edges are
    // exclusive.
    QRect TakeRect();
    // The kind of the field Take reads next; there must be one.
    EField NextKind() const;

private:
    const CSectionFormat& m_format;
    QString m_strRest;
    int m_nNext = 0;
};

// Puts an entry together field by field, checked against the table the same
// way CEntryReader is.
class CEntryWriter
{
public:
    explicit CEntryWriter(const CSectionFormat& format);

    CEntryWriter& Put(EField eKind, const QString& strField);
    // Left, top, right, bottom with right and bottom exclusive.
    CEntryWriter& PutRect(const QRect& rc);
    // The entry; every field of the section must have been put.
    QString Value() const;

private:
    const CSectionFormat& m_format;
    QStringList m_arrFields;
};

} // namespace SkinFormat
