#include "WindowFrame.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QThread>
#include <QVariant>
#include <QWidget>

#include <cstdlib>
#include <cstring>
#include <memory>

#if __has_include(<xcb/xcb.h>) && QT_CONFIG(xcb)
#include <xcb/xcb.h>
#define GRIDGLYPH_X11 1
#endif

namespace {

const char *const kAskedFrame = "gridglyphAskedFrame";

#ifdef GRIDGLYPH_X11
template<typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

xcb_atom_t atom(xcb_connection_t *c, const char *name)
{
    const Reply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr),
        &std::free);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

// Left, right, top and bottom, as the window manager put them on the window.
bool readExtents(xcb_connection_t *c, xcb_window_t window, xcb_atom_t extents, QMargins *out)
{
    const Reply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(c, xcb_get_property(c, 0, window, extents, XCB_ATOM_CARDINAL, 0, 4), nullptr),
        &std::free);
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) != 16)
        return false;
    const auto *v = static_cast<const uint32_t *>(xcb_get_property_value(reply.get()));
    *out = QMargins(int(v[0]), int(v[2]), int(v[1]), int(v[3]));
    return true;
}
#endif

} // namespace

QMargins marginsBetween(const QRect &frame, const QRect &client)
{
    return QMargins(client.left() - frame.left(), client.top() - frame.top(),
                    frame.right() - client.right(), frame.bottom() - client.bottom());
}

QMargins frameOf(const QWidget *window)
{
    const QRect frame = window->frameGeometry();
    const QRect client = window->geometry();
    if (frame != client)
        return marginsBetween(frame, client);
    return window->property(kAskedFrame).value<QMargins>();
}

void askFrameBeforeShowing(QWidget *window)
{
#ifdef GRIDGLYPH_X11
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || window->isVisible() || QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    xcb_connection_t *c = x11->connection();
    if (!c)
        return;
    // The native window exists from here on, still unmapped.
    const auto id = xcb_window_t(window->winId());
    const xcb_atom_t request = atom(c, "_NET_REQUEST_FRAME_EXTENTS");
    const xcb_atom_t extents = atom(c, "_NET_FRAME_EXTENTS");
    const Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(c, xcb_query_tree(c, id), nullptr), &std::free);
    if (request == XCB_ATOM_NONE || extents == XCB_ATOM_NONE || !tree)
        return;

    xcb_client_message_event_t ask{};
    ask.response_type = XCB_CLIENT_MESSAGE;
    ask.format = 32;
    ask.window = id;
    ask.type = request;
    xcb_send_event(c, 0, tree->root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char *>(&ask));
    xcb_flush(c);
    // Window managers answer within milliseconds; one that does not is not waited for long.
    QElapsedTimer waited;
    waited.start();
    QMargins frame;
    while (!readExtents(c, id, extents, &frame)) {
        if (waited.elapsed() > 200)
            return;
        QThread::msleep(2);
    }
    window->setProperty(kAskedFrame, QVariant::fromValue(frame));
#else
    (void)window;
#endif
}
