#include "theme/themeelements.h"

#include <array>

#include "drawing/drawingoperations.h"
#include "drawing/skinbitmaps.h"

namespace {

using K = TsuiElementKind;

// One row per element, in element order. Non-image rows hold the value per built-in style
// in the order MacOS, WinXP, DeepBlue, Protein, BlueGlass; image rows hold none (their
// resource names, sizes and frames are in the skin catalogue).
struct ElementRow {
    int element;
    const char* key;
    TsuiElementKind kind;
    std::array<qint32, kBuiltinStyleCount> values;
};

constexpr std::array<ElementRow, kThemeElementCount> kTable{{
    {1, "ButtonImage", K::Image, {}},
    {2, "ButtonTransparentBool", K::Boolean, {1, 0, 0, 0, 1}},
    {3, "CheckBoxImage", K::Image, {}},
    {4, "RadioButtonImage", K::Image, {}},
    {5, "TitleBarButtonImage", K::Image, {}},
    {6, "TitleBarButtonTransparentBool", K::Boolean, {0, 0, 0, 1, 1}},
    {7, "TitleBarButtonLeftOffsetInt", K::Integer, {3, 2, 0, 0, 4}},
    {8, "TitleBarButtonRightOffsetInt", K::Integer, {-2, -2, 0, 0, -3}},
    {9, "TitleBarButtonTopInt", K::Integer, {4, 5, 2, 2, 6}},
    {10, "TitleBarLeftImage", K::Image, {}},
    {11, "TitleBarClientImage", K::Image, {}},
    {12, "TitleBarRightImage", K::Image, {}},
    {13, "FormMinWidthInt", K::Integer, {130, 150, 130, 130, 270}},
    {14, "FormRoundCornerInt", K::Integer, {0, 13, 0, 0, 11}},
    {15, "FormBackgroundColor", K::Colour, {0xE7E7E7, 0xDEEBEF, 0xE8E8E8, 0xFBFBFB, 0xE7E7E7}},
    {16, "FormBorderColor", K::Colour, {0x7F7F7F, 0xC82C00, 0x000000, 0x000000, 0x000000}},
    {17, "FormBorderWidthInt", K::Integer, {1, 3, 1, 1, 1}},
    {18, "MenuSelectedBorderColor", K::Colour, {0xC47339, 0xC66931, 0xA04A44, 0xC4302D, 0xEC5E5E}},
    {19,
     "MenuSelectedBackgroundColor",
     K::Colour,
     {0xC47339, 0xEFD3C6, 0xA04A44, 0xC4302D, 0xEC5E5E}},
    {20, "MenuSelectedFontColor", K::Colour, {0xFFFFFF, 0x000000, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF}},
    {21, "MenuBackgroundColor", K::Colour, {0x000000, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xE7E7E7}},
    {22, "MenuFontColor", K::Colour, {0x000000, 0x000000, 0x000000, 0x000000, 0x000000}},
    {23, "MenuBarColor", K::Colour, {0x000000, 0xCED3D6, 0xCED3D6, 0xCED3D6, 0xCED3D6}},
    {24, "ProgressBarImage", K::Image, {}},
    {25, "ControlBorderColor", K::Colour, {0x7F7F7F, 0x686868, 0x000000, 0x000000, 0x000000}},
    {26, "ControlBackgroundColor", K::Colour, {0xE7E7E7, 0xDEEBEF, 0xE8E8E8, 0xFBFBFB, 0xE7E7E7}},
    {27, "ControlFontColor", K::Colour, {0x000000, 0xCF4602, 0x000000, 0x000000, 0x000000}},
    {28, "TrackBarBarImage", K::Image, {}},
    {29, "TrackBarSliderImage", K::Image, {}},
    {30, "TrackBarSliderVImage", K::Image, {}},
    {31, "ScrollBarBackgroundColor", K::Colour, {0xC9C9C9, 0xF9F9F9, 0xF5F5F5, 0xF5F5F5, 0xF4F4F4}},
    {32, "ScrollBarButtonImage", K::Image, {}},
    {33, "ScrollBarSliderImage", K::Image, {}},
    {34, "CheckListBoxImage", K::Image, {}},
    {35, "ToolBarButtonBorderColor", K::Colour, {0x474747, 0xC66931, 0x474747, 0x474747, 0x474747}},
    {36,
     "ToolBarButtonBackgroundColor",
     K::Colour,
     {0xEFEFEF, 0xEFD3C6, 0xEFEFEF, 0xEFEFEF, 0xEFEFEF}},
    {37,
     "ToolBarButtonDownBackgroundColor",
     K::Colour,
     {0xD8D8D8, 0xE1AC93, 0xD8D8D8, 0xD8D8D8, 0xD8D8D8}},
    {38, "ScrollButtonImage", K::Image, {}},
    {39, "TabControlTabImage", K::Image, {}},
    {40, "TabControlBarImage", K::Image, {}},
    {41, "SideChannelHandleImage", K::Image, {}},
    {42, "SideChannelBarImage", K::Image, {}},
}};

static_assert(kTable.size() == kThemeElementCount);
static_assert(static_cast<int>(TsuiUIStyle::BlueGlass) == kBuiltinStyleCount);
static_assert(TsuiElement::SideChannelBarImage == kThemeElementCount);

constexpr bool RowsInElementOrder() {
    for (std::size_t i = 0; i < kTable.size(); ++i) {
        if (kTable[i].element != static_cast<int>(i) + 1)
            return false;
    }
    return true;
}
static_assert(RowsInElementOrder());

// Every typed element enumerator names an element of its kind, and every element of a
// kind has an enumerator (counted per kind).
constexpr bool KindIs(int element, TsuiElementKind kind) {
    return element >= 1 && element <= kThemeElementCount &&
           kTable[static_cast<std::size_t>(element - 1)].kind == kind;
}
constexpr int CountOfKind(TsuiElementKind kind) {
    int n = 0;
    for (const ElementRow& row : kTable)
        n += row.kind == kind;
    return n;
}
constexpr bool TypedEnumsMatchTable() {
    for (SkinColor c :
         {SkinColor::FormBackground, SkinColor::FormBorder, SkinColor::MenuSelectedBorder,
          SkinColor::MenuSelectedBackground, SkinColor::MenuSelectedFont, SkinColor::MenuBackground,
          SkinColor::MenuFont, SkinColor::MenuBar, SkinColor::ControlBorder,
          SkinColor::ControlBackground, SkinColor::ControlFont, SkinColor::ScrollBarBackground,
          SkinColor::ToolBarButtonBorder, SkinColor::ToolBarButtonBackground,
          SkinColor::ToolBarButtonDownBackground}) {
        if (!KindIs(static_cast<int>(c), K::Colour))
            return false;
    }
    for (SkinInt i : {SkinInt::TitleBarButtonLeftOffset, SkinInt::TitleBarButtonRightOffset,
                      SkinInt::TitleBarButtonTop, SkinInt::FormMinWidth, SkinInt::FormRoundCorner,
                      SkinInt::FormBorderWidth}) {
        if (!KindIs(static_cast<int>(i), K::Integer))
            return false;
    }
    for (SkinImage e :
         {SkinImage::Button, SkinImage::CheckBox, SkinImage::RadioButton, SkinImage::TitleBarButton,
          SkinImage::TitleBarLeft, SkinImage::TitleBarClient, SkinImage::TitleBarRight,
          SkinImage::ProgressBar, SkinImage::TrackBarBar, SkinImage::TrackBarSlider,
          SkinImage::TrackBarSliderV, SkinImage::ScrollBarButton, SkinImage::ScrollBarSlider,
          SkinImage::CheckListBox, SkinImage::ScrollButton, SkinImage::TabControlTab,
          SkinImage::TabControlBar, SkinImage::SideChannelHandle, SkinImage::SideChannelBar}) {
        if (!KindIs(static_cast<int>(e), K::Image))
            return false;
    }
    for (SkinBool b : {SkinBool::ButtonTransparent, SkinBool::TitleBarButtonTransparent}) {
        if (!KindIs(static_cast<int>(b), K::Boolean))
            return false;
    }
    return CountOfKind(K::Colour) == 15 && CountOfKind(K::Integer) == 6 &&
           CountOfKind(K::Boolean) == 2 && CountOfKind(K::Image) == kSkinImageCount;
}
static_assert(TypedEnumsMatchTable());

const ElementRow* Row(int element) {
    if (element < 1 || element > kThemeElementCount)
        return nullptr;
    return &kTable[static_cast<std::size_t>(element - 1)];
}

// The built-in style of an ordinal after the reduction to 7 bits, or 0 for none.
int BuiltinStyle(int style) {
    const int reduced = style & 0x7F;
    return reduced >= 1 && reduced <= kBuiltinStyleCount ? reduced : 0;
}

} // namespace

