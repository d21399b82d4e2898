#include "look/skinlook.h"

#include <array>
#include <map>

#include "drawing/drawingoperations.h"
#include "drawing/skinbitmaps.h"
#include "look/looktraits.h"
#include "look/styleselection.h"
#include "theme/tsuifiletheme.h"

struct SkinLookData {
    bool useFile = false;
    TsuiUIStyle effective = TsuiUIStyle::DeepBlue;
    std::array<qint32, kThemeElementCount + 1> values{};     // non-image elements, by number
    std::array<SkinFrameSet, kThemeElementCount + 1> images; // image elements, by number
};

namespace {

std::shared_ptr<const SkinLookData> BuildBuiltin(TsuiUIStyle style) {
    auto d = std::make_shared<SkinLookData>();
    d->effective = style;
    const int ordinal = StyleOrdinal(style);
    for (int element = 1; element <= kThemeElementCount; ++element) {
        if (ThemeElementKind(element) != TsuiElementKind::Image)
            d->values[element] = BuiltinElementValue(ordinal, element).value;
    }
    for (SkinImage image : SkinImages()) {
        const QString name = SkinResourceName(style, image);
        const SkinResource* entry = FindSkinResource(name);
        d->images[static_cast<int>(image)] =
            CutSkinFrames(TryLoadSkinBitmap(name), SkinImageFrames(image),
                          SkinFallbackFrameSize(image), entry ? entry->size : QSize(), name);
    }
    return d;
}

std::shared_ptr<const SkinLookData> BuildFromTheme(const TsuiFileTheme& theme) {
    auto d = std::make_shared<SkinLookData>();
    d->useFile = true;
    d->effective = TsuiUIStyle::FromThemeFile;
    for (int element = 1; element <= kThemeElementCount; ++element) {
        switch (ThemeElementKind(element)) {
        case TsuiElementKind::Colour:
            d->values[element] = theme.ThemeColor(element);
            break;
        case TsuiElementKind::Integer:
            d->values[element] = theme.ThemeInt(element);
            break;
        case TsuiElementKind::Boolean:
            d->values[element] = theme.ThemeBool(element) ? 1 : 0;
            break;
        case TsuiElementKind::Image:
            break;
        }
    }
    for (SkinImage image : SkinImages()) {
        QImage bitmap;
        theme.ThemeBitmap(static_cast<int>(image), bitmap);
        d->images[static_cast<int>(image)] =
            CutSkinFrames(bitmap, SkinImageFrames(image), SkinFallbackFrameSize(image));
    }
    return d;
}

const std::shared_ptr<const SkinLookData>& Builtin(TsuiUIStyle style) {
    static std::array<std::shared_ptr<const SkinLookData>, kBuiltinStyleCount + 1> looks;
    auto& slot = looks[static_cast<std::size_t>(StyleOrdinal(style))];
    if (!slot)
        slot = BuildBuiltin(style);
    return slot;
}

// Looks read from theme files, by load: shared while some control holds them.
std::shared_ptr<const SkinLookData> FromTheme(const TsuiFileTheme& theme) {
    static std::map<quint64, std::weak_ptr<const SkinLookData>> cache;
    const quint64 serial = theme.loadSerial();
    if (auto found = cache[serial].lock())
        return found;
    for (auto it = cache.begin(); it != cache.end();) {
        if (it->second.expired())
            it = cache.erase(it);
        else
            ++it;
    }
    auto d = BuildFromTheme(theme);
    cache[serial] = d;
    return d;
}

const std::array<SkinFrameSet, kSkinPictureCount>& Pictures() {
    static const std::array<SkinFrameSet, kSkinPictureCount> pictures = [] {
        std::array<SkinFrameSet, kSkinPictureCount> out;
        for (int i = 0; i < kSkinPictureCount; ++i) {
            const auto picture = static_cast<SkinPicture>(i);
            const QString name = SkinPictureName(picture);
            const SkinResource* entry = FindSkinResource(name);
            out[static_cast<std::size_t>(i)] = CutSkinFrames(
                TryLoadSkinBitmap(name), SkinPictureFrames(picture),
                SkinPictureFallbackFrameSize(picture), entry ? entry->size : QSize(), name);
        }
        return out;
    }();
    return pictures;
}

} // namespace

SkinFrameSet CutSkinFrames(const QImage& image, int frames, QSize fallbackFrame, QSize expected,
                           const QString& resource) {
    SkinFrameSet set;
    const bool usable = !image.isNull() && image.width() >= frames && image.height() > 0 &&
                        (!expected.isValid() || image.size() == expected);
    if (usable) {
        set.whole = image;
        set.fallback = false;
    } else {
        set.whole = QImage(fallbackFrame.width() * frames, fallbackFrame.height(),
                           QImage::Format_ARGB32_Premultiplied);
        set.whole.fill(Qt::transparent);
    }
    for (int n = 1; n <= frames; ++n)
        set.frames.append(frames == 1 ? set.whole : ExtractBitmapFrame(set.whole, frames, n));
    if (!set.fallback && !resource.isEmpty()) {
        NoteSkinBitmapOrigin(set.whole, image.size(), resource, 1, 1);
        for (int n = 1; n <= frames && frames > 1; ++n)
            NoteSkinBitmapOrigin(set.frames.at(n - 1), image.size(), resource, frames, n);
    }
    return set;
}

SkinLook::SkinLook() : d_(Builtin(TsuiUIStyle::DeepBlue)) {}

SkinLook SkinLook::Resolve(const TsuiFileTheme* theme, TsuiUIStyle style) {
    // Pictures are loaded with the first look, so that painting never loads them.
    Pictures();
    const ResolvedStyle resolved = ResolveUIStyle(theme, style);
    if (resolved.useFile)
        return SkinLook(FromTheme(*theme));
    return SkinLook(Builtin(resolved.effective));
}

bool SkinLook::usesFileTheme() const {
    return d_->useFile;
}

const LookTraits& SkinLook::traits() const {
    return TraitsOf(effectiveStyle());
}

TsuiUIStyle SkinLook::effectiveStyle() const {
    return d_->effective;
}

QColor SkinLook::color(SkinColor element) const {
    return TsuiColorToQColor(static_cast<quint32>(colorValue(element)));
}

qint32 SkinLook::colorValue(SkinColor element) const {
    return d_->values[static_cast<std::size_t>(element)];
}

int SkinLook::integer(SkinInt element) const {
    return d_->values[static_cast<std::size_t>(element)];
}

bool SkinLook::flag(SkinBool element) const {
    return d_->values[static_cast<std::size_t>(element)] != 0;
}

const SkinFrameSet& SkinLook::frameSet(SkinImage element) const {
    return d_->images[static_cast<std::size_t>(element)];
}

const SkinFrameSet& SkinLook::pictureSet(SkinPicture picture) {
    return Pictures()[static_cast<std::size_t>(picture)];
}
