#include "appfonts.h"

namespace {
// fonts-dejavu-core provides it on every machine the program is built for.
const QString kSubstitute = QStringLiteral("DejaVu Sans");
} // namespace

void RegisterFontSubstitutions() {
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), kSubstitute);
    QFont::insertSubstitution(QStringLiteral("Tahoma"), kSubstitute);
}

int PointsToPixels(int points) {
    return (points * 96 + 36) / 72;
}

QFont DescriptionFont(const QString& family, int points, bool bold) {
    QFont font(family);
    font.setPixelSize(PointsToPixels(points));
    font.setBold(bold);
    return font;
}
