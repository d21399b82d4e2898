#include "chrome/windowdrag.h"

#include <QCoreApplication>
#include <QCursor>
#include <QLoggingCategory>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

#include "chrome/chromegeometry.h"

// QT_LOGGING_RULES="zd7240.chrome.debug=true" shows how each drag went.
Q_LOGGING_CATEGORY(lcDrag, "zd7240.chrome", QtWarningMsg)

void WindowDrag::press(QWidget* window, QPoint globalPos, Qt::Edges edges) {
    window_ = window;
    pressGlobal_ = globalPos;
    startGeometry_ = window ? window->geometry() : QRect();
    edges_ = edges;
    state_ = window ? State::Armed : State::Idle;
}

bool WindowDrag::move(QPoint globalPos, QPoint windowPos) {
    if (state_ == State::Idle || !window_)
        return false;
    if (state_ == State::Armed) {
        if (globalPos == pressGlobal_)
            return true;
        if (startSystemDrag(globalPos, windowPos)) {
            state_ = State::Idle;
            return true;
        }
        state_ = State::Manual;
    }
    const QPoint delta = globalPos - pressGlobal_;
    if (edges_)
        window_->setGeometry(
            chrome::ResizedGeometry(startGeometry_, edges_, delta, window_->minimumSize()));
    else
        window_->move(startGeometry_.topLeft() + delta);
    return true;
}

void WindowDrag::release() {
    state_ = State::Idle;
    window_ = nullptr;
}

bool WindowDrag::startSystemDrag(QPoint globalPos, QPoint windowPos) {
    QWindow* handle = window_->windowHandle();
    if (!handle)
        return false;
    // The window system is told where the pointer is from Qt's idea of the window's
    // position, which can lag behind the window manager's placement (right after the
    // window was mapped, Qt can still hold the position within the manager's frame).
    // The window would then jump by that error; a move by hand is right either way.
    if (handle->mapToGlobal(windowPos) != globalPos) {
        qCDebug(lcDrag) << "window position not yet known to Qt, moving by hand";
        return false;
    }
    const bool started = edges_ ? handle->startSystemResize(edges_) : handle->startSystemMove();
    qCDebug(lcDrag) << (edges_ ? "system resize" : "system move")
                    << (started ? "started" : "refused") << "at" << globalPos;
    if (!started)
        return false;
    // The window manager has the pointer now; make sure the window does not wait for a
    // release that may never come.
    const QPointF global = QCursor::pos();
    const QPointF local = handle->mapFromGlobal(global.toPoint());
    QCoreApplication::postEvent(handle,
                                new QMouseEvent(QEvent::MouseButtonRelease, local, global,
                                                Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
    QCoreApplication::postEvent(handle, new QEvent(QEvent::Leave));
    return true;
}
