#include "controls/tsuigroupbox.h"

#include <QEvent>
#include <QFontInfo>
#include <QPainter>

#include "controls/groupboxface.h"
#include "drawing/drawingoperations.h"
#include "look/systemcolors.h"

namespace {

constexpr QSize kNewBoxSize(185, 105);

} // namespace

TsuiGroupBox::TsuiGroupBox(QWidget* owner)
    : QGroupBox(owner), TsuiSkinned(this, owner, LookScope::SelfAndChildren),
      borderColor_(look().color(SkinColor::ControlBorder)) {
    resize(kNewBoxSize);
    keepChildMargins();
}

void TsuiGroupBox::setBorderColor(const QColor& color) {
    if (color == borderColor_)
        return;
    borderColor_ = color;
    update();
}

QColor TsuiGroupBox::Color() const {
    return palette().color(QPalette::Window);
}

void TsuiGroupBox::setColor(const QColor& color) {
    if (color == Color())
        return;
    QPalette p = palette();
    p.setColor(QPalette::Window, color);
    setPalette(p);
}

void TsuiGroupBox::setTransparent(bool transparent) {
    if (transparent == transparent_)
        return;
    transparent_ = transparent;
    update();
}

void TsuiGroupBox::styleUpdated(const SkinLook& look) {
    setBorderColor(look.color(SkinColor::ControlBorder));
    const QColor font = look.color(SkinColor::ControlFont);
    if (palette().color(QPalette::WindowText) != font) {
        QPalette p = palette();
        p.setColor(QPalette::WindowText, font);
        setPalette(p);
    }
}

int TsuiGroupBox::fontHeight() const {
    // The height the font was asked for: the frame and the children are placed from it.
    // A face drawn from bitmap strikes reports the height of its nearest strike instead
    // (13 for the window's 11-pixel font), which would put the top line a pixel low.
    const QFont requested = font();
    return requested.pixelSize() > 0 ? requested.pixelSize() : QFontInfo(requested).pixelSize();
}

void TsuiGroupBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (transparent_)
        DrawParentBackground(painter, this);
    else
        painter.fillRect(rect(), Color());

    GroupBoxFace face;
    face.rect = rect();
    face.border = borderColor_;
    face.caption = title();
    face.font = font();
    face.fontHeight = fontHeight();
    face.captionColor = isEnabled() ? palette().color(QPalette::WindowText)
                                    : SystemColorValue(SystemColor::GrayText);
    PaintGroupBoxFrame(painter, face);
}

void TsuiGroupBox::changeEvent(QEvent* event) {
    QGroupBox::changeEvent(event);
    switch (event->type()) {
    case QEvent::EnabledChange: {
        // Only a change of the box's own Enabled is passed on; a disabled ancestor
        // disables the children through Qt already.
        const bool disabledItself = testAttribute(Qt::WA_ForceDisabled);
        if (disabledItself != disabledItself_) {
            disabledItself_ = disabledItself;
            for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                child->setEnabled(!disabledItself);
        }
        update();
        break;
    }
    case QEvent::FontChange:
    case QEvent::StyleChange:
    case QEvent::ContentsRectChange:
        // QGroupBox sets the style's margins on a new caption, font or style.
        keepChildMargins();
        break;
    default:
        break;
    }
}

void TsuiGroupBox::keepChildMargins() {
    const QMargins margins = GroupBoxChildMargins(fontHeight());
    if (contentsMargins() != margins)
        setContentsMargins(margins);
}
