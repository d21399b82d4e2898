#include "controls/tsuicustombutton.h"

#include <QDialog>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "drawing/drawingoperations.h"
#include "look/systemcolors.h"

namespace {

bool IsEnterKey(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// Enter, Esc and the like without Shift, Ctrl or Alt (the keypad flag does not count).
bool Unmodified(const QKeyEvent* event) {
    return (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

} // namespace

TsuiCustomButton::TsuiCustomButton(QWidget* owner) : QPushButton(owner) {
    // Enter is handled by the button itself and by the Default/Cancel watch below, not by
    // QDialog's default-button logic, which would otherwise click a second button.
    setAutoDefault(false);
    setFocusPolicy(Qt::StrongFocus);
    continuousTimer_.setTimerType(Qt::PreciseTimer);
    connect(&continuousTimer_, &QTimer::timeout, this, &TsuiCustomButton::OnMouseContinuouslyDown);
    // Connected first, so it runs before every OnClick handler connected later.
    connect(this, &QAbstractButton::clicked, this, &TsuiCustomButton::beforeClick);
}

TsuiCustomButton::~TsuiCustomButton() {
    if (keyWindow_)
        keyWindow_->removeEventFilter(this);
}

void TsuiCustomButton::setCaption(const QString& caption) {
    setText(caption);
    update();
}

void TsuiCustomButton::setAutoSize(bool on) {
    autoSize_ = on;
    applyAutoSize();
    update();
}

void TsuiCustomButton::setCancel(bool on) {
    cancel_ = on;
    watchDialogKeys();
}

void TsuiCustomButton::setDefault_(bool on) {
    default_ = on;
    watchDialogKeys();
}

void TsuiCustomButton::setTransparent(bool on) {
    transparent_ = on;
    update();
}

void TsuiCustomButton::setFocusedRectMargin(int margin) {
    focusedRectMargin_ = margin;
    update();
}

QImage TsuiCustomButton::stateFrame(ButtonState) const {
    return QImage();
}

ButtonState TsuiCustomButton::state() const {
    if (!isEnabled())
        return ButtonState::Disabled;
    if (isDown())
        return ButtonState::Pressed;
    if (hover_)
        return ButtonState::Hover;
    return ButtonState::Normal;
}

ButtonFace TsuiCustomButton::face() const {
    ButtonFace face;
    face.size = size();
    face.state = state();
    face.skin = stateFrame(face.state);
    face.stretchSkin = stretchesSkin();
    face.skinTransparent = transparent_;
    const bool focusMark = hasFocus() && (focusPolicy() & Qt::TabFocus);
    face.focusRect = focusMark && !marksFocusBold();
    face.boldCaption = focusMark && marksFocusBold();
    face.focusMargin = focusedRectMargin_;
    face.caption = text();
    face.font = font();
    face.textColor = palette().color(QPalette::ButtonText);
    return face;
}

void TsuiCustomButton::applyAutoSize() {
    if (autoSize_)
        resize(ButtonAutoSize(skinStripSize()));
}

void TsuiCustomButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (transparent_) {
        DrawParentBackground(painter, this);
    } else {
        const QWidget* parent = parentWidget();
        painter.fillRect(rect(), parent ? parent->palette().color(parent->backgroundRole())
                                        : SystemColorValue(SystemColor::ButtonFace));
    }
    PaintButtonFace(painter, face());
}

void TsuiCustomButton::setHover(bool on) {
    if (hover_ == on)
        return;
    hover_ = on;
    update();
}

void TsuiCustomButton::stopContinuous() {
    continuousTimer_.stop();
}

void TsuiCustomButton::enterEvent(QEnterEvent* event) {
    setHover(true);
    Q_EMIT OnMouseEnter();
    QPushButton::enterEvent(event);
}

void TsuiCustomButton::leaveEvent(QEvent* event) {
    setHover(false);
    setDown(false);
    stopContinuous();
    Q_EMIT OnMouseExit();
    QPushButton::leaveEvent(event);
}

void TsuiCustomButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && !continuousTimer_.isActive())
        continuousTimer_.start(qMax(continuousInterval_, 0));
    QPushButton::mousePressEvent(event);
}

