#include "tsuifilethememgr.h"

#include <QFileInfo>

#include "themeelements.h"

namespace {
QString Key(int element) {
    const char* key = ThemeElementKey(element);
    return key ? QLatin1String(key) : QString();
}
} // namespace

TsuiFileThemeMgr::TsuiFileThemeMgr() = default;
TsuiFileThemeMgr::~TsuiFileThemeMgr() = default;

bool TsuiFileThemeMgr::OpenThemeFile(const QString& path) {
    if (!QFileInfo(path).isFile())
        return false;
    reader_.reset();
    auto reader = std::make_unique<TsuiThemeFileReader>(path);
    error_ = reader->errorString();
    if (!reader->isTheme())
        return false;
    reader_ = std::move(reader);
    return true;
}

void TsuiFileThemeMgr::ThemeBitmap(int element, QImage& graphic) const {
    if (!reader_)
        return;
    const QByteArray bytes = reader_->FindBitmapStream(Key(element));
    if (bytes.isEmpty())
        return;
    QImage image;
    if (image.loadFromData(bytes, "BMP"))
        graphic = image;
}

bool TsuiFileThemeMgr::ThemeBool(int element) const {
    return reader_ ? reader_->FindBoolEntry(Key(element)) : false;
}

qint32 TsuiFileThemeMgr::ThemeColor(int element) const {
    return reader_ ? reader_->FindIntEntry(Key(element)) : 0;
}

qint32 TsuiFileThemeMgr::ThemeInt(int element) const {
    return reader_ ? reader_->FindIntEntry(Key(element)) : 0;
}
