#include "controls/tsuicombobox.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QPainter>

#include "controls/comboboxaccessible.h"
#include "controls/comboboxface.h"
#include "drawing/drawingoperations.h"
#include "look/looktraits.h"

namespace {
// Installed before any box exists: with a screen reader running, Qt asks for a box's
// interface while the box is built (its items, its name), and keeps what it got.
[[maybe_unused]] const bool kAccessibilityInstalled = (InstallComboBoxAccessibility(), true);
} // namespace

TsuiComboBox::TsuiComboBox(QWidget* owner)
    : QComboBox(owner), TsuiSkinned(this, owner),
      borderColor_(look().color(SkinColor::ControlBorder)),
      buttonColor_(look().color(SkinColor::FormBackground)), arrowColor_(Qt::black) {
    setEditable(false);
}

void TsuiComboBox::setBorderColor(const QColor& color) {
    if (color == borderColor_)
        return;
    borderColor_ = color;
    update();
    if (list_ && list_->isVisible())
        list_->update();
}

void TsuiComboBox::setButtonColor(const QColor& color) {
    if (color == buttonColor_)
        return;
    buttonColor_ = color;
    update();
}

void TsuiComboBox::setArrowColor(const QColor& color) {
    if (color == arrowColor_)
        return;
    arrowColor_ = color;
    update();
}

QColor TsuiComboBox::Color() const {
    return palette().color(QPalette::Base);
}

void TsuiComboBox::setColor(const QColor& color) {
    if (color == Color())
        return;
    QPalette p = palette();
    p.setColor(QPalette::Base, color);
    setPalette(p);
}

void TsuiComboBox::styleUpdated(const SkinLook& look) {
    setArrowColor(Qt::black);
    setBorderColor(look.color(SkinColor::ControlBorder));
    setButtonColor(look.color(SkinColor::FormBackground));
}

void TsuiComboBox::paintEvent(QPaintEvent*) {
    ComboBoxFace face;
    face.rect = rect();
    face.button = ComboButtonRect(size());
    face.border = borderColor_;
    face.color = Color();
    face.buttonColor = buttonColor_;
    face.arrowColor = arrowColor_;
    face.enabled = isEnabled();
    // Only the two built-in looks that have a button picture use it; a picture that is
    // missing from the program gives the plain button, with the arrow drawn on it.
    if (!look().usesFileTheme()) {
        const LookTraits& traits = look().traits();
        if (traits.comboButton) {
            const SkinFrameSet& picture = SkinLook::pictureSet(*traits.comboButton);
            if (!picture.fallback) {
                face.buttonPicture = picture.whole;
                face.drawArrow = traits.comboDrawsArrow;
            }
        }
    }
    face.text = currentText();
    face.font = font();
    face.textColor = palette().color(QPalette::Text);
    const bool listOpen = list_ && list_->isVisible();
    face.highlighted = hasFocus() && !listOpen;
    face.highlight = palette().color(QPalette::Highlight);
    face.highlightedText = palette().color(QPalette::HighlightedText);

    QPainter painter(this);
    PaintComboBox(painter, face);
}

void TsuiComboBox::showPopup() {
    QComboBox::showPopup();
    QWidget* list = view()->window();
    if (list != this && list != list_) {
        if (list_)
            list_->removeEventFilter(this);
        list_ = list;
        list_->installEventFilter(this);
    }
    update();
}

void TsuiComboBox::hidePopup() {
    QComboBox::hidePopup();
    // The item shows highlighted again, and nothing of the list's frame is left behind.
    update();
}

bool TsuiComboBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_ && event->type() == QEvent::Paint) {
        // The list's own painting first (through QObject::event, which is public), then
        // the frame over its edge.
        static_cast<QObject*>(list_.data())->event(event);
        QPainter painter(list_.data());
        FrameWindowedControl(painter, list_->rect(), borderColor_, QColor(), false);
        return true;
    }
    return QComboBox::eventFilter(watched, event);
}
