#pragma once
// What a tab row shows, gathered by the row from its state and its look, and the free
// function that paints it.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QSize>
#include <QStringList>

#include "controls/tabrowgeometry.h"
#include "look/skinlook.h"

struct TabRowFace {
    QSize size;
    tabrow::TabRowLayout layout;
    QStringList captions;
    QImage activeTab;   // each tab image is a left cap, a middle and a right cap
    QImage inactiveTab; // one frame of the tab strip
    QImage bar;         // stretched under the tabs
    SkinStrip<ScrollButtonFrame> scrollButtons;
    bool drawScrollButtons = false;
    tabrow::ScrollButtonRects buttons;
    int hover = 0; // -1 left button, 1 right button
    QColor borderColor;
    QFont font;
    QColor textColor;
};

class QPainter;

// The bar under the tabs with a side line at either end, the tabs with their captions
// (centred; left-aligned in a cut tab), then the scroll buttons. The background is left
// as it is: the row shows what lies behind its owner.
void PaintTabRow(QPainter& painter, const TabRowFace& face);
