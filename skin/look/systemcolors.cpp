#include "look/systemcolors.h"

QColor SystemColorValue(SystemColor color) {
    switch (color) {
    case SystemColor::ButtonFace:
        return QColor(192, 192, 192);
    case SystemColor::ThreeDLight:
        return QColor(223, 223, 223);
    case SystemColor::ButtonHighlight:
        return QColor(255, 255, 255);
    case SystemColor::ButtonShadow:
        return QColor(128, 128, 128);
    case SystemColor::ThreeDDarkShadow:
        return QColor(0, 0, 0);
    case SystemColor::ButtonText:
        return QColor(0, 0, 0);
    case SystemColor::Window:
        return QColor(255, 255, 255);
    case SystemColor::WindowText:
        return QColor(0, 0, 0);
    case SystemColor::Highlight:
        return QColor(0, 0, 128);
    case SystemColor::HighlightText:
        return QColor(255, 255, 255);
    case SystemColor::GrayText:
        return QColor(128, 128, 128);
    case SystemColor::ActiveCaption:
        return QColor(0, 0, 128);
    case SystemColor::CaptionText:
        return QColor(255, 255, 255);
    case SystemColor::InactiveCaption:
        return QColor(128, 128, 128);
    case SystemColor::InactiveCaptionText:
        return QColor(192, 192, 192);
    case SystemColor::InfoBackground:
        return QColor(255, 255, 225);
    case SystemColor::InfoText:
        return QColor(0, 0, 0);
    }
    return {};
}

QPalette ClassicPalette() {
    const auto c = SystemColorValue;
    QPalette palette(
        c(SystemColor::ButtonText), c(SystemColor::ButtonFace), c(SystemColor::ButtonHighlight),
        c(SystemColor::ButtonShadow), QColor(160, 160, 160), c(SystemColor::WindowText),
        c(SystemColor::ButtonHighlight), c(SystemColor::Window), c(SystemColor::ButtonFace));
    palette.setColor(QPalette::Midlight, c(SystemColor::ThreeDLight));
    palette.setColor(QPalette::Shadow, c(SystemColor::ThreeDDarkShadow));
    palette.setColor(QPalette::AlternateBase, c(SystemColor::ThreeDLight));
    palette.setColor(QPalette::Highlight, c(SystemColor::Highlight));
    palette.setColor(QPalette::HighlightedText, c(SystemColor::HighlightText));
    palette.setColor(QPalette::ToolTipBase, c(SystemColor::InfoBackground));
    palette.setColor(QPalette::ToolTipText, c(SystemColor::InfoText));
    palette.setColor(QPalette::PlaceholderText, c(SystemColor::GrayText));
    palette.setColor(QPalette::Link, QColor(0, 0, 255));
    palette.setColor(QPalette::LinkVisited, QColor(128, 0, 128));
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, c(SystemColor::GrayText));
    palette.setColor(QPalette::Disabled, QPalette::Base, c(SystemColor::ButtonFace));
    return palette;
}
