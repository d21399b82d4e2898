#pragma once
// Values of the main window's description that more than one part of the window uses.

#include <QColor>
#include <QString>
#include <QtGlobal>

#include "theme/themeelements.h"

namespace window_description {

inline const QString kCaption = QStringLiteral("Velmar Zd7240 Helper  V2.1");
// The program's name in the titles of its plain dialogs. It is not the application's
// display name: under X11 Qt appends that to every window title, and the main window's
// title is to be its caption exactly.
inline const QString kProgramName = QStringLiteral("Velmar Zd7240 Helper");
inline constexpr int kClientWidth = 536;
inline constexpr int kClientHeight = 575;
inline constexpr int kMinimumWidth = 130;

// Colours as the description stores them, 0x00BBGGRR.
inline constexpr quint32 kPageColor = 15198183;    // light grey 231/231/231
inline constexpr quint32 kBorderColor = 8355711;   // grey 127/127/127
inline constexpr quint32 kMenuSelected = 12874553; // red 57, green 115, blue 196

// A colour value as the description stores it.
inline QColor DescriptionColor(quint32 value) {
    return TsuiColorToQColor(value);
}

inline const QString kFontName = QStringLiteral("MS Sans Serif");
inline const QString kCaptionFontName = QStringLiteral("Tahoma");
inline constexpr int kFontPoints = 8;

// The help file is opened by its relative name, so it is looked up in the current
// working directory.
inline const QString kHelpFile = QStringLiteral("zd7240.chm");
inline const QString kOnlineHelpUrl = QStringLiteral("https://velmar.example/zd7240/help.html");

} // namespace window_description
