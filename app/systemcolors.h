#pragma once
// The system colours the window description names, taken from the application palette,
// and the description's own 0x00BBGGRR colour values.

#include <QColor>
#include <QtGlobal>

enum class SystemColor {
    ButtonFace,
    ThreeDLight, // the fill of read-only fields
    WindowText,
};

QColor SystemColorValue(SystemColor color);

// A colour value as stored in a window description: 0x00BBGGRR, low byte red.
QColor DescriptionColor(quint32 value);
