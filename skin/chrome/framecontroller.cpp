#include "chrome/framecontroller.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLoggingCategory>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>
#include <QWindow>

#include "chrome/tsuiform.h"
#include "chrome/windowfitting.h"
#include "chrome/windowmanagerdrag.h"

// QT_LOGGING_RULES="zd7240.chrome.debug=true" shows how each drag went.
Q_LOGGING_CATEGORY(lcDrag, "zd7240.chrome", QtWarningMsg)

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
    connect(frame_->TitleBar(), &TsuiTitleBar::windowRequested, this, &FrameController::perform);
}

FrameController::~FrameController() {
    setEdgeCursor({});
    if (window_)
        window_->removeEventFilter(this);
    host_->removeEventFilter(this);
}

bool FrameController::resizable() const {
    return frame_->HostSizeable() && host_->isWindow() && movable();
}

bool FrameController::movable() const {
    return !chrome::IsMaximized(host_) && !(host_->windowState() & Qt::WindowFullScreen);
}

Qt::Edges FrameController::edgesAt(QPoint hostPos) const {
    return chrome::EdgesAt(hostPos, host_->size(), chrome::kResizeBand, resizable());
}

chrome::ChromeHit FrameController::hitAt(QPoint hostPos) const {
    chrome::ChromeShape shape;
    shape.window = host_->size();
    shape.resizable = resizable();
    const TsuiTitleBar* bar = frame_->TitleBar();
    if (frame_->TitleBarVisible() && bar->isVisibleTo(host_)) {
        shape.titleBar = QRect(bar->mapTo(host_, QPoint(0, 0)), bar->size());
        shape.buttons = bar->ButtonLayout().rects;
        shape.controlBox = bar->ButtonLayout().controlBox;
    }
    return chrome::HitTest(shape, hostPos);
}

void FrameController::perform(chrome::WindowRequest request) {
    QWidget* window = host_->window();
    switch (request) {
    case chrome::WindowRequest::ToggleMaximized:
        chrome::ToggleMaximized(window, frame_->MaximizesToWorkArea());
        frame_->TitleBar()->RefreshMaxButtons();
        break;
    case chrome::WindowRequest::Minimize:
        window->showMinimized();
        break;
    case chrome::WindowRequest::Close:
        window->close();
        break;
    }
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
        frame_->HostResized();
        break;
    case QEvent::WindowStateChange:
        frame_->HostStateChanged();
        break;
    case QEvent::WindowActivate:
        frame_->TitleBar()->setFormActive(true);
        break;
    case QEvent::WindowDeactivate:
        frame_->TitleBar()->setFormActive(false);
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
        state_ = chrome::NextFrameStep(state_, chrome::FrameEvent{chrome::FrameInput::Hide}).state;
        setEdgeCursor({});
        break;
    default:
        break;
    }
    return false;
}

bool FrameController::filterWindowMouse(QEvent* event) {
    using chrome::FrameInput;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto& mouse = static_cast<const QMouseEvent&>(*event);
        if (mouse.button() != Qt::LeftButton)
            return false;
        const chrome::ChromeHit hit = hitAt(mouse.position().toPoint());
        pressGlobal_ = mouse.globalPosition().toPoint();
        startGeometry_ = host_->geometry();
        dragEdges_ = hit.area == chrome::ChromeArea::Edge ? hit.edges : Qt::Edges();
        chrome::FrameEvent frameEvent{
            event->type() == QEvent::MouseButtonPress ? FrameInput::Press : FrameInput::DoubleClick,
            hit.area, movable()};
        frameEvent.startsDoubleClick = mouse.flags() & Qt::MouseEventCreatedDoubleClick;
        // Only a press that can start a drag is worth a question to the display server.
        const bool mayDrag =
            hit.area == chrome::ChromeArea::Edge || hit.area == chrome::ChromeArea::Caption;
        if (mayDrag && frameEvent.input == FrameInput::Press && window_)
            frameEvent.buttonNow = chrome::LeftButtonNow(*window_);
        return apply(chrome::NextFrameStep(state_, frameEvent), mouse);
    }
    case QEvent::MouseMove: {
        const auto& mouse = static_cast<const QMouseEvent&>(*event);
        if (state_ == chrome::FrameState::Idle && mouse.buttons() == Qt::NoButton)
            setEdgeCursor(edgesAt(mouse.position().toPoint()));
        chrome::FrameEvent motion{FrameInput::Motion};
        motion.moved = mouse.globalPosition().toPoint() != pressGlobal_;
        motion.buttonHeld = mouse.buttons() & Qt::LeftButton;
        return apply(chrome::NextFrameStep(state_, motion), mouse);
    }
    case QEvent::MouseButtonRelease: {
        const auto& mouse = static_cast<const QMouseEvent&>(*event);
        if (mouse.button() != Qt::LeftButton)
            return false;
        chrome::FrameEvent release{FrameInput::Release};
        release.fromWindowSystem = event->spontaneous();
        return apply(chrome::NextFrameStep(state_, release), mouse);
    }
    case QEvent::Leave:
        if (state_ == chrome::FrameState::Idle)
            setEdgeCursor({});
        return false;
    default:
        return false;
    }
}

