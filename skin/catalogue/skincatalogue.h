#pragma once
// The one catalogue of the skin bitmaps: every image element with its resource name, pixel
// size per look, frame count and frame names, and the pictures loaded by name. The style
// table, the skin painter (tools/skinpainter), the tests and skin/resources/README.md all
// read it; nothing else lists names, sizes or frames.
//
// A strip holds equal frames side by side, frame 1 at the left. Each frame layout is an
// enum whose values are the 1-based frame numbers, so `ButtonFrame::Hover` is frame 2 of
// the three of "ButtonImage"; SkinFrameCount<ButtonFrame> is 3.

#include <QSize>
#include <QString>

#include <vector>

#include "catalogue/tsuiuistyle.h"

// The image elements of the style table, by element number.
enum class SkinImage : int {
    Button = 1,
    CheckBox = 3,
    RadioButton = 4,
    TitleBarButton = 5,
    TitleBarLeft = 10,
    TitleBarClient = 11,
    TitleBarRight = 12,
    ProgressBar = 24,
    TrackBarBar = 28,
    TrackBarSlider = 29,
    TrackBarSliderV = 30,
    ScrollBarButton = 32,
    ScrollBarSlider = 33,
    CheckListBox = 34,
    ScrollButton = 38,
    TabControlTab = 39,
    TabControlBar = 40,
    SideChannelHandle = 41,
    SideChannelBar = 42,
};
inline constexpr int kSkinImageCount = 19;

// The bitmaps loaded by name rather than through the style table.
enum class SkinPicture : int {
    MacOSComboBoxButton,   // "MACOS_COMBOBOX_BUTTON"
    WinXPComboBoxButton,   // "WINXP_COMBOBOX_BUTTON"
    MacOSFormBackground,   // "MACOS_FORM_BACKGROUND"
    ProteinFormBackground, // "PROTEIN_FORM_BACKGROUND"
    MacOSMenuBar,          // "MACOS_MENU_BAR"
    MacOSMenuSelect,       // "MACOS_MENU_SELECT"
    MenuChecked,           // "MENU_CHECKED"
    MessageIcons,          // "MSGDLG"
    MainIcon,              // "MAINICON"
};
inline constexpr int kSkinPictureCount = 9;

// Frame layouts. Values are frame numbers counted from 1.
enum class WholeFrame { Whole = 1 };
// Push button, track bar slider, scroll bar thumb, side channel handle. A disabled push
// button uses Normal.
enum class ButtonFrame { Normal = 1, Hover, Pressed };
// The six title-bar glyphs, three states each (see TitleButtonFrameOf).
enum class TitleButtonFrame {
    ControlBoxNormal = 1,
    ControlBoxHover,
    ControlBoxPressed,
    HelpNormal,
    HelpHover,
    HelpPressed,
    MaximizeNormal,
    MaximizeHover,
    MaximizePressed,
    RestoreNormal,
    RestoreHover,
    RestorePressed,
    MinimizeNormal,
    MinimizeHover,
    MinimizePressed,
    CloseNormal,
    CloseHover,
    ClosePressed,
};
enum class TitleGlyph { ControlBox, Help, Maximize, Restore, Minimize, Close };
constexpr TitleButtonFrame TitleButtonFrameOf(TitleGlyph glyph, ButtonFrame state) {
    return TitleButtonFrame(static_cast<int>(glyph) * 3 + static_cast<int>(state));
}
// Tabs: each frame is itself cut in three (left cap, stretched middle, right cap).
enum class TabFrame { Active = 1, Inactive };
enum class ScrollButtonFrame { Right = 1, RightHover, Left, LeftHover };
enum class CheckFrame { Unchecked = 1, Checked, UncheckedDisabled, CheckedDisabled };
enum class CheckListFrame { Unchecked = 1, Checked, Undecided, Disabled };
enum class ProgressFrame { Trough = 1, Filled };
// Left cap, stretched middle, right cap.
enum class SliceFrame { Left = 1, Middle, Right };
enum class ScrollBarButtonFrame {
    UpNormal = 1,
    UpHover,
    UpPressed,
    DownNormal,
    DownHover,
    DownPressed,
    LeftNormal,
    LeftHover,
    LeftPressed,
    RightNormal,
    RightHover,
    RightPressed,
};
enum class MessageIconFrame { Warning = 1, Stop, Information, Help };

template <typename Frame> inline constexpr int SkinFrameCount = 0;
template <> inline constexpr int SkinFrameCount<WholeFrame> = 1;
template <> inline constexpr int SkinFrameCount<ButtonFrame> = 3;
template <> inline constexpr int SkinFrameCount<TitleButtonFrame> = 18;
template <> inline constexpr int SkinFrameCount<TabFrame> = 2;
template <> inline constexpr int SkinFrameCount<ScrollButtonFrame> = 4;
template <> inline constexpr int SkinFrameCount<CheckFrame> = 4;
template <> inline constexpr int SkinFrameCount<CheckListFrame> = 4;
template <> inline constexpr int SkinFrameCount<ProgressFrame> = 2;
template <> inline constexpr int SkinFrameCount<SliceFrame> = 3;
template <> inline constexpr int SkinFrameCount<ScrollBarButtonFrame> = 12;
template <> inline constexpr int SkinFrameCount<MessageIconFrame> = 4;

