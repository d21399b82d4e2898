#include "chrome/framemenubar.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QTimer>

#include "chrome/framemenubarbutton.h"
#include "chrome/tsuimainmenu.h"
#include "look/looktraits.h"
#include "look/systemcolors.h"

FrameMenuBar::FrameMenuBar(QWidget* frame) : QToolBar(frame) {
    setObjectName(QStringLiteral("MenuBar"));
    setMovable(false);
    setFloatable(false);
    setFocusPolicy(Qt::NoFocus);
    setFixedHeight(barHeight_);
    qApp->installEventFilter(this);
}

FrameMenuBar::~FrameMenuBar() {
    qApp->removeEventFilter(this);
    if (openMenu_)
        openMenu_->removeEventFilter(this);
}

void FrameMenuBar::setMenu(TsuiMainMenu* menu) {
    if (menu == menu_)
        return;
    if (menu_)
        disconnect(menu_, nullptr, this, nullptr);
    menu_ = menu;
    if (menu_) {
        connect(menu_, &TsuiMainMenu::ItemsChanged, this, &FrameMenuBar::RebuildMenuBar);
        connect(menu_, &TsuiMainMenu::ItemChanged, this, &FrameMenuBar::RefreshMenuBar);
        connect(menu_, &TsuiMainMenu::LookChanged, this, &FrameMenuBar::ApplyMenuBarFont);
        connect(menu_, &QObject::destroyed, this, &FrameMenuBar::RebuildMenuBar);
    }
    ApplyMenuBarFont();
    RebuildMenuBar();
}

void FrameMenuBar::RebuildMenuBar() {
    if (openMenu_)
        openMenu_->close();
    qDeleteAll(buttons_);
    buttons_.clear();
    hotIndex_ = -1;
    if (menu_) {
        for (QAction* item : menu_->actions()) {
            auto* button = new FrameMenuBarButton(item, this);
            button->setFont(font());
            const int index = int(buttons_.size());
            connect(button, &QAbstractButton::pressed, this, [this, index] {
                // A press of the mouse, or the access key (which presses the button too).
                OpenMenu(index, QGuiApplication::mouseButtons() == Qt::NoButton);
            });
            buttons_.append(button);
            button->show();
        }
    }
    layoutButtons();
    update();
}

void FrameMenuBar::RefreshMenuBar() {
    for (FrameMenuBarButton* button : std::as_const(buttons_))
        button->Refresh();
    layoutButtons();
}

void FrameMenuBar::ApplyMenuBarFont() {
    if (menu_) {
        setFont(menu_->ItemFont());
        for (FrameMenuBarButton* button : std::as_const(buttons_))
            button->setFont(font());
        layoutButtons();
    }
    update();
    for (FrameMenuBarButton* button : std::as_const(buttons_))
        button->update();
}

void FrameMenuBar::setBarColor(const QColor& color) {
    barColor_ = color;
    update();
}

void FrameMenuBar::setBarHeight(int height) {
    barHeight_ = qMax(0, height);
    setFixedHeight(barHeight_);
    layoutButtons();
}

void FrameMenuBar::layoutButtons() {
    // Left to right in menu order, each as wide as its caption wants.
    int x = 0;
    for (FrameMenuBarButton* button : std::as_const(buttons_)) {
        const QSize size = button->sizeHint();
        button->setGeometry(x, 0, size.width(), barHeight_);
        x += size.width();
    }
}

