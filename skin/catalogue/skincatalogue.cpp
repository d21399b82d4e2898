#include "catalogue/skincatalogue.h"

#include <array>

namespace {

constexpr int kLooks = 5; // MacOS .. BlueGlass, in ordinal order

struct Size {
    int width;
    int height;
};

using K = SkinKey;

struct ImageRow {
    SkinImage element;
    int frames;
    const char* suffix;
    const char* frameNames;
    std::array<Size, kLooks> sizes;
    std::array<SkinKey, kLooks> keys;
    bool usedByProgram; // read by a control of this program (else only theme files use it)
    const char* notes;
};

template <SkinImage E> constexpr int FramesOf() {
    return SkinFrameCount<SkinImageFrame<E>>;
}
template <SkinPicture P> constexpr int PictureFramesOf() {
    return SkinFrameCount<SkinPictureFrame<P>>;
}

constexpr std::array<Size, kLooks> Every(Size size) {
    return {size, size, size, size, size};
}
constexpr std::array<SkinKey, kLooks> Every(SkinKey key) {
    return {key, key, key, key, key};
}

#define ROW(E) SkinImage::E, FramesOf<SkinImage::E>()

constexpr std::array<ImageRow, kSkinImageCount> kImages{{
    {ROW(Button),
     "BUTTON",
     "normal, mouse over, pressed",
     {{{252, 23}, {54, 21}, {222, 21}, {222, 21}, {231, 27}}},
     {K::Corners, K::None, K::None, K::None, K::Corners},
     true,
     "Stretched from the middle row and column. Corners fuchsia in MacOS and BlueGlass "
     "(drawn masked); the other looks draw corners whole, so theirs are painted on the "
     "window colour"},
    {ROW(CheckBox), "CHECKBOX", "unchecked, checked, unchecked disabled, checked disabled",
     Every(Size{52, 13}), Every(K::None), false, ""},
    {ROW(RadioButton), "RADIOBUTTON", "unchecked, checked, unchecked disabled, checked disabled",
     Every(Size{52, 13}), Every(K::Corners), false, "Fuchsia outside the circle"},
    {ROW(TitleBarButton),
     "TITLEBTN",
     "control box, help, maximize, restore, minimize, close, each as normal, mouse over, "
     "pressed",
     {{{306, 17}, {378, 21}, {342, 19}, {342, 19}, {342, 19}}},
     {K::None, K::None, K::None, K::BottomLeft, K::BottomLeft},
     true,
     "Protein and BlueGlass buttons leave out their bottom-left colour, so their background "
     "is fuchsia; the others are drawn whole and carry the caption colours behind them"},
    {ROW(TitleBarLeft),
     "TITLE_LEFT",
     "the left end of the caption bar",
     {{{48, 23}, {30, 29}, {40, 32}, {40, 23}, {40, 33}}},
     Every(K::None),
     true,
     "Copied unscaled; its height is the caption bar's"},
    {ROW(TitleBarClient),
     "TITLE_CLIENT",
     "the caption bar between the ends",
     {{{49, 23}, {10, 29}, {10, 32}, {10, 23}, {10, 33}}},
     Every(K::None),
     true,
     "Stretched between left and right"},
    {ROW(TitleBarRight),
     "TITLE_RIGHT",
     "the right end of the caption bar",
     {{{48, 23}, {30, 29}, {40, 32}, {40, 23}, {40, 33}}},
     Every(K::None),
     true,
     "Copied unscaled"},
    {ROW(ProgressBar), "PROGRESSBAR", "empty trough, filled part", Every(Size{20, 16}),
     Every(K::None), false, "Both stretched"},
    {ROW(TrackBarBar), "TRACKBAR_BAR", "left cap, stretched middle, right cap of the groove",
     Every(Size{15, 6}), Every(K::None), false, ""},
    {ROW(TrackBarSlider), "TRACKBAR_SLIDER", "normal, mouse over, pressed", Every(Size{33, 19}),
     Every(K::Corners), false, "Pointing down, fuchsia around"},
    {ROW(TrackBarSliderV), "TRACKBAR_SLIDER_V", "normal, mouse over, pressed", Every(Size{57, 11}),
     Every(K::Corners), false, "Pointing right, fuchsia around"},
    {ROW(ScrollBarButton), "SCROLLBAR_BUTTON",
     "up, down, left, right, each normal, mouse over, pressed", Every(Size{192, 16}),
     Every(K::None), false, ""},
    {ROW(ScrollBarSlider), "SCROLLBAR_TRACK", "the thumb normal, mouse over, pressed",
     Every(Size{48, 16}), Every(K::Corners), false, "Stretched from the middle, fuchsia corners"},
    {ROW(CheckListBox), "CHECKLIST", "unchecked, checked, undecided, disabled", Every(Size{52, 13}),
     Every(K::None), false, ""},
    {ROW(ScrollButton),
     "SCROLLBUTTON",
     "right, right mouse over, left, left mouse over",
     {{{72, 18}, {72, 18}, {72, 17}, {72, 17}, {72, 17}}},
     Every(K::None),
     true,
     "Drawn whole; DeepBlue, Protein and BlueGlass share `MORE_SCROLLBUTTON`"},
    {ROW(TabControlTab),
     "TAB",
     "active, inactive",
     {{{36, 27}, {18, 18}, {12, 17}, {18, 17}, {18, 17}}},
     Every(K::TopCorners),
     true,
     "Each frame cut in three (left cap, stretched middle, right cap). Top corners "
     "fuchsia, bottom open"},
    {ROW(TabControlBar),
     "TAB_LINE",
     "the line under the tabs",
     {{{17, 7}, {8, 1}, {5, 5}, {10, 5}, {10, 5}}},
     Every(K::None),
     true,
     "Stretched under the tabs; all columns equal"},
    {ROW(SideChannelHandle), "SIDECHENNEL_HANDLE", "normal, mouse over, pressed",
     Every(Size{36, 60}), Every(K::None), false, ""},
    {ROW(SideChannelBar), "SIDECHENNEL_BAR", "left cap, stretched middle, right cap",
     Every(Size{30, 22}), Every(K::None), false, ""},
}};
#undef ROW

struct PictureRow {
    SkinPicture picture;
    int frames;
    const char* name;
    Size size;
    SkinKey key;
    const char* content;
};

#define PIC(P) SkinPicture::P, PictureFramesOf<SkinPicture::P>()
constexpr std::array<PictureRow, kSkinPictureCount> kPictures{{
    {PIC(MacOSComboBoxButton),
     "MACOS_COMBOBOX_BUTTON",
     {16, 17},
     K::None,
     "combo box button face (the control draws the arrow on it)"},
    {PIC(WinXPComboBoxButton),
     "WINXP_COMBOBOX_BUTTON",
     {16, 18},
     K::None,
     "combo box button with its own arrow"},
    {PIC(MacOSFormBackground),
     "MACOS_FORM_BACKGROUND",
     {8, 8},
     K::None,
     "window background tile (pinstripes averaging 0xE7E7E7)"},
    {PIC(ProteinFormBackground),
     "PROTEIN_FORM_BACKGROUND",
     {8, 8},
     K::None,
     "window background tile (near white, averaging 0xFBFBFB)"},
    {PIC(MacOSMenuBar),
     "MACOS_MENU_BAR",
     {1, 22},
     K::None,
     "menu bar texture; menus use its top 20 (items) or 12 (separators) rows"},
    {PIC(MacOSMenuSelect),
     "MACOS_MENU_SELECT",
     {1, 21},
     K::None,
     "selected menu entry and hot menu bar button"},
    {PIC(MenuChecked),
     "MENU_CHECKED",
     {16, 16},
     K::None,
     "menu check mark on white (menus take white as transparent)"},
    {PIC(MessageIcons),
     "MSGDLG",
     {168, 42},
     K::Corners,
     "message icons: warning, stop, information, help; fuchsia around"},
    {PIC(MainIcon),
     "MAINICON",
     {32, 32},
     K::Corners,
     "program icon, fuchsia around the rounded tile; reads at 16 x 16"},
}};
#undef PIC

constexpr bool CatalogueIsConsistent() {
    for (std::size_t i = 0; i < kImages.size(); ++i) {
        const ImageRow& row = kImages[i];
        if (i > 0 && static_cast<int>(row.element) <= static_cast<int>(kImages[i - 1].element))
            return false; // element order
        for (const Size& s : row.sizes) {
            if (s.width % row.frames != 0 || s.height <= 0)
                return false; // frames are cut by integer division
        }
    }
    // The shared scroll button has one size in the three looks that share it.
    const ImageRow& scroll = kImages[14];
    if (scroll.element != SkinImage::ScrollButton ||
        scroll.sizes[2].width != scroll.sizes[3].width ||
        scroll.sizes[2].height != scroll.sizes[4].height)
        return false;
    for (std::size_t i = 0; i < kPictures.size(); ++i) {
        if (static_cast<int>(kPictures[i].picture) != static_cast<int>(i) ||
            kPictures[i].size.width % kPictures[i].frames != 0)
            return false;
    }
    return true;
}
static_assert(CatalogueIsConsistent());

const ImageRow& Row(SkinImage element) {
    for (const ImageRow& row : kImages) {
        if (row.element == element)
            return row;
    }
    return kImages[0]; // unreachable: every enumerator has a row
}

int LookIndex(TsuiUIStyle look) {
    const int ordinal = static_cast<int>(look);
    return ordinal >= 1 && ordinal <= kLooks ? ordinal - 1 : -1;
}

QString Prefix(int lookIndex) {
    static const char* const kPrefixes[kLooks] = {"MACOS", "WINXP", "DEEPBLUE", "PROTEIN",
                                                  "BLUEGLASS"};
    return QLatin1String(kPrefixes[lookIndex]);
}

QString NameAt(int lookIndex, const ImageRow& row) {
    // The scroll button of the three darker looks is one shared bitmap.
    if (row.element == SkinImage::ScrollButton && lookIndex >= 2)
        return QStringLiteral("MORE_SCROLLBUTTON");
    return Prefix(lookIndex) + QLatin1Char('_') + QLatin1String(row.suffix);
}

QString SizeText(Size s) {
    return QStringLiteral("%1 x %2").arg(s.width).arg(s.height);
}

QString FramesText(int frames, const char* names, const char* notes) {
    QString text = QStringLiteral("%1: %2").arg(frames).arg(QLatin1String(names));
    if (*notes)
        text += QStringLiteral(". ") + QLatin1String(notes);
    return text;
}

} // namespace