// The frame layout of each image element and each picture.
template <SkinImage> struct SkinImageLayout;
template <SkinPicture> struct SkinPictureLayout { using Frame = WholeFrame; };
#define ZD7240_SKIN_LAYOUT(element, frame)                                                         \
    template <> struct SkinImageLayout<SkinImage::element> { using Frame = frame; };
ZD7240_SKIN_LAYOUT(Button, ButtonFrame)
ZD7240_SKIN_LAYOUT(CheckBox, CheckFrame)
ZD7240_SKIN_LAYOUT(RadioButton, CheckFrame)
ZD7240_SKIN_LAYOUT(TitleBarButton, TitleButtonFrame)
ZD7240_SKIN_LAYOUT(TitleBarLeft, WholeFrame)
ZD7240_SKIN_LAYOUT(TitleBarClient, WholeFrame)
ZD7240_SKIN_LAYOUT(TitleBarRight, WholeFrame)
ZD7240_SKIN_LAYOUT(ProgressBar, ProgressFrame)
ZD7240_SKIN_LAYOUT(TrackBarBar, SliceFrame)
ZD7240_SKIN_LAYOUT(TrackBarSlider, ButtonFrame)
ZD7240_SKIN_LAYOUT(TrackBarSliderV, ButtonFrame)
ZD7240_SKIN_LAYOUT(ScrollBarButton, ScrollBarButtonFrame)
ZD7240_SKIN_LAYOUT(ScrollBarSlider, ButtonFrame)
ZD7240_SKIN_LAYOUT(CheckListBox, CheckListFrame)
ZD7240_SKIN_LAYOUT(ScrollButton, ScrollButtonFrame)
ZD7240_SKIN_LAYOUT(TabControlTab, TabFrame)
ZD7240_SKIN_LAYOUT(TabControlBar, WholeFrame)
ZD7240_SKIN_LAYOUT(SideChannelHandle, ButtonFrame)
ZD7240_SKIN_LAYOUT(SideChannelBar, SliceFrame)
#undef ZD7240_SKIN_LAYOUT
template <> struct SkinPictureLayout<SkinPicture::MessageIcons> { using Frame = MessageIconFrame; };

template <SkinImage E> using SkinImageFrame = typename SkinImageLayout<E>::Frame;
template <SkinPicture P> using SkinPictureFrame = typename SkinPictureLayout<P>::Frame;

// Where a bitmap is fuchsia, i.e. which pixels the control that draws it leaves out.
enum class SkinKey {
    None,       // copied whole: no fuchsia anywhere
    Corners,    // drawn masked: the four corners of every frame are fuchsia
    TopCorners, // a tab: the top corners are fuchsia, the open bottom edge is not
    BottomLeft, // a title button drawn without its bottom-left colour: that pixel is fuchsia
};

// One bitmap resource of the program.
struct SkinResource {
    QString name; // the resource ":/skin/NAME.bmp"
    QSize size;   // pixel size of the whole strip
    int frames;   // equal frames side by side
    SkinKey key;  // fuchsia rule, per frame
    int element;  // the image element it serves (1..42), or 0 for a picture
    int picture;  // the SkinPicture it is, or -1 for an element's bitmap
};

// Every bitmap resource, each name once: the 19 image elements of the five looks (93
// names, the scroll buttons of DeepBlue, Protein and BlueGlass being the one shared
// "MORE_SCROLLBUTTON"), then the nine pictures.
const std::vector<SkinResource>& SkinResources();

// The catalogue entry of a resource name, or nullptr.
const SkinResource* FindSkinResource(const QString& name);

// The image elements in element order.
const std::vector<SkinImage>& SkinImages();

// Resource name of an image element in a built-in look ("MACOS_BUTTON",
// "MORE_SCROLLBUTTON"); empty for FromThemeFile.
QString SkinResourceName(TsuiUIStyle look, SkinImage element);
// Name of the resource suffix of an element ("BUTTON", "SCROLLBUTTON").
const char* SkinImageSuffix(SkinImage element);
// Name of a picture ("MSGDLG").
QString SkinPictureName(SkinPicture picture);

// Frame count of an element or picture.
int SkinImageFrames(SkinImage element);
int SkinPictureFrames(SkinPicture picture);
// Size of one frame of the element's bitmap in a built-in look.
QSize SkinImageFrameSize(TsuiUIStyle look, SkinImage element);
// Size of one frame of the blank strip that stands in for a bitmap that is missing or
// damaged: 74 x 21 for the push button, otherwise the frame size of the fallback look
// (DeepBlue).
QSize SkinFallbackFrameSize(SkinImage element);
QSize SkinPictureFallbackFrameSize(SkinPicture picture);

// The catalogue as the Markdown tables of skin/resources/README.md (between its
// "catalogue" markers).
QString SkinCatalogueMarkdown();
