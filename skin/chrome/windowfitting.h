#pragma once
// Maximizing and restoring a frameless top-level window.
//
// The window manager does the work where there is one. Without a window manager
// showMaximized() only records the state and the window keeps its size, so after a short
// settling time a window that is marked maximized but still has its old geometry is given
// the screen's area by hand, and its old geometry back when it is restored. A maximized
// window is otherwise never resized: some window systems (Wayland) refuse it or drop the
// connection.

#include <QRect>

class QWidget;

namespace chrome {

// How long the window system gets to carry out a state change before the fall-back.
inline constexpr int kStateSettleMs = 300;

// `fitToWorkArea`: the window manager-less fall-back fills the screen's available area
// (leaving task bars free) rather than the whole screen.
void MaximizeWindow(QWidget* window, bool fitToWorkArea);
// Whether the window is maximized: by the window system, or by the fall-back. Without a
// window manager Qt soon reads the window's state back as normal, though the fall-back
// has given it the whole screen, so the window's own state alone does not tell.
bool IsMaximized(const QWidget* window);
void RestoreWindow(QWidget* window);
// Restores a maximized window, maximizes any other.
void ToggleMaximized(QWidget* window, bool fitToWorkArea);

} // namespace chrome