const char* ThemeElementKey(int element) {
    const ElementRow* row = Row(element);
    return row ? row->key : nullptr;
}

TsuiElementKind ThemeElementKind(int element) {
    const ElementRow* row = Row(element);
    return row ? row->kind : K::Integer;
}

int ThemeElementByKey(const QString& key) {
    for (const ElementRow& row : kTable) {
        if (key.compare(QLatin1String(row.key), Qt::CaseInsensitive) == 0)
            return row.element;
    }
    return 0;
}

QString BuiltinStylePrefix(int style) {
    switch (BuiltinStyle(style)) {
    case 1:
        return QStringLiteral("MACOS");
    case 2:
        return QStringLiteral("WINXP");
    case 3:
        return QStringLiteral("DEEPBLUE");
    case 4:
        return QStringLiteral("PROTEIN");
    case 5:
        return QStringLiteral("BLUEGLASS");
    default:
        return {};
    }
}

QString BuiltinResourceName(int style, int element) {
    const ElementRow* row = Row(element);
    const int builtin = BuiltinStyle(style);
    if (!row || row->kind != K::Image || builtin == 0)
        return {};
    return SkinResourceName(static_cast<TsuiUIStyle>(builtin), static_cast<SkinImage>(element));
}

BuiltinValue BuiltinElementValue(int style, int element) {
    const ElementRow* row = Row(element);
    const int builtin = BuiltinStyle(style);
    if (!row || builtin == 0)
        return {-1, K::Integer, {}};
    if (row->kind == K::Image)
        return {0, K::Image, BuiltinResourceName(builtin, element)};
    return {row->values[static_cast<std::size_t>(builtin - 1)], row->kind, {}};
}

