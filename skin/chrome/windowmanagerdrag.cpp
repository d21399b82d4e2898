#include "chrome/windowmanagerdrag.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

#if defined(ZD7240_HAVE_XCB) && QT_CONFIG(xcb)
#include <QtGui/qguiapplication_platform.h>

#include <cstdlib>
#include <cstring>
#include <memory>

#include <xcb/xcb.h>
#define ZD7240_X11_DRAG 1
#endif

namespace chrome {

#ifdef ZD7240_X11_DRAG
namespace {

// The EWMH directions of _NET_WM_MOVERESIZE.
constexpr quint32 kMoveResizeMove = 8;
constexpr quint32 kMoveResizeCancel = 11;
constexpr quint32 kSourceApplication = 1;

template <typename Reply> using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;
template <typename Reply> ReplyPtr<Reply> Owned(Reply* reply) {
    return ReplyPtr<Reply>(reply, &std::free);
}

xcb_connection_t* ConnectionOf(const QWindow& window) {
    if (!window.handle())
        return nullptr;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t InternAtom(xcb_connection_t* connection, const char* name) {
    const auto reply = Owned(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<quint16>(std::strlen(name)), name),
        nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

// The two atoms, asked of the server once per connection: a press on the chrome should
// wait for as few round trips as it can before the manager takes the pointer.
struct Atoms {
    xcb_connection_t* connection = nullptr;
    xcb_atom_t moveResize = XCB_ATOM_NONE;
    xcb_atom_t supported = XCB_ATOM_NONE;
};
const Atoms& AtomsOf(xcb_connection_t* connection) {
    static Atoms atoms;
    if (atoms.connection != connection || atoms.moveResize == XCB_ATOM_NONE) {
        atoms.connection = connection;
        atoms.moveResize = InternAtom(connection, "_NET_WM_MOVERESIZE");
        atoms.supported = InternAtom(connection, "_NET_SUPPORTED");
    }
    return atoms;
}

// The root window the pointer is on, and the buttons held, in one round trip.
ReplyPtr<xcb_query_pointer_reply_t> QueryPointer(xcb_connection_t* connection,
                                                 const QWindow& window) {
    return Owned(xcb_query_pointer_reply(
        connection, xcb_query_pointer(connection, static_cast<xcb_window_t>(window.winId())),
        nullptr));
}

// Whether the running window manager says it takes _NET_WM_MOVERESIZE.
bool ManagerTakesMoveResize(xcb_connection_t* connection, xcb_window_t root, const Atoms& atoms) {
    if (atoms.supported == XCB_ATOM_NONE || atoms.moveResize == XCB_ATOM_NONE)
        return false;
    const auto reply = Owned(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, root, atoms.supported, XCB_ATOM_ATOM, 0, 4096),
        nullptr));
    if (!reply || reply->format != 32)
        return false;
    const xcb_atom_t wanted = atoms.moveResize;
    const auto* names = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / 4;
    for (int i = 0; i < count; ++i)
        if (names[i] == wanted)
            return true;
    return false;
}

quint32 Direction(Qt::Edges edges) {
    const bool top = edges & Qt::TopEdge;
    const bool bottom = edges & Qt::BottomEdge;
    const bool left = edges & Qt::LeftEdge;
    const bool right = edges & Qt::RightEdge;
    if (top)
        return left ? 0 : right ? 2 : 1;
    if (bottom)
        return left ? 6 : right ? 4 : 5;
    if (right)
        return 3;
    if (left)
        return 7;
    return kMoveResizeMove;
}

// Qt's global position in the server's pixels: a scaled screen keeps its origin and
// scales what lies right of and below it.
QPoint NativeGlobal(const QWindow& window, QPoint global) {
    const QScreen* screen = window.screen();
    const QPoint origin = screen ? screen->geometry().topLeft() : QPoint();
    const qreal ratio = window.devicePixelRatio();
    return origin + ((global - origin).toPointF() * ratio).toPoint();
}

void SendMoveResize(xcb_connection_t* connection, xcb_window_t root, xcb_window_t window,
                    xcb_atom_t moveResize, QPoint native, quint32 direction) {
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = moveResize;
    message.data.data32[0] = static_cast<quint32>(native.x());
    message.data.data32[1] = static_cast<quint32>(native.y());
    message.data.data32[2] = direction;
    message.data.data32[3] = direction == kMoveResizeCancel ? 0 : XCB_BUTTON_INDEX_1;
    message.data.data32[4] = kSourceApplication;
    xcb_send_event(connection, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
}

} // namespace

ButtonNow LeftButtonNow(const QWindow& window) {
    xcb_connection_t* connection = ConnectionOf(window);
    if (!connection)
        return ButtonNow::Unknown;
    const auto pointer = QueryPointer(connection, window);
    if (!pointer)
        return ButtonNow::Unknown;
    return (pointer->mask & XCB_BUTTON_MASK_1) ? ButtonNow::Held : ButtonNow::Up;
}

ManagerDrag StartManagerDrag(QWindow& window, QPoint pressGlobal, Qt::Edges edges) {
    xcb_connection_t* connection = ConnectionOf(window);
    if (!connection)
        return ManagerDrag::NotX11;
    const Atoms& atoms = AtomsOf(connection);
    const auto pointer = QueryPointer(connection, window);
    if (!pointer || !ManagerTakesMoveResize(connection, pointer->root, atoms))
        return ManagerDrag::Refused;
    // The press gave this program the pointer until the release; the manager grabs it
    // for the move, which it can do only once the program lets go.
    xcb_ungrab_pointer(connection, XCB_CURRENT_TIME);
    SendMoveResize(connection, pointer->root, static_cast<xcb_window_t>(window.winId()),
                   atoms.moveResize, NativeGlobal(window, pressGlobal), Direction(edges));
    xcb_flush(connection);
    return ManagerDrag::Started;
}

void CancelManagerDrag(QWindow& window) {
    xcb_connection_t* connection = ConnectionOf(window);
    if (!connection)
        return;
    const Atoms& atoms = AtomsOf(connection);
    const auto pointer = QueryPointer(connection, window);
    if (!pointer || atoms.moveResize == XCB_ATOM_NONE)
        return;
    SendMoveResize(connection, pointer->root, static_cast<xcb_window_t>(window.winId()),
                   atoms.moveResize, QPoint(), kMoveResizeCancel);
    xcb_flush(connection);
}

#else

ButtonNow LeftButtonNow(const QWindow&) {
    return ButtonNow::Unknown;
}
ManagerDrag StartManagerDrag(QWindow&, QPoint, Qt::Edges) {
    return ManagerDrag::NotX11;
}
void CancelManagerDrag(QWindow&) {}

#endif

} // namespace chrome
