#include "appfonts.h"

#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>

namespace {

// fonts-dejavu-core provides it on every machine the program is built for.
const QString kSubstitute = QStringLiteral("DejaVu Sans");

struct FontFile {
    const char* family;
    const char* file;
};
// Regular and bold Tahoma are separate files.
constexpr FontFile kFontFiles[] = {
    {"MS Sans Serif", "ms_sans_serif.ttf"},
    {"Tahoma", "tahoma.ttf"},
    {"Tahoma", "tahomabd.ttf"},
};

} // namespace

QStringList RegisterApplicationFonts(const QString& folder) {
    QStringList loaded;
    const QDir dir(folder);
    for (const FontFile& font : kFontFiles) {
        const QString path = dir.filePath(QString::fromLatin1(font.file));
        if (!QFileInfo(path).isFile())
            continue;
        const int id = QFontDatabase::addApplicationFont(path);
        if (id < 0)
            continue;
        for (const QString& family : QFontDatabase::applicationFontFamilies(id)) {
            if (!loaded.contains(family))
                loaded.append(family);
        }
    }
    for (const FontFile& font : kFontFiles) {
        const QString family = QString::fromLatin1(font.family);
        if (!QFontDatabase::hasFamily(family))
            QFont::insertSubstitution(family, kSubstitute);
    }
    return loaded;
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