MenuBarButtonFace FrameMenuBar::ButtonFace(const FrameMenuBarButton* button) const {
    MenuBarButtonFace face;
    const int index = int(buttons_.indexOf(const_cast<FrameMenuBarButton*>(button)));
    face.caption = button->text();
    face.enabled = button->isEnabled();
    face.hot = index == hotIndex_ || (openIndex_ < 0 && button->underMouse());
    face.selected = index == openIndex_ || button->isDown();
    face.font = button->font();
    face.fontColor = SystemColorValue(SystemColor::WindowText);
    if (menu_) {
        const SkinLook& look = menu_->look();
        face.textured = menu_->look().traits().texturedMenus;
        face.selectTexture = menu_->ItemLook().selectTexture;
        face.selectedBorderColor = look.color(SkinColor::MenuSelectedBorder);
        face.selectedColor = look.color(SkinColor::MenuSelectedBackground);
        face.selectedFontColor = look.color(SkinColor::MenuSelectedFont);
        if (!menu_->UseSystemFont())
            face.fontColor = menu_->FontColor();
    }
    return face;
}

void FrameMenuBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const bool textured = menu_ && menu_->look().traits().texturedMenus;
    PaintMenuBar(painter, rect(), textured ? menu_->ItemLook().barTexture : QImage(), barColor_);
}

void FrameMenuBar::resizeEvent(QResizeEvent* event) {
    QToolBar::resizeEvent(event);
    layoutButtons();
}

int FrameMenuBar::nextEnabled(int from, int step) const {
    const int count = int(buttons_.size());
    for (int i = 1; i <= count; ++i) {
        const int index = ((from + step * i) % count + count) % count;
        if (buttons_[index]->isEnabled())
            return index;
    }
    return -1;
}

int FrameMenuBar::buttonAt(QPoint globalPos) const {
    for (int i = 0; i < buttons_.size(); ++i) {
        const FrameMenuBarButton* button = buttons_[i];
        if (button->isVisible() && button->rect().contains(button->mapFromGlobal(globalPos)))
            return i;
    }
    return -1;
}

void FrameMenuBar::setHot(int index) {
    if (index == hotIndex_)
        return;
    hotIndex_ = index;
    for (FrameMenuBarButton* button : std::as_const(buttons_))
        button->update();
}

void FrameMenuBar::leaveKeyboardMode() {
    setHot(-1);
}

void FrameMenuBar::OpenMenu(int index, bool fromKeyboard) {
    if (index < 0 || index >= buttons_.size())
        return;
    FrameMenuBarButton* button = buttons_[index];
    QAction* item = button->Item();
    QMenu* menu = item ? item->menu() : nullptr;
    if (!menu || !button->isEnabled())
        return;
    if (openMenu_) {
        if (openMenu_ == menu)
            return;
        // One menu at a time: the next opens once this one is gone.
        switchTo_ = index;
        switchFromKeyboard_ = fromKeyboard;
        openMenu_->close();
        return;
    }
    setHot(-1);
    openIndex_ = index;
    openMenu_ = menu;
    returnToBar_ = false;
    openedFromKeyboard_ = fromKeyboard;
    menu->installEventFilter(this);
    // A click on the same button closes the menu without opening it again.
    menu->setNoReplayFor(button);
    connect(menu, &QMenu::aboutToHide, this, &FrameMenuBar::menuHidden, Qt::UniqueConnection);
    menu->popup(button->mapToGlobal(QPoint(0, button->height())));
    if (fromKeyboard) {
        for (QAction* action : menu->actions()) {
            if (!action->isSeparator() && action->isEnabled() && action->isVisible()) {
                menu->setActiveAction(action);
                break;
            }
        }
    }
    for (FrameMenuBarButton* b : std::as_const(buttons_))
        b->update();
}

void FrameMenuBar::menuHidden() {
    QMenu* menu = openMenu_;
    const int closed = openIndex_;
    if (menu) {
        menu->removeEventFilter(this);
        disconnect(menu, &QMenu::aboutToHide, this, &FrameMenuBar::menuHidden);
    }
    openMenu_ = nullptr;
    openIndex_ = -1;
    // The pointer's enter and leave went to the menu while it was open: a button shows
    // hover again only when the pointer really is over it now.
    const QPoint pointer = QCursor::pos();
    for (FrameMenuBarButton* button : std::as_const(buttons_)) {
        button->setDown(false);
        if (!button->rect().contains(button->mapFromGlobal(pointer)))
            button->setAttribute(Qt::WA_UnderMouse, false);
        button->update();
    }
    if (switchTo_ >= 0) {
        const int next = switchTo_;
        const bool keyboard = switchFromKeyboard_;
        switchTo_ = -1;
        // After the closing menu has finished hiding.
        QTimer::singleShot(0, this, [this, next, keyboard] { OpenMenu(next, keyboard); });
    } else if (returnToBar_) {
        returnToBar_ = false;
        setHot(closed);
    }
}