const std::vector<SkinResource>& SkinResources() {
    static const std::vector<SkinResource> resources = [] {
        std::vector<SkinResource> out;
        for (int look = 0; look < kLooks; ++look) {
            for (const ImageRow& row : kImages) {
                const QString name = NameAt(look, row);
                if (row.element == SkinImage::ScrollButton && look > 2)
                    continue; // the shared one is listed with DeepBlue
                const Size s = row.sizes[static_cast<std::size_t>(look)];
                out.push_back({name, QSize(s.width, s.height), row.frames,
                               row.keys[static_cast<std::size_t>(look)],
                               static_cast<int>(row.element), -1});
            }
        }
        for (const PictureRow& row : kPictures) {
            out.push_back({QLatin1String(row.name), QSize(row.size.width, row.size.height),
                           row.frames, row.key, 0, static_cast<int>(row.picture)});
        }
        return out;
    }();
    return resources;
}

const SkinResource* FindSkinResource(const QString& name) {
    for (const SkinResource& resource : SkinResources()) {
        if (resource.name == name)
            return &resource;
    }
    return nullptr;
}

const std::vector<SkinImage>& SkinImages() {
    static const std::vector<SkinImage> images = [] {
        std::vector<SkinImage> out;
        for (const ImageRow& row : kImages)
            out.push_back(row.element);
        return out;
    }();
    return images;
}

