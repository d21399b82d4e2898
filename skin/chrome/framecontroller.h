#pragma once
// What a skinned frame does on its host window, as the host's own caption and border
// would: it follows the host's size and state, paints the border strips, tracks whether
// the window is active, and owns every gesture of the left mouse button on the chrome
// (one state machine, chrome/framegesture.h): dragging the caption moves the window,
// the 5-pixel band along every edge of a sizeable host resizes it, a double click on the
// caption maximizes and restores, on the control box closes. It also carries out what
// the title bar's buttons and system menu ask of the window (maximize, minimize, close).
//
// Moves and resizes go through the window system where it takes them (on X11 the window
// manager told the press position directly, chrome/windowmanagerdrag.h; elsewhere
// QWindow::startSystemMove/startSystemResize: snapping, work area, Wayland) and by hand
// where it refuses, as without a window manager. A drag is handed over at the press when
// the display server says the button is still down, else at the first motion
// (chrome/framegesture.h says why).
//
// The host's events are filtered for size, state, activation, painting and the key
// presses that reach the host, which go to the menu's shortcuts; the mouse is filtered
// on the host's QWindow, before any child widget sees it, so that the band works over
// the title bar and over every control near the edge. What lies under the pointer comes
// from the ordered hit test (chrome::HitTest): the band, the title buttons, the control
// box, the caption, the client area.

#include <QObject>
#include <QPointer>
#include <QRect>
#include <Qt>

#include "chrome/chromegeometry.h"
#include "chrome/framegesture.h"

class QMouseEvent;
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
    // What lies under a point of the host.
    chrome::ChromeHit hitAt(QPoint hostPos) const;
    chrome::FrameState state() const { return state_; }

    // Carries out a title bar's request on the host's window.
    void perform(chrome::WindowRequest request);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void watchWindowHandle();
    bool filterWindowMouse(QEvent* event);
    bool apply(chrome::FrameStep step, const QMouseEvent& mouse);
    bool resizable() const;
    bool movable() const;
    // Hands the drag to the window system (at the press or its first motion, the event's
    // positions given); false when it refuses, and the window follows the pointer by hand
    // from the press.
    bool startDrag(QPoint globalPos, QPoint windowPos);
    // After a hand-over: the widgets are told the button is up.
    void letGo();
    // By hand: the window placed for the pointer's distance from the press.
    void followPointer(QPoint globalPos);
    void setEdgeCursor(Qt::Edges edges);

    QWidget* host_;
    TsuiForm* frame_;
    QPointer<QWindow> window_;
    chrome::FrameState state_ = chrome::FrameState::Idle;
    QPoint pressGlobal_;
    QRect startGeometry_;
    Qt::Edges dragEdges_;
    Qt::Edges cursorEdges_;
};
