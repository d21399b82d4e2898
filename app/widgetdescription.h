#pragma once
// The window as --describe prints it: every widget with its class, name, place, size,
// state, text and look, for checks that need no picture.

#include <QJsonArray>

class QWidget;

// One object per widget of `window` and its descendants (windows of their own, such as
// dialogs and popup lists, left out): class, name, x, y, width, height in the window's
// coordinates, visible, enabled, text (text or caption), and UIStyle for skinned controls.
QJsonArray DescribeWidgets(QWidget* window);
