#pragma once
// How a skinned menu measures and paints its items and its window frame. The menu (its
// style, menustyle.h) fills a MenuItemFace from the item Qt asks about and calls these
// functions with the menu's resolved MenuItemLook.
//
// Rectangles follow the drawing rules' convention: an item's Right and Bottom are the
// first column and row outside it (rect.x() + rect.width()).

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QImage>
#include <QRect>
#include <QString>

class QFontMetrics;
class QPainter;

// Everything a menu draws its items with, resolved when its look or a property changes.
struct MenuItemLook {
    bool textured = false; // MacOS: items are cut from the menu textures
    int itemHeight = 21;
    int separatorHeight = 21;
    int barWidth = 0;
    QColor barColor;
    QColor color{Qt::white};
    QColor separatorColor{0x80, 0x80, 0x80};
    QColor selectedBorderColor;
    QColor selectedColor;
    QColor selectedFontColor{Qt::white};
    QColor fontColor{Qt::white};
    bool flatMenu = false;
    QColor formBackground; // the outer line of a flat menu frame
    QFont font;
    QImage barTexture;    // items and separators; null when missing
    QImage selectTexture; // the selected item; null when missing
    QImage checkMark;     // white already made transparent
};

// One item as Qt describes it.
struct MenuItemFace {
    QRect rect;
    QString caption; // an ampersand marks the access key
    QString shortcut;
    bool separator = false;
    bool selected = false;
    bool enabled = true;
    bool checked = false;
    bool isDefault = false; // drawn bold
    bool subMenu = false;
    QIcon image;
};

// Only a caption of exactly one hyphen makes a separator.
bool IsMenuSeparatorCaption(const QString& caption);

// The font an item is written in (bold for the menu's default item).
QFont MenuItemFont(const MenuItemLook& look, bool isDefault);

// Width: caption + shortcut text + bar width + 40; height: the separator or item height.
QSize MeasureMenuItem(const MenuItemLook& look, const QFontMetrics& metrics, const QString& caption,
                      const QString& shortcut, bool separator);

void PaintMenuItem(QPainter& painter, const MenuItemLook& look, const MenuItemFace& face);

// Width of the frame around a menu's items.
inline constexpr int kMenuFrameWidth = 3;

// The menu window's frame, kMenuFrameWidth wide, around a window of `size`: a raised
// classic edge, or with FlatMenu a flat black and white frame edged in the form colour.
void PaintMenuFrame(QPainter& painter, const MenuItemLook& look, QSize size);