void TsuiCustomButton::mouseMoveEvent(QMouseEvent* event) {
    // Outside the button (its right and bottom edges count as inside) the pointer has
    // left it, even while a held button keeps the leave notification back: no hover, no
    // press, and no more continuous ticks.
    if (!PtInRectInclusive(event->position().toPoint(), rect())) {
        setHover(false);
        stopContinuous();
    } else if (!hover_ && (event->buttons() & Qt::LeftButton)) {
        setHover(true);
    }
    QPushButton::mouseMoveEvent(event);
}

void TsuiCustomButton::mouseReleaseEvent(QMouseEvent* event) {
    QPushButton::mouseReleaseEvent(event);
    // A release outside the button clicks nothing and ends the press all the same.
    if (event->button() == Qt::LeftButton)
        stopContinuous();
}

void TsuiCustomButton::keyPressEvent(QKeyEvent* event) {
    if (IsEnterKey(event->key()) && Unmodified(event)) {
        if (isEnabled() && !event->isAutoRepeat()) {
            keyDown_ = true;
            setDown(true);
        }
        event->accept();
        return;
    }
    QPushButton::keyPressEvent(event);
}

void TsuiCustomButton::keyReleaseEvent(QKeyEvent* event) {
    if (IsEnterKey(event->key())) {
        if (!event->isAutoRepeat() && keyDown_) {
            keyDown_ = false;
            if (isDown() && isEnabled()) {
                setDown(false);
                click();
            }
        }
        event->accept();
        return;
    }
    QPushButton::keyReleaseEvent(event);
}

bool TsuiCustomButton::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::Shortcut:
        // The caption's accelerator clicks at once (Qt would animate the press first).
        if (isEnabled()) {
            click();
            return true;
        }
        return false;
    case QEvent::ParentChange:
        watchDialogKeys();
        break;
    case QEvent::FocusIn:
    case QEvent::FocusOut:
        keyDown_ = false;
        update();
        break;
    default:
        break;
    }
    return QPushButton::event(event);
}

void TsuiCustomButton::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange && !isEnabled()) {
        stopContinuous();
        setDown(false);
    }
    QPushButton::changeEvent(event);
}

void TsuiCustomButton::watchDialogKeys() {
    QWidget* target = (default_ || cancel_) ? window() : nullptr;
    if (target == this)
        target = nullptr;
    if (target == keyWindow_.data())
        return;
    if (keyWindow_)
        keyWindow_->removeEventFilter(this);
    keyWindow_ = target;
    if (target)
        target->installEventFilter(this);
}

// Enter and Esc that no control of the window took reach the window: the Default button
// answers Enter, the Cancel button Esc.
bool TsuiCustomButton::eventFilter(QObject* watched, QEvent* event) {
    if (watched == keyWindow_.data() && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool wanted =
            (IsEnterKey(key->key()) && default_) || (key->key() == Qt::Key_Escape && cancel_);
        if (wanted && Unmodified(key) && isVisible() && isEnabled()) {
            click();
            return true;
        }
    }
    return QPushButton::eventFilter(watched, event);
}

void TsuiCustomButton::beforeClick() {
    stopContinuous();
    if (isDown())
        setDown(false);
    if ((focusPolicy() & Qt::TabFocus) && isEnabled() && isVisible())
        setFocus(Qt::OtherFocusReason);
    handToDialog();
}

// The dialog's result is the button's ModalResult (0 included); a non-zero result ends a
// modal dialog once the click's own handlers have run.
void TsuiCustomButton::handToDialog() {
    auto* dialog = qobject_cast<QDialog*>(window());
    if (!dialog || dialog == static_cast<QWidget*>(this))
        return;
    const int result = modalResult_;
    dialog->setResult(result);
    if (result != 0 && dialog->isModal()) {
        QMetaObject::invokeMethod(
            dialog, [dialog, result] { dialog->done(result); }, Qt::QueuedConnection);
    }
}
