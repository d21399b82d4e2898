#include "chrome/framemenubarbutton.h"

#include <QAction>
#include <QPainter>

#include "chrome/framemenubar.h"
#include "chrome/menubarpainter.h"

namespace {
// Room on either side of a caption.
constexpr int kCaptionPadding = 7;
} // namespace

FrameMenuBarButton::FrameMenuBarButton(QAction* item, FrameMenuBar* bar)
    : QToolButton(bar), item_(item), bar_(bar) {
    setAutoRaise(true);
    // Menus are reached with Alt, not with Tab.
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover);
    Refresh();
}

void FrameMenuBarButton::Refresh() {
    if (!item_)
        return;
    // The access key of "&Help" becomes Alt+H through the button's own shortcut.
    setText(item_->text());
    setAccessibleName(QString(item_->text()).remove(QLatin1Char('&')));
    setEnabled(item_->isEnabled());
    updateGeometry();
    update();
}

QSize FrameMenuBarButton::sizeHint() const {
    const QFontMetrics metrics(font());
    const QString shown = QString(text()).remove(QLatin1Char('&'));
    return QSize(metrics.horizontalAdvance(shown) + 2 * kCaptionPadding, bar_->BarHeight());
}

void FrameMenuBarButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    MenuBarButtonFace face = bar_->ButtonFace(this);
    face.rect = rect();
    PaintMenuBarButton(painter, face);
}
