#pragma once
// How the menu bar of a skinned frame paints itself and its buttons (one button per
// top-level item of the main menu).

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>

class QPainter;

struct MenuBarButtonFace {
    QRect rect;            // the whole button
    QString caption;       // an ampersand marks the access key
    bool hot = false;      // under the mouse, or chosen with the keyboard
    bool selected = false; // pressed, or its menu is open
    bool enabled = true;
    bool textured = false; // MacOS: the selection texture instead of fill and frame
    QImage selectTexture;  // null when missing
    QColor selectedBorderColor;
    QColor selectedColor;
    QColor selectedFontColor;
    QColor fontColor;
    QFont font;
};

void PaintMenuBarButton(QPainter& painter, const MenuBarButtonFace& face);

// The bar: the texture stretched over it when given, its colour otherwise.
void PaintMenuBar(QPainter& painter, const QRect& rect, const QImage& texture, const QColor& color);
