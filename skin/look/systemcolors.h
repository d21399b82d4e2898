#pragma once
// The Windows system colours that window descriptions and skinned controls name, as one
// table of fixed classic values (the standard scheme). The look never follows the
// desktop's palette: the same program looks the same on every desktop theme.

#include <QColor>
#include <QPalette>

enum class SystemColor {
    ButtonFace,       // window and dialog background, button faces
    ThreeDLight,      // the lighter 3-D edge; the fill of read-only fields
    ButtonHighlight,  // the lightest 3-D edge
    ButtonShadow,     // the darker 3-D edge
    ThreeDDarkShadow, // the darkest 3-D edge
    ButtonText,
    Window, // the background of edit boxes and lists
    WindowText,
    Highlight, // selected items
    HighlightText,
    GrayText, // disabled text
    ActiveCaption,
    CaptionText,
    InactiveCaption,
    InactiveCaptionText,
    InfoBackground, // tool tips
    InfoText,
};

// The colour of the classic table.
QColor SystemColorValue(SystemColor color);

// A palette built from the table, for everything the skin does not draw itself (combo box
// lists, scroll bars, the file dialog, message boxes).
QPalette ClassicPalette();
