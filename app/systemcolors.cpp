#include "systemcolors.h"

#include <QGuiApplication>
#include <QPalette>

#include "themeelements.h"

QColor SystemColorValue(SystemColor color) {
    const QPalette palette = QGuiApplication::palette();
    switch (color) {
    case SystemColor::ButtonFace:
        return palette.color(QPalette::Button);
    case SystemColor::ThreeDLight:
        return palette.color(QPalette::Midlight);
    case SystemColor::WindowText:
        return palette.color(QPalette::WindowText);
    }
    return {};
}

QColor DescriptionColor(quint32 value) {
    return TsuiColorToQColor(value);
}
