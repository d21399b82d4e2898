#include "tsuiform.h"

#include <QPainter>

#include "styleselection.h"
#include "tsuimainmenu.h"

TsuiForm::TsuiForm(QWidget* owner)
    : QWidget(owner), binding_(owner, [this] {
          if (autoUpdateSub_)
              ApplyThemeToChildren(this, binding_.uiStyle(), binding_.fileTheme());
          update();
      }) {
    binding_.setThemeRemovedHook([this] {
        if (autoUpdateSub_)
            ApplyThemeToChildren(this, TsuiUIStyle::DeepBlue, nullptr);
    });
}

void TsuiForm::setCaption(const QString& caption) {
    caption_ = caption;
    window()->setWindowTitle(caption);
    update();
}

void TsuiForm::setBorderColor(const QColor& color) {
    if (color == borderColor_)
        return;
    borderColor_ = color;
    update();
}

void TsuiForm::setBorderWidth(int width) {
    if (width == borderWidth_ || width < 0)
        return;
    borderWidth_ = width;
    placeMenu();
    update();
}

void TsuiForm::setColor(const QColor& color) {
    if (color == color_)
        return;
    color_ = color;
    update();
}

void TsuiForm::setMenuBarColor(const QColor& color) {
    if (color == menuBarColor_)
        return;
    menuBarColor_ = color;
    if (menu_) {
        QPalette p = menu_->palette();
        p.setColor(QPalette::Window, color);
        p.setColor(QPalette::Button, color);
        menu_->setPalette(p);
    }
    update();
}

void TsuiForm::setMenuBarHeight(int height) {
    if (height == menuBarHeight_ || height < 0)
        return;
    menuBarHeight_ = height;
    placeMenu();
    update();
}

void TsuiForm::setMenu(TsuiMainMenu* menu) {
    if (menu == menu_)
        return;
    if (menu_)
        menu_->hide();
    menu_ = menu;
    if (menu_) {
        menu_->setParent(this);
        QPalette p = menu_->palette();
        p.setColor(QPalette::Window, menuBarColor_);
        p.setColor(QPalette::Button, menuBarColor_);
        menu_->setPalette(p);
        menu_->setAutoFillBackground(true);
        menu_->show();
    }
    placeMenu();
}

QRect TsuiForm::MenuBarRect() const {
    return QRect(borderWidth_, borderWidth_ + kTitleBarHeight, width() - 2 * borderWidth_,
                 menuBarHeight_);
}

void TsuiForm::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), color_);
    if (borderWidth_ > 0) {
        const QRect outer = rect();
        const QRect inner =
            outer.adjusted(borderWidth_, borderWidth_, -borderWidth_, -borderWidth_);
        QRegion ring = QRegion(outer).subtracted(QRegion(inner));
        painter.setClipRegion(ring);
        painter.fillRect(outer, borderColor_);
        painter.setClipping(false);
    }
    const QRect title(borderWidth_, borderWidth_, width() - 2 * borderWidth_, kTitleBarHeight);
    painter.setPen(palette().color(QPalette::WindowText));
    QFont titleFont = font();
    titleFont.setBold(true);
    painter.setFont(titleFont);
    painter.drawText(title, Qt::AlignCenter | Qt::TextSingleLine, caption_);
}

void TsuiForm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeMenu();
}

void TsuiForm::placeMenu() {
    if (menu_)
        menu_->setGeometry(MenuBarRect());
}
