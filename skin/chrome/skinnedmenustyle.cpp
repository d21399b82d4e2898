#include "chrome/skinnedmenustyle.h"

#include <QFontMetrics>
#include <QMenu>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOptionMenuItem>
#include <QWidgetAction>
#include <algorithm>

#include "chrome/menuitempainter.h"
#include "look/systemcolors.h"

namespace {

// Qt hands the shortcut after a tab in the item's text.
void SplitText(const QString& text, QString* caption, QString* shortcut) {
    const qsizetype tab = text.indexOf(QLatin1Char('\t'));
    *caption = tab < 0 ? text : text.left(tab);
    *shortcut = tab < 0 ? QString() : text.mid(tab + 1);
}

bool IsSeparator(const QStyleOptionMenuItem& item, const QString& caption) {
    return item.menuItemType == QStyleOptionMenuItem::Separator || IsMenuSeparatorCaption(caption);
}

bool IsItem(const QStyleOptionMenuItem& item) {
    switch (item.menuItemType) {
    case QStyleOptionMenuItem::Normal:
    case QStyleOptionMenuItem::DefaultItem:
    case QStyleOptionMenuItem::Separator:
    case QStyleOptionMenuItem::SubMenu:
        return true;
    default:
        return false;
    }
}

// What QMenu adds to the width of every item after the style has measured them all: its
// widest shortcut text (after a tab in the text, or the action's shortcut where Qt shows
// it) in the menu's font. The item widths this style answers already hold their own
// shortcut, so this is taken off again.
int ShortcutColumnWidth(const QMenu& menu) {
    const QFontMetrics metrics = menu.fontMetrics();
    int widest = 0;
    for (const QAction* action : menu.actions()) {
        if (!action->isVisible() || action->isSeparator() ||
            qobject_cast<const QWidgetAction*>(action))
            continue;
        const QString text = action->text();
        const qsizetype tab = text.indexOf(QLatin1Char('\t'));
        QString shortcut;
        if (tab >= 0)
            shortcut = text.mid(tab + 1);
        else if (action->isShortcutVisibleInContextMenu())
            shortcut = action->shortcut().toString(QKeySequence::NativeText);
        widest = std::max(widest, metrics.horizontalAdvance(shortcut));
    }
    return widest;
}

} // namespace

SkinnedMenuStyle::SkinnedMenuStyle(const MenuItemLook* look)
    : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))), look_(look) {}

QSize SkinnedMenuStyle::sizeFromContents(ContentsType type, const QStyleOption* option,
                                         const QSize& size, const QWidget* widget) const {
    switch (type) {
    case CT_MenuItem:
        if (const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
            item && IsItem(*item)) {
            QString caption;
            QString shortcut;
            SplitText(item->text, &caption, &shortcut);
            const bool isDefault = item->menuItemType == QStyleOptionMenuItem::DefaultItem;
            QSize measured = MeasureMenuItem(*look_, QFontMetrics(MenuItemFont(*look_, isDefault)),
                                             caption, shortcut, IsSeparator(*item, caption));
            // QMenu then adds its widest shortcut to every item; what is answered here is
            // less by that much, so that the menu ends up as wide as its widest measure.
            // (An item is never answered narrower than a pixel: Qt drops empty items. The
            // widest one is at least bar width + 40 wider than any shortcut.)
            if (const auto* menu = qobject_cast<const QMenu*>(widget))
                measured.setWidth(std::max(1, measured.width() - ShortcutColumnWidth(*menu)));
            return measured;
        }
        break;
    default:
        break;
    }
    return QProxyStyle::sizeFromContents(type, option, size, widget);
}

void SkinnedMenuStyle::drawControl(ControlElement element, const QStyleOption* option,
                                   QPainter* painter, const QWidget* widget) const {
    switch (element) {
    case CE_MenuItem:
        if (const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
            item && IsItem(*item)) {
            MenuItemFace face;
            face.rect = item->rect;
            SplitText(item->text, &face.caption, &face.shortcut);
            face.separator = IsSeparator(*item, face.caption);
            face.selected = item->state & State_Selected;
            face.enabled = item->state & State_Enabled;
            face.checked = item->checkType != QStyleOptionMenuItem::NotCheckable && item->checked;
            face.isDefault = item->menuItemType == QStyleOptionMenuItem::DefaultItem;
            face.subMenu = item->menuItemType == QStyleOptionMenuItem::SubMenu;
            face.image = item->icon;
            PaintMenuItem(*painter, *look_, face);
            return;
        }
        break;
    case CE_MenuEmptyArea:
        return; // the panel below already shows the menu colour
    default:
        break;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

void SkinnedMenuStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                     QPainter* painter, const QWidget* widget) const {
    switch (element) {
    case PE_PanelMenu:
        painter->fillRect(option->rect, SystemColorValue(SystemColor::ButtonFace));
        return;
    case PE_FrameMenu:
        PaintMenuFrame(*painter, *look_, option->rect.size());
        return;
    default:
        break;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

int SkinnedMenuStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                                  const QWidget* widget) const {
    switch (metric) {
    case PM_MenuPanelWidth:
        return kMenuFrameWidth;
    case PM_MenuHMargin:
    case PM_MenuVMargin:
        return 0;
    default:
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
}
