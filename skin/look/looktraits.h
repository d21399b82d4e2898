#pragma once
// What the controls do differently per built-in look, as data: one row per look, next
// to the element table. A control asks its look, look().traits() (skinlook.h), instead
// of naming looks, so a sixth look is a row here (the table is checked complete at compile time)
// and the painter's bitmaps, not a hunt through the controls.

#include <QRgb>
#include <array>
#include <optional>

#include "catalogue/skincatalogue.h"
#include "catalogue/tsuiuistyle.h"

struct LookTraits {
    TsuiUIStyle style;
    // The title bar's caption colour that choosing the style sets.
    QRgb titleCaptionColor;
    // The title bar draws the window's rounded top edge and corners.
    bool roundedTitleCorners;
    // Menus and the menu bar draw the look's textures; their item and separator heights
    // are then fixed, whatever the owner sets.
    bool texturedMenus;
    int menuItemHeight;
    int menuSeparatorHeight;
    QRgb menuSeparatorColor;
    // The picture tiled behind the window's panel, if the look has one.
    std::optional<SkinPicture> windowTile;
    // The combo box button's picture, if the look has one, and whether the arrow is
    // drawn over it (the picture may hold its own).
    std::optional<SkinPicture> comboButton;
    bool comboDrawsArrow;
    // A focused button shows its caption bold (the look's focus cue).
    bool boldFocusCaption;
    // Tab pages are white whatever the control background.
    bool whitePages;
};

// Rows in the order of TsuiUIStyle's values; FromThemeFile is the row of a look read
// from a theme file, which has none of the built-in looks' particulars.
inline constexpr std::array<LookTraits, 6> kLookTraits = {{
    // style, caption, rounded, textured, item, separator, separator colour, tile,
    // combo button, arrow, bold focus, white pages
    {TsuiUIStyle::FromThemeFile, 0xFFFFFFFF, true, false, 21, 5, 0xFF848284, std::nullopt,
     std::nullopt, true, false, false},
    {TsuiUIStyle::MacOS, 0xFF000000, true, true, 20, 12, 0xFF000000,
     SkinPicture::MacOSFormBackground, SkinPicture::MacOSComboBoxButton, true, true, false},
    {TsuiUIStyle::WinXP, 0xFFFFFFFF, false, false, 21, 5, 0xFF848284, std::nullopt,
     SkinPicture::WinXPComboBoxButton, false, false, true},
    {TsuiUIStyle::DeepBlue, 0xFFFFFFFF, true, false, 21, 5, 0xFF848284, std::nullopt, std::nullopt,
     true, false, false},
    {TsuiUIStyle::Protein, 0xFFFFFFFF, true, false, 21, 5, 0xFF848284,
     SkinPicture::ProteinFormBackground, std::nullopt, true, false, false},
    {TsuiUIStyle::BlueGlass, 0xFFFFFFFF, true, false, 21, 5, 0xFF848284, std::nullopt, std::nullopt,
     true, true, false},
}};

constexpr bool LookTraitsComplete() {
    for (std::size_t i = 0; i < kLookTraits.size(); ++i) {
        if (static_cast<std::size_t>(kLookTraits[i].style) != i)
            return false;
    }
    return kLookTraits.size() == static_cast<std::size_t>(TsuiUIStyle::BlueGlass) + 1;
}
static_assert(LookTraitsComplete(), "one row per look, in the order of TsuiUIStyle");

constexpr const LookTraits& TraitsOf(TsuiUIStyle style) {
    const auto index = static_cast<std::size_t>(style);
    return kLookTraits[index < kLookTraits.size() ? index : 0];
}
