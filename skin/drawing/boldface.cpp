#include "drawing/boldface.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>
#include <optional>

namespace {
std::optional<BoldFace> gFace;

// A face that can be drawn bold: scalable, or of bitmap strikes that include a bold one.
bool DrawsBold(const QString& family) {
    if (QFontDatabase::isSmoothlyScalable(family))
        return true;
    const QStringList styles = QFontDatabase::styles(family);
    for (const QString& style : styles) {
        if (QFontDatabase::bold(family, style))
            return true;
    }
    return false;
}
} // namespace

void SetBoldFace(const BoldFace& face) {
    gFace = face;
}

QFont BoldFont(const QFont& font) {
    QFont bold = font;
    bold.setBold(true);
    if (gFace) {
        bold.setFamily(gFace->family);
        bold.setStretch(gFace->stretch);
        if (!gFace->antialiased) {
            // Pixel for pixel, with the advances of the hinted glyphs: unhinted ones,
            // rounded, leave uneven gaps ("Velm ar").
            bold.setStyleStrategy(QFont::NoAntialias);
            bold.setHintingPreference(QFont::PreferFullHinting);
        }
    } else if (!DrawsBold(QFontInfo(font).family())) {
        bold.setFamily(QStringLiteral("DejaVu Sans"));
    }
    return bold;
}
