#pragma once
// Moving or resizing a top-level window with the mouse, through the window system when it
// can and by hand when it cannot.
//
// A move is armed by the press and begins on the first movement after it, so that a
// click or a double click without movement still reaches the widget. It then asks the
// window system to take over (QWindow::startSystemMove/startSystemResize), which keeps
// the window under the window manager's control (snapping, work area, Wayland). When
// that returns false, as without a window manager, the window follows the pointer by
// hand until the release.
//
// After the window system took over, the release of the button goes to the window
// manager, and some Qt versions never deliver it to the window: the widget would stay
// pressed and the window glued to the pointer. So a release and a leave are posted to the
// window as soon as the window system has the drag.

#include <QPoint>
#include <QPointer>
#include <QRect>
#include <Qt>

class QWidget;

class WindowDrag {
public:
    // Arms a drag of `window` (a top-level widget) from the pointer at `globalPos`: a move
    // when edges is empty, else a resize by those edges.
    void press(QWidget* window, QPoint globalPos, Qt::Edges edges = {});
    // The pointer moved with the button held, to `globalPos` on the screen and
    // `windowPos` in the window's own coordinates (both as the event reported them).
    // Returns true when the event belongs to the drag.
    bool move(QPoint globalPos, QPoint windowPos);
    // The button came up (or the drag is to be forgotten).
    void release();

    bool armed() const { return state_ == State::Armed; }
    bool manual() const { return state_ == State::Manual; }
    bool active() const { return state_ != State::Idle; }

private:
    enum class State { Idle, Armed, Manual };

    bool startSystemDrag(QPoint globalPos, QPoint windowPos);

    QPointer<QWidget> window_;
    QPoint pressGlobal_;
    QRect startGeometry_;
    Qt::Edges edges_;
    State state_ = State::Idle;
};
