#include "skincatalogue.h"

#include "skinparts.h"

namespace skinpainter {

std::vector<SkinBitmap> paintSkinBitmaps() {
    std::vector<SkinBitmap> out;
    auto add = [&out](const QString& name, QImage image) {
        out.push_back({name, std::move(image)});
    };
    for (Look look : kLooks) {
        const QString pre = lookPrefix(look) + QLatin1Char('_');
        add(pre + QStringLiteral("BUTTON"), paintButton(look));
        add(pre + QStringLiteral("CHECKBOX"), paintCheckBox(look));
        add(pre + QStringLiteral("RADIOBUTTON"), paintRadioButton(look));
        add(pre + QStringLiteral("TITLEBTN"), paintTitleButtons(look));
        add(pre + QStringLiteral("TITLE_LEFT"), paintTitleLeft(look));
        add(pre + QStringLiteral("TITLE_CLIENT"), paintTitleClient(look));
        add(pre + QStringLiteral("TITLE_RIGHT"), paintTitleRight(look));
        add(pre + QStringLiteral("PROGRESSBAR"), paintProgressBar(look));
        add(pre + QStringLiteral("TRACKBAR_BAR"), paintTrackBarBar(look));
        add(pre + QStringLiteral("TRACKBAR_SLIDER"), paintTrackBarSlider(look, false));
        add(pre + QStringLiteral("TRACKBAR_SLIDER_V"), paintTrackBarSlider(look, true));
        add(pre + QStringLiteral("SCROLLBAR_BUTTON"), paintScrollBarButton(look));
        add(pre + QStringLiteral("SCROLLBAR_TRACK"), paintScrollBarThumb(look));
        add(pre + QStringLiteral("CHECKLIST"), paintCheckList(look));
        // DeepBlue, Protein and BlueGlass share one pair of tab scroll buttons.
        if (look == Look::MacOS || look == Look::WinXP)
            add(pre + QStringLiteral("SCROLLBUTTON"), paintScrollButton(look));
        else if (look == Look::DeepBlue)
            add(QStringLiteral("MORE_SCROLLBUTTON"), paintScrollButton(look));
        add(pre + QStringLiteral("TAB"), paintTab(look));
        add(pre + QStringLiteral("TAB_LINE"), paintTabLine(look));
        add(pre + QStringLiteral("SIDECHENNEL_HANDLE"), paintSideChannelHandle(look));
        add(pre + QStringLiteral("SIDECHENNEL_BAR"), paintSideChannelBar(look));
    }
    add(QStringLiteral("MACOS_COMBOBOX_BUTTON"), paintComboBoxButton(Look::MacOS));
    add(QStringLiteral("WINXP_COMBOBOX_BUTTON"), paintComboBoxButton(Look::WinXP));
    add(QStringLiteral("MACOS_FORM_BACKGROUND"), paintFormBackground(Look::MacOS));
    add(QStringLiteral("PROTEIN_FORM_BACKGROUND"), paintFormBackground(Look::Protein));
    add(QStringLiteral("MACOS_MENU_BAR"), paintMacMenuBar());
    add(QStringLiteral("MACOS_MENU_SELECT"), paintMacMenuSelect());
    add(QStringLiteral("MENU_CHECKED"), paintMenuChecked());
    add(QStringLiteral("MSGDLG"), paintMessageIcons());
    add(QStringLiteral("MAINICON"), paintMainIcon());
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
