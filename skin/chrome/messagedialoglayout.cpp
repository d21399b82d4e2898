#include "chrome/messagedialoglayout.h"

namespace {

// The window as laid out: its client area, and where text and icon start.
constexpr int kWindowWidth = 336;
constexpr int kContentTop = 64;
constexpr int kTextWidth = 225;
constexpr int kTextLeftBesideIcon = 88;
constexpr int kTextLeftAlone = 24;
// The icon's laid-out box: its bottom counts even when the icon is hidden.
constexpr QRect kImageBox(24, 64, 40, 40);
constexpr int kIconSize = 42;
// Without an icon and with fewer than three buttons the window is this much narrower.
constexpr int kNarrowerWithoutIcon = 64;
constexpr int kButtonWidth = 73;
constexpr int kButtonHeight = 25;
// The rightmost button's left edge from the window's right, and the step between buttons.
constexpr int kButtonRightInset = 97;
constexpr int kButtonStep = 93;
// Space above the buttons; the window ends this far below the content.
constexpr int kGapAboveButtons = 20;
constexpr int kHeightBelowContent = 65;

} // namespace

MessageDialogLayout LayOutMessageDialog(int labelHeight, bool icon, int buttonCount) {
    MessageDialogLayout layout;
    layout.contentBottom = std::max(kContentTop + labelHeight, kImageBox.y() + kImageBox.height());
    layout.showImage = icon;
    layout.width = kWindowWidth;
    if (icon) {
        layout.label = QRect(kTextLeftBesideIcon, kContentTop, kTextWidth, labelHeight);
        layout.image = QRect(kImageBox.topLeft(), QSize(kIconSize, kIconSize));
    } else {
        layout.label = QRect(kTextLeftAlone, kContentTop, kTextWidth, labelHeight);
        layout.image = kImageBox;
        if (buttonCount < 3)
            layout.width -= kNarrowerWithoutIcon;
    }
    for (int i = 0; i < buttonCount; ++i) {
        layout.buttons.append(QRect(layout.width - kButtonRightInset - kButtonStep * i,
                                    layout.contentBottom + kGapAboveButtons, kButtonWidth,
                                    kButtonHeight));
    }
    layout.height = layout.contentBottom + kHeightBelowContent;
    return layout;
}

QString MessageDialogClipboardText(const QString& caption, const QString& text,
                                   const QStringList& buttonCaptions) {
    const QString rule(27, u'-');
    return QStringList{rule, caption, rule, text, rule, buttonCaptions.join(QStringLiteral("   ")),
                       rule}
        .join(QStringLiteral("\r\n"));
}
