#pragma once
// The window's own face, "MS Sans Serif" from fonts-wine, at the window's 11 pixels. It is
// drawn from bitmap strikes: it has no bold of its own, and it reports the height of its
// nearest strike rather than the one asked for, which scalable test fonts never show.

#include <QFont>
#include <QFontDatabase>
#include <QString>
#include <optional>

namespace zd7240::test {

inline std::optional<QFont> WindowBitmapFace() {
    static const bool loaded = QFontDatabase::addApplicationFont(
                                   QStringLiteral("/usr/share/wine/fonts/ms_sans_serif.ttf")) >= 0;
    if (!loaded)
        return std::nullopt;
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    return font;
}

} // namespace zd7240::test
