#pragma once
// The application's own style for whatever the skin does not draw (combo box lists, scroll
// bars, the file dialog, message boxes): Fusion with the classic system colours, so the
// desktop's style and palette never leak into the window.

#include <QProxyStyle>

class ApplicationStyle : public QProxyStyle {
    Q_OBJECT

public:
    ApplicationStyle();

    QPalette standardPalette() const override;
    int styleHint(StyleHint hint, const QStyleOption* option = nullptr,
                  const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;
};

// Sets, once for the whole application: the style above, its palette, the description's
// fonts (loaded or substituted) and "MS Sans Serif" 8 pt as the default font. Call right
// after the QApplication is made, before any window.
void InstallApplicationLook();
