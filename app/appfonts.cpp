#include "appfonts.h"

#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <string_view>

#include "drawing/boldface.h"

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

bool IsBitmapOnly(const FontFile& font) {
    return std::string_view(font.family) == "MS Sans Serif";
}

// The stand-in narrowed to the bitmap face's widths, so that labels sized for it still fit
// on one line: Tahoma runs about 2.5 % wider, DejaVu Sans about 15 %. Qt ignores a stretch
// within a few percent of 100, hence 95 rather than 97.
int StandInStretch(const QString& standIn) {
    return standIn == kSubstitute ? 85 : 95;
}

// Set when the bitmap face gave its name to a scalable one.
bool gStandIn = false;

} // namespace

QString ScalableStandIn() {
    return QFontDatabase::hasFamily(QStringLiteral("Tahoma")) ? QStringLiteral("Tahoma")
                                                              : kSubstitute;
}

QStringList RegisterApplicationFonts(const QString& folder, qreal devicePixelRatio) {
    const bool scaled = !qFuzzyCompare(devicePixelRatio, 1.0);
    QStringList loaded;
    const QDir dir(folder);
    for (const FontFile& font : kFontFiles) {
        if (scaled && IsBitmapOnly(font))
            continue;
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
            QFont::insertSubstitution(family, IsBitmapOnly(font) ? ScalableStandIn() : kSubstitute);
    }
    gStandIn = scaled;
    // Bold text: at ratio 1 fonts-wine's Tahoma Bold drawn pixel for pixel (smoothed, its
    // outlines read as regular); on a scaled screen, or without fonts-wine, DejaVu Sans
    // Bold narrowed to the bitmap face's widths.
    if (!scaled && QFontDatabase::hasFamily(QStringLiteral("Tahoma")))
        SetBoldFace({QStringLiteral("Tahoma"), 100, false});
    else
        SetBoldFace({kSubstitute, StandInStretch(kSubstitute), true});
    return loaded;
}

int PointsToPixels(int points) {
    return (points * 96 + 36) / 72;
}

QFont DescriptionFont(const QString& family, int points, bool bold) {
    QFont font(family);
    if (gStandIn && family == QLatin1String("MS Sans Serif")) {
        // Narrowed to the bitmap face's widths (StandInStretch).
        const QString standIn = ScalableStandIn();
        font.setFamily(standIn);
        font.setStretch(StandInStretch(standIn));
    }
    font.setPixelSize(PointsToPixels(points));
    return bold ? BoldFont(font) : font;
}
