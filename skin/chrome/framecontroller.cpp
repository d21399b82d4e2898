#include "chrome/framecontroller.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>
#include <QWindow>

#include "chrome/chromegeometry.h"
#include "chrome/tsuiform.h"
#include "chrome/windowfitting.h"

namespace {
Qt::CursorShape CursorFor(Qt::Edges edges) {
    const bool diagonalDown =
        edges == (Qt::TopEdge | Qt::LeftEdge) || edges == (Qt::BottomEdge | Qt::RightEdge);
    const bool diagonalUp =
        edges == (Qt::TopEdge | Qt::RightEdge) || edges == (Qt::BottomEdge | Qt::LeftEdge);
    if (diagonalDown)
        return Qt::SizeFDiagCursor;
    if (diagonalUp)
        return Qt::SizeBDiagCursor;
    if (edges & (Qt::LeftEdge | Qt::RightEdge))
        return Qt::SizeHorCursor;
    return Qt::SizeVerCursor;
}
} // namespace

FrameController::FrameController(QWidget* host, TsuiForm* frame)
    : QObject(frame), host_(host), frame_(frame) {
    host_->installEventFilter(this);
    watchWindowHandle();
}

FrameController::~FrameController() {
    setEdgeCursor({});
    if (window_)
        window_->removeEventFilter(this);
    host_->removeEventFilter(this);
}

Qt::Edges FrameController::edgesAt(QPoint hostPos) const {
    const bool resizable = frame_->HostSizeable() && host_->isWindow() &&
                           !chrome::IsMaximized(host_) &&
                           !(host_->windowState() & Qt::WindowFullScreen);
    return chrome::EdgesAt(hostPos, host_->size(), chrome::kResizeBand, resizable);
}

void FrameController::watchWindowHandle() {
    QWindow* handle = host_->windowHandle();
    if (handle == window_)
        return;
    if (window_)
        window_->removeEventFilter(this);
    window_ = handle;
    if (window_)
        window_->installEventFilter(this);
}

bool FrameController::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_)
        return filterWindowMouse(event);
    if (watched != host_)
        return false;
    switch (event->type()) {
    case QEvent::Paint: {
        // The host's own background is filled already; the strips go on top of it.
        QPainter painter(host_);
        frame_->PaintHostBorder(painter);
        break;
    }
    case QEvent::Resize:
        frame_->hostResized();
        break;
    case QEvent::WindowStateChange:
        frame_->hostStateChanged();
        break;
    case QEvent::WindowActivate:
        frame_->titleBar_->setFormActive(true);
        break;
    case QEvent::WindowDeactivate:
        frame_->titleBar_->setFormActive(false);
        break;
    case QEvent::KeyPress: {
        // A key no control of the window took (a shortcut Qt knows of never arrives as a
        // key press, so nothing runs twice): the menu's shortcuts have it.
        auto* key = static_cast<QKeyEvent*>(event);
        if (frame_->HandleMenuShortCut(*key)) {
            key->accept();
            return true;
        }
        break;
    }
    case QEvent::Show:
    case QEvent::WinIdChange:
        watchWindowHandle();
        break;
    case QEvent::Hide:
        setEdgeCursor({});
        break;
    default:
        break;
    }
    return false;
}

bool FrameController::filterWindowMouse(QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (drag_.active()) {
            if (mouse->buttons() & Qt::LeftButton)
                drag_.move(mouse->globalPosition().toPoint(), mouse->position().toPoint());
            else
                drag_.release();
            return true;
        }
        if (mouse->buttons() == Qt::NoButton)
            setEdgeCursor(edgesAt(mouse->position().toPoint()));
        return false;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton)
            return false;
        const Qt::Edges edges = edgesAt(mouse->position().toPoint());
        if (!edges)
            return false;
        drag_.press(host_, mouse->globalPosition().toPoint(), edges);
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (drag_.active()) {
            drag_.release();
            return true;
        }
        return false;
    case QEvent::Leave:
        if (!drag_.active())
            setEdgeCursor({});
        return false;
    default:
        return false;
    }
}

void FrameController::setEdgeCursor(Qt::Edges edges) {
    if (edges == cursorEdges_)
        return;
    if (cursorEdges_)
        QGuiApplication::restoreOverrideCursor();
    cursorEdges_ = edges;
    if (edges)
        QGuiApplication::setOverrideCursor(CursorFor(edges));
}
