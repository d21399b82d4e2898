#pragma once
// The style a skinned menu gives its QMenus: Qt keeps doing everything a menu does (keys,
// mnemonics, scrolling, accessibility) and asks this style to measure and draw each item
// and the frame, which it does with the menu's MenuItemLook. Everything else goes to
// Fusion underneath.

#include <QProxyStyle>

struct MenuItemLook;

class SkinnedMenuStyle : public QProxyStyle {
    Q_OBJECT

public:
    // `look` belongs to the menu that owns this style and outlives it.
    explicit SkinnedMenuStyle(const MenuItemLook* look);

    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override;

private:
    const MenuItemLook* look_;
};
