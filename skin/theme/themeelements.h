#pragma once
// The 42 theme elements (key, kind) and the built-in style table that gives every
// element a value in each of the five built-in looks, with the lookups on it.

#include <QColor>
#include <QImage>
#include <QString>
#include <QtGlobal>

#include "catalogue/skincatalogue.h"
#include "catalogue/tsuiuistyle.h"

// What an element holds. The key's last word says the same: "Image", "Int", "Bool",
// "Color".
enum class TsuiElementKind { Image, Integer, Boolean, Colour };

// Element numbers, for readable call sites: binding.color(TsuiElement::ControlBorderColor).
namespace TsuiElement {
enum : int {
    ButtonImage = 1,
    ButtonTransparentBool,
    CheckBoxImage,
    RadioButtonImage,
    TitleBarButtonImage,
    TitleBarButtonTransparentBool,
    TitleBarButtonLeftOffsetInt,
    TitleBarButtonRightOffsetInt,
    TitleBarButtonTopInt,
    TitleBarLeftImage,
    TitleBarClientImage,
    TitleBarRightImage,
    FormMinWidthInt,
    FormRoundCornerInt,
    FormBackgroundColor,
    FormBorderColor,
    FormBorderWidthInt,
    MenuSelectedBorderColor,
    MenuSelectedBackgroundColor,
    MenuSelectedFontColor,
    MenuBackgroundColor,
    MenuFontColor,
    MenuBarColor,
    ProgressBarImage,
    ControlBorderColor,
    ControlBackgroundColor,
    ControlFontColor,
    TrackBarBarImage,
    TrackBarSliderImage,
    TrackBarSliderVImage,
    ScrollBarBackgroundColor,
    ScrollBarButtonImage,
    ScrollBarSliderImage,
    CheckListBoxImage,
    ToolBarButtonBorderColor,
    ToolBarButtonBackgroundColor,
    ToolBarButtonDownBackgroundColor,
    ScrollButtonImage,
    TabControlTabImage,
    TabControlBarImage,
    SideChannelHandleImage,
    SideChannelBarImage,
};
} // namespace TsuiElement

// The non-image elements by kind, for the typed getters of SkinLook (skinlook.h). Values
// are the element numbers; the image elements are SkinImage (skincatalogue.h).
enum class SkinColor : int {
    FormBackground = 15,
    FormBorder = 16,
    MenuSelectedBorder = 18,
    MenuSelectedBackground = 19,
    MenuSelectedFont = 20,
    MenuBackground = 21,
    MenuFont = 22,
    MenuBar = 23,
    ControlBorder = 25,
    ControlBackground = 26,
    ControlFont = 27,
    ScrollBarBackground = 31,
    ToolBarButtonBorder = 35,
    ToolBarButtonBackground = 36,
    ToolBarButtonDownBackground = 37,
};
enum class SkinInt : int {
    TitleBarButtonLeftOffset = 7,
    TitleBarButtonRightOffset = 8,
    TitleBarButtonTop = 9,
    FormMinWidth = 13,
    FormRoundCorner = 14,
    FormBorderWidth = 17,
};
enum class SkinBool : int {
    ButtonTransparent = 2,
    TitleBarButtonTransparent = 6,
};

inline constexpr int kThemeElementCount = 42;
inline constexpr int kBuiltinStyleCount = 5; // MacOS .. BlueGlass

// Key and kind of element 1..42; nullptr key / Integer kind for any other number.
const char* ThemeElementKey(int element);
TsuiElementKind ThemeElementKind(int element);
// The element whose key matches `key` (case-insensitive), or 0.
int ThemeElementByKey(const QString& key);

// Resource prefix of a built-in style ("MACOS" ...); empty for anything else.
QString BuiltinStylePrefix(int style);
// Name of the bitmap resource of an image element in a built-in style
// ("MACOS_BUTTON", "MORE_SCROLLBUTTON"); empty for other kinds or styles.
QString BuiltinResourceName(int style, int element);

struct BuiltinValue {
    qint32 value;
    TsuiElementKind kind;
    QString resource; // image elements only
};

// The table lookups. `style` is an ordinal of TsuiUIStyle; it is reduced to its low 7
// bits first, and only 1..5 have values: anything else (FromThemeFile in particular)
// yields value -1 of kind Integer, as does an element outside 1..42.
BuiltinValue BuiltinElementValue(int style, int element);
// Value when the element is a colour, else 0.
qint32 BuiltinColor(int style, int element);
// Value when the element is an integer, else -1.
qint32 BuiltinInt(int style, int element);
// Value when the element is a boolean, else false.
bool BuiltinBool(int style, int element);
// Loads the element's bitmap resource into *bitmap when the element is an image and
// bitmap is not null; otherwise leaves it alone. Throws when the resource is missing.
void BuiltinBitmap(int style, int element, QImage* bitmap);
// As BuiltinBitmap; with frameCount > 0 only frame frameIndex (1-based) of frameCount.
void BuiltinBitmapFrame(int style, int element, QImage* bitmap, int frameCount, int frameIndex);

inline int StyleOrdinal(TsuiUIStyle style) {
    return static_cast<int>(style);
}

// A colour value 0x00BBGGRR (low byte red) as a QColor. The high byte is ignored.
QColor TsuiColorToQColor(quint32 value);
// And back: 0x00BBGGRR of a QColor.
quint32 QColorToTsuiColor(const QColor& color);
