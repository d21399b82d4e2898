#pragma once
// Handing a drag on the chrome to an X11 window manager (_NET_WM_MOVERESIZE), done here
// rather than through QWindow::startSystemMove so that the manager is told the press
// position itself, not the last pointer position Qt happened to read: the manager then
// counts the move from the point the pointer grabbed, however late the hand-over comes.
// Each function does nothing (and says so) where the window is not on an X server.

#include <QPoint>
#include <Qt>

#include "chrome/framegesture.h"

class QWindow;

namespace chrome {

// What the X server says of the left button right now. Unknown where the window is not
// on an X server or the server did not answer.
ButtonNow LeftButtonNow(const QWindow& window);

enum class ManagerDrag {
    NotX11,  // not an X11 window: the caller goes through Qt
    Refused, // no window manager that takes _NET_WM_MOVERESIZE
    Started, // the manager was asked to move (no edges) or resize the window
};

// Asks the window manager to move the window (edges empty) or resize it by `edges`,
// counted from `pressGlobal`, the press position in Qt's global coordinates.
ManagerDrag StartManagerDrag(QWindow& window, QPoint pressGlobal, Qt::Edges edges);

// Tells the window manager to stop a move or resize it was asked for: used when the
// button came up before the manager took the pointer, so that the manager does not hold
// the pointer until the next click.
void CancelManagerDrag(QWindow& window);

} // namespace chrome