bool FrameMenuBar::inThisWindow(const QObject* object) const {
    const auto* widget = qobject_cast<const QWidget*>(object);
    return widget && widget->window() == window() && isVisible();
}

bool FrameMenuBar::menuKey(QKeyEvent* key) {
    switch (key->key()) {
    case Qt::Key_Right: {
        // Into a sub-menu first, when the item under the selection has one.
        const QAction* active = openMenu_->activeAction();
        if (active && active->menu())
            return false;
        OpenMenu(nextEnabled(openIndex_, 1), true);
        return true;
    }
    case Qt::Key_Left:
        OpenMenu(nextEnabled(openIndex_, -1), true);
        return true;
    case Qt::Key_Escape:
        // A menu opened from the keyboard goes back to the bar, with the item
        // highlighted, as it closes; one opened with the mouse simply closes.
        returnToBar_ = openedFromKeyboard_;
        return false;
    default:
        return false;
    }
}

bool FrameMenuBar::barKey(QKeyEvent* key) {
    switch (key->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
        setHot(nextEnabled(hotIndex_, key->key() == Qt::Key_Right ? 1 : -1));
        return true;
    case Qt::Key_Down:
    case Qt::Key_Up:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        OpenMenu(hotIndex_, true);
        return true;
    case Qt::Key_Escape:
        leaveKeyboardMode();
        return true;
    case Qt::Key_Alt:
        altPressed_ = true;
        return true;
    default:
        break;
    }
    // An access key without Alt opens its item.
    const QKeySequence pressed(key->key());
    for (int i = 0; i < buttons_.size(); ++i) {
        const QKeySequence mnemonic = QKeySequence::mnemonic(buttons_[i]->text());
        if (!mnemonic.isEmpty() && mnemonic[0].key() == Qt::Key(key->key()) &&
            buttons_[i]->isEnabled()) {
            OpenMenu(i, true);
            return true;
        }
    }
    return true; // the bar has the keyboard until it is left
}

bool FrameMenuBar::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (openMenu_ && watched == openMenu_) {
        if (type == QEvent::KeyPress)
            return menuKey(static_cast<QKeyEvent*>(event));
        if (type == QEvent::MouseMove) {
            // Moving onto another button while a menu is open opens that button's menu.
            const int over = buttonAt(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
            if (over >= 0 && over != openIndex_ && buttons_[over]->isEnabled())
                OpenMenu(over, false);
        }
        return false;
    }
    if (buttons_.isEmpty())
        return false;
    switch (type) {
    case QEvent::KeyPress: {
        if (!inThisWindow(watched))
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (hotIndex_ >= 0)
            return barKey(key);
        altPressed_ = key->key() == Qt::Key_Alt && (key->modifiers() & ~Qt::AltModifier) == 0;
        return false;
    }
    case QEvent::KeyRelease: {
        if (!inThisWindow(watched))
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Alt || !altPressed_ || key->isAutoRepeat())
            return false;
        // Alt alone: into the bar, or out of it again.
        altPressed_ = false;
        if (hotIndex_ >= 0)
            leaveKeyboardMode();
        else if (!openMenu_)
            setHot(nextEnabled(-1, 1));
        return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::WindowDeactivate:
    case QEvent::FocusOut:
        if (inThisWindow(watched)) {
            altPressed_ = false;
            if (type != QEvent::FocusOut)
                leaveKeyboardMode();
        }
        return false;
    default:
        return false;
    }
}
