#pragma once
// The painters of the individual skin bitmaps, grouped by what they belong to. Each returns
// an opaque picture in its final pixel size; fuchsia marks the transparent pixels.

#include <QColor>
#include <QImage>
#include <QString>

#include <vector>

#include "paintkit.h"

namespace skinpainter {

enum class Look { MacOS, WinXP, DeepBlue, Protein, BlueGlass };
inline constexpr Look kLooks[] = {Look::MacOS, Look::WinXP, Look::DeepBlue, Look::Protein,
                                  Look::BlueGlass};

// The resource name prefix of a look ("MACOS", ...).
QString lookPrefix(Look look);

// The colours every control of a look is painted from.
struct Palette {
    QColor background; // the window colour the controls stand on
    QColor faceTop;    // a raised face, top and bottom of its gradient
    QColor faceBottom;
    QColor border;
    QColor accentTop; // the look's highlight (hover, selection, filled parts)
    QColor accent;
    QColor accentDark;
    QColor glyph;       // arrows and marks on a plain face
    QColor scrollTrack; // the scroll bar's own background
    qreal gloss = 0.0;  // highlight strength of raised faces
};
const Palette& palette(Look look);

// Title bar: caption rows, the three section pictures and the 18-frame window button strip.
std::vector<QColor> titleRows(Look look);
QImage paintTitleLeft(Look look);
QImage paintTitleClient(Look look);
QImage paintTitleRight(Look look);
QImage paintTitleButtons(Look look);

// Controls that the program's windows use.
QImage paintButton(Look look);
QImage paintTab(Look look);
QImage paintTabLine(Look look);
QImage paintScrollButton(Look look);   // MacOS, WinXP, and (for DeepBlue) the shared one
QImage paintComboBoxButton(Look look); // MacOS and WinXP only

// Controls that only theme files and other programs use.
QImage paintCheckBox(Look look);
QImage paintRadioButton(Look look);
QImage paintProgressBar(Look look);
QImage paintTrackBarBar(Look look);
QImage paintTrackBarSlider(Look look, bool vertical);
QImage paintScrollBarButton(Look look);
QImage paintScrollBarThumb(Look look);
QImage paintCheckList(Look look);
QImage paintSideChannelHandle(Look look);
QImage paintSideChannelBar(Look look);

// Pictures loaded by name: window backgrounds, menus, the message icons and the program icon.
QImage paintFormBackground(Look look); // MacOS and Protein
QImage paintMacMenuBar();
QImage paintMacMenuSelect();
QImage paintMenuChecked();
QImage paintMessageIcons();
QImage paintMainIcon();
// The same icon at any size on a transparent background, for the desktop (PNG).
QImage paintAppIcon(int size);

} // namespace skinpainter
