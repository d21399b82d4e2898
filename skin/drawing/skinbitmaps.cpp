#include "drawing/skinbitmaps.h"

#include <QFile>
#include <QHash>
#include <stdexcept>

namespace {
QString ResourcePath(const QString& name) {
    return QStringLiteral(":/skin/") + name + QStringLiteral(".bmp");
}

QString Resource2xPath(const QString& name) {
    return QStringLiteral(":/skin/") + name + QStringLiteral("@2x.bmp");
}

[[noreturn]] void Missing(const QString& name, const char* what) {
    throw std::runtime_error(
        QStringLiteral("skin bitmap \"%1\" %2").arg(name, QLatin1String(what)).toStdString());
}

// The @2x bitmap of NAME when it is exactly twice `size`, else a null image.
QImage TryLoad2x(const QString& name, QSize size) {
    QImage image;
    if (!image.load(Resource2xPath(name), "BMP") || image.size() != size * 2)
        return {};
    image.setDevicePixelRatio(2);
    return image;
}

struct Origin {
    QString name;
    QSize whole; // of the 1x bitmap
    int frames = 1;
    int index = 1;
};

// The noted origins and the @2x parts found for them, by the 1x image's cache key. Only
// the program's own bitmaps are noted, and the looks keep those for the whole run, so
// the keys stay valid. Skin painting happens on the GUI thread only.
struct SharpParts {
    QHash<qint64, Origin> origins;
    QHash<qint64, QImage> parts;     // null: looked for, none usable
    QHash<QString, QImage> wholes2x; // whole @2x bitmaps by name, null when unusable
};

SharpParts& Sharp() {
    static SharpParts sharp;
    return sharp;
}

// The @2x part of the noted image, or a null image.
QImage FindSharpPart(const QImage& image, const Origin& origin) {
    SharpParts& sharp = Sharp();
    auto whole = sharp.wholes2x.find(origin.name);
    if (whole == sharp.wholes2x.end())
        whole = sharp.wholes2x.insert(origin.name, TryLoad2x(origin.name, origin.whole));
    if (whole->isNull() || origin.frames < 1)
        return {};
    const int frameWidth = whole->width() / origin.frames;
    QImage part = origin.frames == 1 ? *whole
                                     : whole->copy(frameWidth * (origin.index - 1), 0, frameWidth,
                                                   whole->height());
    part.setDevicePixelRatio(2);
    return part.size() == image.size() * 2 ? part : QImage();
}
} // namespace

QImage LoadSkinBitmap(const QString& name) {
    QImage image;
    if (!image.load(ResourcePath(name), "BMP")) {
        if (!HasSkinBitmap(name))
            Missing(name, "is not among the program's resources");
        Missing(name, "cannot be decoded");
    }
    return image;
}

QImage TryLoadSkinBitmap(const QString& name) {
    QImage image;
    if (!image.load(ResourcePath(name), "BMP"))
        return {};
    return image;
}

QByteArray LoadSkinBitmapFile(const QString& name) {
    QFile file(ResourcePath(name));
    if (!file.open(QIODevice::ReadOnly))
        Missing(name, "is not among the program's resources");
    return file.readAll();
}

bool HasSkinBitmap(const QString& name) {
    return QFile::exists(ResourcePath(name));
}

QImage TryLoadSkinBitmapForRatio(const QString& name, qreal ratio) {
    QImage image = TryLoadSkinBitmap(name);
    if (ratio > 1 && !image.isNull()) {
        if (QImage sharp = TryLoad2x(name, image.size()); !sharp.isNull())
            return sharp;
    }
    return image;
}

void NoteSkinBitmapOrigin(const QImage& image, QSize whole, const QString& name, int frames,
                          int index) {
    if (!image.isNull())
        Sharp().origins.insert(image.cacheKey(), {name, whole, frames, index});
}

QImage SkinImageForRatio(const QImage& image, qreal ratio) {
    if (ratio <= 1 || image.isNull())
        return image;
    SharpParts& sharp = Sharp();
    const qint64 key = image.cacheKey();
    auto part = sharp.parts.find(key);
    if (part == sharp.parts.end()) {
        const auto origin = sharp.origins.constFind(key);
        if (origin == sharp.origins.cend())
            return image;
        part = sharp.parts.insert(key, FindSharpPart(image, *origin));
    }
    return part->isNull() ? image : *part;
}