qint32 BuiltinColor(int style, int element) {
    const BuiltinValue v = BuiltinElementValue(style, element);
    return v.kind == K::Colour ? v.value : 0;
}

qint32 BuiltinInt(int style, int element) {
    const BuiltinValue v = BuiltinElementValue(style, element);
    return v.kind == K::Integer ? v.value : -1;
}

bool BuiltinBool(int style, int element) {
    const BuiltinValue v = BuiltinElementValue(style, element);
    return v.kind == K::Boolean ? v.value != 0 : false;
}

void BuiltinBitmap(int style, int element, QImage* bitmap) {
    if (!bitmap)
        return;
    const BuiltinValue v = BuiltinElementValue(style, element);
    if (v.kind != K::Image)
        return;
    *bitmap = LoadSkinBitmap(v.resource);
}

void BuiltinBitmapFrame(int style, int element, QImage* bitmap, int frameCount, int frameIndex) {
    if (!bitmap)
        return;
    if (frameCount == 0) {
        BuiltinBitmap(style, element, bitmap);
        return;
    }
    const BuiltinValue v = BuiltinElementValue(style, element);
    if (v.kind != K::Image)
        return;
    *bitmap = ExtractBitmapFrame(LoadSkinBitmap(v.resource), frameCount, frameIndex);
}

QColor TsuiColorToQColor(quint32 value) {
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

quint32 QColorToTsuiColor(const QColor& color) {
    return quint32(color.red()) | (quint32(color.green()) << 8) | (quint32(color.blue()) << 16);
}
