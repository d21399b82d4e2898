#include "theme/tsuifilethememgr.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>
#include <new>
#include <string_view>

#include "theme/bmpinspect.h"
#include "theme/themeelements.h"

namespace {
qint64 gDecodedBudget = TsuiFileThemeMgr::kDecodedBudget;

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
    return AdoptReader(std::make_unique<TsuiThemeFileReader>(path));
}

bool TsuiFileThemeMgr::AdoptReader(std::unique_ptr<TsuiThemeFileReader> reader) {
    reader_.reset();
    images_.clear();
    handedOut_ = 0;
    counted_.clear();
    outOfMemory_ = false;
    overBudgetNoted_ = false;
    error_ = reader->errorString();
    if (!reader->isTheme())
        return false;
    reader_ = std::move(reader);
    return true;
}

void TsuiFileThemeMgr::note(const QString& what) const {
    error_ += error_.isEmpty() ? what : QStringLiteral("; ") + what;
}

void TsuiFileThemeMgr::ThemeBitmap(int element, QImage& graphic) const {
    if (!reader_)
        return;
    const TsuiThemeFileReader::Entry* entry = reader_->FindBitmapEntry(Key(element));
    if (!entry)
        return;
    const bool counted = counted_.contains(element);
    const auto overBudget = [&] {
        if (!overBudgetNoted_)
            note(QStringLiteral("the theme's bitmaps pass the bound of %1 MiB decoded; %2 and "
                                "any later element keep the built-in look")
                     .arg(gDecodedBudget >> 20)
                     .arg(Key(element)));
        overBudgetNoted_ = true;
    };
    const QPair<qint64, qint64> range(entry->dataOffset, entry->dataSize);
    auto it = images_.constFind(range);
    if (it == images_.constEnd()) {
        const QByteArrayView bytes = reader_->entryBytes(*entry);
        const zd7240::BmpInfo info =
            zd7240::InspectBmp(std::string_view(bytes.constData(), std::size_t(bytes.size())));
        if (!info.ok) {
            images_.insert(range, QImage());
            return;
        }
        // Decoded to 32 bits a pixel: an image that would not fit in what is left of the
        // bound is not decoded at all.
        if (!counted && handedOut_ + qint64(info.width) * info.height * 4 > gDecodedBudget) {
            overBudget();
            return;
        }
        QImage image;
        bool noMemory = false;
        try {
            // Inspection bounds the image at 8192 x 8192 pixels, 256 MB at most.
            QImageReader::setAllocationLimit(256);
            QBuffer buffer;
            buffer.setData(bytes.toByteArray());
            buffer.open(QIODevice::ReadOnly);
            QImageReader(&buffer, "BMP").read(&image);
            // The reader says no more than that it failed. The bitmap passed inspection,
            // so if an image of its size cannot be had either, memory ran out; otherwise
            // the decoder does not take this kind of bitmap.
            if (image.isNull())
                noMemory =
                    QImage(info.width, info.height,
                           info.bitsPerPixel <= 8 ? QImage::Format_Indexed8 : QImage::Format_RGB32)
                        .isNull();
        } catch (const std::bad_alloc&) {
            image = QImage();
            noMemory = true;
        }
        if (noMemory) {
            outOfMemory_ = true;
            note(QStringLiteral("memory ran out decoding the %1 x %2 bitmap of %3")
                     .arg(info.width)
                     .arg(info.height)
                     .arg(Key(element)));
        }
        it = images_.insert(range, image);
    }
    if (it->isNull())
        return;
    if (!counted) {
        // Counted at 32 bits a pixel, what the controls' own copies of it take.
        const qint64 size = qint64(it->width()) * it->height() * 4;
        if (handedOut_ + size > gDecodedBudget) {
            overBudget();
            return;
        }
        handedOut_ += size;
        counted_.insert(element);
    }
    graphic = *it;
}

void TsuiFileThemeMgr::setDecodedBudgetForTests(qint64 bytes) {
    gDecodedBudget = bytes > 0 ? bytes : kDecodedBudget;
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
