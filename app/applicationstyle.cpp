#include "applicationstyle.h"

#include <QApplication>
#include <QStyleFactory>

#include "appfonts.h"
#include "look/systemcolors.h"
#include "windowdescription.h"

ApplicationStyle::ApplicationStyle()
    : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

QPalette ApplicationStyle::standardPalette() const {
    return ClassicPalette();
}

int ApplicationStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                                QStyleHintReturn* returnData) const {
    switch (hint) {
    case SH_ComboBox_Popup:
        return 0; // the list drops down below the box, as a drop-down list does
    case SH_Widget_Animation_Duration:
        return 0; // a grab shows the final state at once
    default:
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
}

void InstallApplicationLook() {
    RegisterApplicationFonts(QStringLiteral("/usr/share/wine/fonts"), qApp->devicePixelRatio());
    QApplication::setStyle(new ApplicationStyle);
    QApplication::setPalette(ClassicPalette());
    QApplication::setFont(
        DescriptionFont(window_description::kFontName, window_description::kFontPoints));
}
