#include "chrome/tsuiskinnedmenu.h"

#include <QAction>
#include <QActionEvent>
#include <QApplication>
#include <QMenu>
#include <utility>

#include "chrome/skinnedmenustyle.h"
#include "drawing/skinbitmaps.h"
#include "look/looktraits.h"
#include "look/skinlook.h"
#include "look/systemcolors.h"

namespace {

// Watches the QMenus of a skinned menu for items arriving or changing later.
class MenuWatcher : public QObject {
public:
    MenuWatcher(QObject* parent, TsuiSkinnedMenu* menu) : QObject(parent), menu_(menu) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ActionAdded || event->type() == QEvent::ActionChanged)
            menu_->AttachMenuDrawHandlers(static_cast<QActionEvent*>(event)->action());
        return QObject::eventFilter(watched, event);
    }

private:
    TsuiSkinnedMenu* menu_;
};

QImage CheckMarkImage() {
    // Drawn with white as its transparent colour; from the @2x set when the screen is
    // scaled at start, as the application's fonts are chosen.
    const QImage picture = SkinImageForRatio(SkinLook::picture<SkinPicture::MenuChecked>().whole(),
                                             qApp->devicePixelRatio());
    QImage mark = picture.convertToFormat(QImage::Format_ARGB32);
    mark.setDevicePixelRatio(picture.devicePixelRatio());
    for (int y = 0; y < mark.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(mark.scanLine(y));
        for (int x = 0; x < mark.width(); ++x) {
            if ((line[x] & 0xFFFFFF) == 0xFFFFFF)
                line[x] = 0;
        }
    }
    return mark;
}

QImage Texture(const SkinFrameSet& set) {
    return set.fallback ? QImage() : set.whole;
}

} // namespace

TsuiSkinnedMenu::TsuiSkinnedMenu(QObject* self, QObject* owner)
    : TsuiSkinned(self, owner), menuStyle_(new SkinnedMenuStyle(&items_)),
      watcher_(new MenuWatcher(menuStyle_, this)) {
    menuStyle_->setParent(self);
    // A new menu, before a style is applied.
    items_.barColor = SystemColorValue(SystemColor::ButtonFace);
    items_.selectedBorderColor = SystemColorValue(SystemColor::Highlight);
    items_.selectedColor = SystemColorValue(SystemColor::Highlight);
    items_.checkMark = CheckMarkImage();
    items_.barTexture = Texture(SkinLook::pictureSet(SkinPicture::MacOSMenuBar));
    items_.selectTexture = Texture(SkinLook::pictureSet(SkinPicture::MacOSMenuSelect));
    updateFont();
    takeLook(look());
}

TsuiSkinnedMenu::~TsuiSkinnedMenu() = default;

void TsuiSkinnedMenu::styleUpdated(const SkinLook& look) {
    takeLook(look);
}

void TsuiSkinnedMenu::takeLook(const SkinLook& look) {
    const LookTraits& traits = look.traits();
    items_.textured = traits.texturedMenus;
    items_.barWidth = 26;
    items_.itemHeight = traits.menuItemHeight;
    items_.separatorHeight = traits.menuSeparatorHeight;
    items_.separatorColor = QColor::fromRgb(traits.menuSeparatorColor);
    items_.barColor = look.color(SkinColor::MenuBar);
    items_.color = look.color(SkinColor::MenuBackground);
    items_.fontColor = look.color(SkinColor::MenuFont);
    items_.selectedBorderColor = look.color(SkinColor::MenuSelectedBorder);
    items_.selectedColor = look.color(SkinColor::MenuSelectedBackground);
    items_.selectedFontColor = look.color(SkinColor::MenuSelectedFont);
    items_.formBackground = look.color(SkinColor::FormBackground);
    changed();
}

void TsuiSkinnedMenu::setMenuItemHeight(int height) {
    if (look().traits().texturedMenus || height == items_.itemHeight)
        return;
    items_.itemHeight = height;
    changed();
}

void TsuiSkinnedMenu::setSeparatorHeight(int height) {
    if (look().traits().texturedMenus || height == items_.separatorHeight)
        return;
    items_.separatorHeight = height;
    changed();
}

#define ZD7240_MENU_SETTER(setter, field)                                                          \
    void TsuiSkinnedMenu::setter(const QColor& color) {                                            \
        if (color == items_.field)                                                                 \
            return;                                                                                \
        items_.field = color;                                                                      \
        changed();                                                                                 \
    }
ZD7240_MENU_SETTER(setBarColor, barColor)
ZD7240_MENU_SETTER(setColor, color)
ZD7240_MENU_SETTER(setSeparatorColor, separatorColor)
ZD7240_MENU_SETTER(setSelectedBorderColor, selectedBorderColor)
ZD7240_MENU_SETTER(setSelectedColor, selectedColor)
ZD7240_MENU_SETTER(setSelectedFontColor, selectedFontColor)
ZD7240_MENU_SETTER(setFontColor, fontColor)
#undef ZD7240_MENU_SETTER

void TsuiSkinnedMenu::setBarWidth(int width) {
    width = qMax(0, width);
    if (width == items_.barWidth)
        return;
    items_.barWidth = width;
    changed();
}

void TsuiSkinnedMenu::setFlatMenu(bool flat) {
    if (flat == items_.flatMenu)
        return;
    items_.flatMenu = flat;
    changed();
}

void TsuiSkinnedMenu::setFontName(const QString& name) {
    fontName_ = name;
    updateFont();
}

void TsuiSkinnedMenu::setFontSize(int points) {
    fontSize_ = points;
    updateFont();
}

void TsuiSkinnedMenu::setUseSystemFont(bool use) {
    useSystemFont_ = use;
    updateFont();
}

void TsuiSkinnedMenu::updateFont() {
    if (useSystemFont_) {
        items_.font = QApplication::font("QMenu");
    } else {
        QFont font(fontName_);
        // Points at the fixed 96 pixels per inch of the window descriptions (8 pt: 11 px).
        font.setPixelSize(qMax(1, (fontSize_ * 96 + 36) / 72));
        items_.font = font;
    }
    changed();
}

void TsuiSkinnedMenu::changed() {
    for (const QPointer<QMenu>& menu : std::as_const(attached_)) {
        if (menu) {
            menu->setFont(items_.font);
            // Qt measures its items again only when told that something changed.
            QEvent event(QEvent::StyleChange);
            QCoreApplication::sendEvent(menu, &event);
            menu->update();
        }
    }
    menuLookChanged();
}

void TsuiSkinnedMenu::AttachMenuDrawHandlers(QMenu* menu) {
    if (!menu)
        return;
    if (!attached_.contains(menu)) {
        attached_.removeAll(QPointer<QMenu>());
        attached_.append(menu);
        menu->setStyle(menuStyle_);
        menu->setFont(items_.font);
        menu->installEventFilter(watcher_);
    }
    for (QAction* action : menu->actions())
        AttachMenuDrawHandlers(action);
}

void TsuiSkinnedMenu::AttachMenuDrawHandlers(QAction* item) {
    if (!item)
        return;
    if (!item->isSeparator() && IsMenuSeparatorCaption(item->text()))
        item->setSeparator(true);
    if (QMenu* sub = item->menu())
        AttachMenuDrawHandlers(sub);
}
