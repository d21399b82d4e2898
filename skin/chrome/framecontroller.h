#pragma once
// What a skinned frame does on its host window, as the host's own caption and border
// would: it follows the host's size and state, paints the border strips, tracks whether
// the window is active and, for a sizeable host, resizes it from the 5-pixel band along
// every edge (through the window system, by hand when that refuses).
//
// The host's events are filtered for size, state, activation, painting and the key
// presses that reach the host, which go to the menu's shortcuts; the mouse is
// filtered on the host's QWindow, before any child widget sees it, so the band works
// over the title bar and over every control near the edge.

#include <QObject>
#include <QPointer>
#include <Qt>

#include "chrome/windowdrag.h"

class QWidget;
class QWindow;
class TsuiForm;

class FrameController : public QObject {
public:
    FrameController(QWidget* host, TsuiForm* frame);
    ~FrameController() override;

    // The edges under a point of the host, or none when the host cannot be resized now
    // (not sizeable, maximized, full screen).
    Qt::Edges edgesAt(QPoint hostPos) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void watchWindowHandle();
    bool filterWindowMouse(QEvent* event);
    void setEdgeCursor(Qt::Edges edges);

    QWidget* host_;
    TsuiForm* frame_;
    QPointer<QWindow> window_;
    WindowDrag drag_;
    Qt::Edges cursorEdges_;
};