QString SkinResourceName(TsuiUIStyle look, SkinImage element) {
    const int index = LookIndex(look);
    return index < 0 ? QString() : NameAt(index, Row(element));
}

const char* SkinImageSuffix(SkinImage element) {
    return Row(element).suffix;
}

QString SkinPictureName(SkinPicture picture) {
    return QLatin1String(kPictures[static_cast<std::size_t>(picture)].name);
}

int SkinImageFrames(SkinImage element) {
    return Row(element).frames;
}

int SkinPictureFrames(SkinPicture picture) {
    return kPictures[static_cast<std::size_t>(picture)].frames;
}

QSize SkinImageFrameSize(TsuiUIStyle look, SkinImage element) {
    const int index = LookIndex(look);
    if (index < 0)
        return {};
    const ImageRow& row = Row(element);
    const Size s = row.sizes[static_cast<std::size_t>(index)];
    return QSize(s.width / row.frames, s.height);
}

QSize SkinFallbackFrameSize(SkinImage element) {
    // A push button whose bitmap cannot be loaded paints on a blank 74 x 21 state bitmap.
    if (element == SkinImage::Button)
        return QSize(74, 21);
    return SkinImageFrameSize(TsuiUIStyle::DeepBlue, element);
}

QSize SkinPictureFallbackFrameSize(SkinPicture picture) {
    const PictureRow& row = kPictures[static_cast<std::size_t>(picture)];
    return QSize(row.size.width / row.frames, row.size.height);
}

QString SkinCatalogueMarkdown() {
    QString md;
    const auto elementTable = [&md](bool used) {
        md += QStringLiteral("| Element | MacOS | WinXP | DeepBlue | Protein | BlueGlass | "
                             "Frames |\n|---|---|---|---|---|---|---|\n");
        for (const ImageRow& row : kImages) {
            if (row.usedByProgram != used)
                continue;
            md += QStringLiteral("| %1 |").arg(QLatin1String(row.suffix));
            for (int look = 0; look < kLooks; ++look) {
                const QString size = SizeText(row.sizes[static_cast<std::size_t>(look)]);
                if (row.element == SkinImage::ScrollButton && look >= 2)
                    md += QStringLiteral(" `MORE_SCROLLBUTTON` %1 |").arg(size);
                else
                    md += QStringLiteral(" %1 |").arg(size);
            }
            md += QStringLiteral(" %1 |\n").arg(FramesText(row.frames, row.frameNames, row.notes));
        }
    };
    md += QStringLiteral("### Elements the program's controls use\n\n");
    elementTable(true);
    md += QStringLiteral("\n### Elements only theme files use\n\n"
                         "No window of this program shows these; their sizes and layouts are "
                         "ours.\n\n");
    elementTable(false);
    md += QStringLiteral("\n### Loaded by name\n\n| Name | Size | Frames | Content |\n"
                         "|---|---|---|---|\n");
    for (const PictureRow& row : kPictures) {
        md += QStringLiteral("| %1 | %2 | %3 | %4 |\n")
                  .arg(QLatin1String(row.name), SizeText(row.size))
                  .arg(row.frames)
                  .arg(QLatin1String(row.content));
    }
    return md;
}