bool FrameController::apply(chrome::FrameStep step, const QMouseEvent& mouse) {
    state_ = step.state;
    switch (step.action) {
    case chrome::FrameAction::PassOn:
        return false;
    case chrome::FrameAction::Swallow:
        return true;
    case chrome::FrameAction::StartDrag: {
        chrome::FrameEvent answer{chrome::FrameInput::HandOver};
        answer.taken = startDrag(mouse.globalPosition().toPoint(), mouse.position().toPoint());
        apply(chrome::NextFrameStep(state_, answer), mouse);
        return true;
    }
    case chrome::FrameAction::LetGo:
        letGo();
        return true;
    case chrome::FrameAction::CancelDrag:
        qCDebug(lcDrag) << "released before the window manager took the pointer: called off";
        if (window_)
            chrome::CancelManagerDrag(*window_);
        return true;
    case chrome::FrameAction::FollowPointer:
        followPointer(mouse.globalPosition().toPoint());
        return true;
    case chrome::FrameAction::ToggleMaximized:
        perform(chrome::WindowRequest::ToggleMaximized);
        return true;
    case chrome::FrameAction::Close:
        // The first click of the double click asked for the system menu; it stays shut.
        frame_->TitleBar()->CancelDelayedSystemMenu();
        perform(chrome::WindowRequest::Close);
        return true;
    }
    return false;
}

bool FrameController::startDrag(QPoint globalPos, QPoint windowPos) {
    QWindow* handle = host_->windowHandle();
    if (!handle)
        return false;
    // On X11 the window manager is told the press position itself, whenever the drag is
    // handed over.
    switch (chrome::StartManagerDrag(*handle, pressGlobal_, dragEdges_)) {
    case chrome::ManagerDrag::Started:
        qCDebug(lcDrag) << (dragEdges_ ? "window manager resize" : "window manager move")
                        << "from the press at" << pressGlobal_;
        return true;
    case chrome::ManagerDrag::Refused:
        qCDebug(lcDrag) << "no window manager takes the drag, dragging by hand";
        return false;
    case chrome::ManagerDrag::NotX11:
        break;
    }
    // Elsewhere through Qt, which tells the window system the last pointer position it
    // read, from Qt's idea of the window's position. That can lag behind the window
    // manager's placement (right after the window was mapped, Qt can still hold the
    // position within the manager's frame), and the window would jump by that error; a
    // drag by hand is right either way.
    const bool positionKnown = handle->mapToGlobal(windowPos) == globalPos;
    if (!positionKnown) {
        qCDebug(lcDrag) << "window position not yet known to Qt, dragging by hand";
        return false;
    }
    const bool started =
        dragEdges_ ? handle->startSystemResize(dragEdges_) : handle->startSystemMove();
    qCDebug(lcDrag) << (dragEdges_ ? "system resize" : "system move")
                    << (started ? "started" : "refused") << "at" << globalPos;
    return started;
}

void FrameController::letGo() {
    QWindow* handle = host_->windowHandle();
    if (!handle)
        return;
    // The window system has the pointer now, and some Qt versions never deliver the
    // release to the window: make sure no widget waits for a release that may never come.
    // The release is posted, so the machine tells it from one the window system delivers.
    const QPointF global = QCursor::pos();
    const QPointF local = handle->mapFromGlobal(global.toPoint());
    QCoreApplication::postEvent(handle,
                                new QMouseEvent(QEvent::MouseButtonRelease, local, global,
                                                Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
    QCoreApplication::postEvent(handle, new QEvent(QEvent::Leave));
}

void FrameController::followPointer(QPoint globalPos) {
    const QPoint delta = globalPos - pressGlobal_;
    if (dragEdges_)
        host_->setGeometry(
            chrome::ResizedGeometry(startGeometry_, dragEdges_, delta, host_->minimumSize()));
    else
        host_->move(startGeometry_.topLeft() + delta);
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
