#include "paintedskin.h"

#include "catalogue/skincatalogue.h"
#include "skinparts.h"

namespace skinpainter {

namespace {

QImage paintElement(SkinImage element, Look look) {
    switch (element) {
    case SkinImage::Button:
        return paintButton(look);
    case SkinImage::CheckBox:
        return paintCheckBox(look);
    case SkinImage::RadioButton:
        return paintRadioButton(look);
    case SkinImage::TitleBarButton:
        return paintTitleButtons(look);
    case SkinImage::TitleBarLeft:
        return paintTitleLeft(look);
    case SkinImage::TitleBarClient:
        return paintTitleClient(look);
    case SkinImage::TitleBarRight:
        return paintTitleRight(look);
    case SkinImage::ProgressBar:
        return paintProgressBar(look);
    case SkinImage::TrackBarBar:
        return paintTrackBarBar(look);
    case SkinImage::TrackBarSlider:
        return paintTrackBarSlider(look, false);
    case SkinImage::TrackBarSliderV:
        return paintTrackBarSlider(look, true);
    case SkinImage::ScrollBarButton:
        return paintScrollBarButton(look);
    case SkinImage::ScrollBarSlider:
        return paintScrollBarThumb(look);
    case SkinImage::CheckListBox:
        return paintCheckList(look);
    case SkinImage::ScrollButton:
        // DeepBlue paints the one shared by DeepBlue, Protein and BlueGlass.
        return paintScrollButton(look);
    case SkinImage::TabControlTab:
        return paintTab(look);
    case SkinImage::TabControlBar:
        return paintTabLine(look);
    case SkinImage::SideChannelHandle:
        return paintSideChannelHandle(look);
    case SkinImage::SideChannelBar:
        return paintSideChannelBar(look);
    }
    return {};
}

QImage paintPicture(SkinPicture picture) {
    switch (picture) {
    case SkinPicture::MacOSComboBoxButton:
        return paintComboBoxButton(Look::MacOS);
    case SkinPicture::WinXPComboBoxButton:
        return paintComboBoxButton(Look::WinXP);
    case SkinPicture::MacOSFormBackground:
        return paintFormBackground(Look::MacOS);
    case SkinPicture::ProteinFormBackground:
        return paintFormBackground(Look::Protein);
    case SkinPicture::MacOSMenuBar:
        return paintMacMenuBar();
    case SkinPicture::MacOSMenuSelect:
        return paintMacMenuSelect();
    case SkinPicture::MenuChecked:
        return paintMenuChecked();
    case SkinPicture::MessageIcons:
        return paintMessageIcons();
    case SkinPicture::MainIcon:
        return paintMainIcon();
    }
    return {};
}

} // namespace

QString skinBitmapFileName(const QString& name, int scale) {
    return scale == 1 ? name + QStringLiteral(".bmp")
                      : QStringLiteral("%1@%2x.bmp").arg(name).arg(scale);
}

std::vector<SkinBitmap> paintSkinBitmaps(int scale, QString* error) {
    const PaintScale paintScale(scale);
    std::vector<SkinBitmap> out;
    for (const SkinResource& resource : SkinResources()) {
        QImage image;
        if (resource.picture >= 0) {
            image = paintPicture(static_cast<SkinPicture>(resource.picture));
        } else {
            // The look is the one whose prefix the name carries; the shared scroll button
            // is DeepBlue's.
            Look look = Look::DeepBlue;
            for (Look candidate : kLooks) {
                if (resource.name.startsWith(lookPrefix(candidate) + QLatin1Char('_')))
                    look = candidate;
            }
            image = paintElement(static_cast<SkinImage>(resource.element), look);
        }
        if (image.size() != resource.size * scale) {
            if (error) {
                *error = QStringLiteral("%1 is painted %2 x %3 at %4x, the catalogue says %5 x %6")
                             .arg(resource.name)
                             .arg(image.width())
                             .arg(image.height())
                             .arg(scale)
                             .arg(resource.size.width())
                             .arg(resource.size.height());
            }
            return {};
        }
        out.push_back({resource.name, std::move(image)});
    }
    return out;
}

QImage previewImage(const QImage& bitmap, int scale) {
    const QImage src = bitmap.convertToFormat(QImage::Format_RGB32);
    QImage out(src.width() * scale, src.height() * scale, QImage::Format_RGB32);
    for (int y = 0; y < out.height(); ++y) {
        for (int x = 0; x < out.width(); ++x) {
            QRgb c = src.pixel(x / scale, y / scale);
            if (c == kKeyColour)
                c = ((x / 4 + y / 4) % 2) ? qRgb(200, 200, 200) : qRgb(150, 150, 150);
            out.setPixel(x, y, c);
        }
    }
    return out;
}

} // namespace skinpainter
