#include "skinbitmaps.h"

#include <QFile>
#include <stdexcept>

namespace {
QString ResourcePath(const QString& name) {
    return QStringLiteral(":/skin/") + name + QStringLiteral(".bmp");
}

[[noreturn]] void Missing(const QString& name, const char* what) {
    throw std::runtime_error(
        QStringLiteral("skin bitmap \"%1\" %2").arg(name, QLatin1String(what)).toStdString());
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
