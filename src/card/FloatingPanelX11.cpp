// X11 part of FloatingPanel: EWMH states Qt has no flag for, and the input shape that lets clicks
// on the shadow through.
#include "card/FloatingPanel.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/shape.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace glimmer {

namespace {

// _NET_WM_DESKTOP's value for a window shown on every desktop.
constexpr uint32_t allDesktops = 0xFFFFFFFF;
constexpr uint32_t netWmStateRemove = 0;
constexpr uint32_t netWmStateAdd = 1;

xcb_connection_t* x11Connection() {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 == nullptr ? nullptr : x11->connection();
}

xcb_atom_t internAtom(xcb_connection_t* connection, const char* name) {
    const xcb_intern_atom_cookie_t cookie = xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    if (reply == nullptr) return XCB_ATOM_NONE;
    const xcb_atom_t atom = reply->atom;
    std::free(reply);
    return atom;
}

/// The 32-bit values of a property of `type`; empty when it is not set.
std::vector<uint32_t> cardinals(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property,
                                xcb_atom_t type) {
    std::vector<uint32_t> values;
    const xcb_get_property_cookie_t cookie = xcb_get_property(connection, 0, window, property, type, 0, 1024);
    xcb_get_property_reply_t* reply = xcb_get_property_reply(connection, cookie, nullptr);
    if (reply == nullptr) return values;
    if (reply->format == 32 && reply->type == type) {
        const auto* data = static_cast<const uint32_t*>(xcb_get_property_value(reply));
        values.assign(data, data + xcb_get_property_value_length(reply) / sizeof(uint32_t));
    }
    std::free(reply);
    return values;
}

xcb_window_t rootWindow(xcb_connection_t* connection) {
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    return screen == nullptr ? xcb_window_t(XCB_WINDOW_NONE) : screen->root;
}

/// A client message about `window` to the window manager, as EWMH asks of mapped windows.
void askWindowManager(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t type,
                      std::initializer_list<uint32_t> data) {
    const xcb_window_t root = rootWindow(connection);
    if (root == XCB_WINDOW_NONE || type == XCB_ATOM_NONE) return;
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = type;
    std::copy(data.begin(), data.end(), event.data.data32);
    xcb_send_event(connection, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
}

struct Atoms {
    xcb_atom_t state;
    xcb_atom_t skipTaskbar;
    xcb_atom_t skipPager;
    xcb_atom_t sticky;
    xcb_atom_t desktop;
    xcb_atom_t currentDesktop;

    explicit Atoms(xcb_connection_t* connection)
        : state(internAtom(connection, "_NET_WM_STATE")),
          skipTaskbar(internAtom(connection, "_NET_WM_STATE_SKIP_TASKBAR")),
          skipPager(internAtom(connection, "_NET_WM_STATE_SKIP_PAGER")),
          sticky(internAtom(connection, "_NET_WM_STATE_STICKY")), desktop(internAtom(connection, "_NET_WM_DESKTOP")),
          currentDesktop(internAtom(connection, "_NET_CURRENT_DESKTOP")) {}
};

/// Before mapping the client owns the properties; Qt keeps states it finds there when it maps.
void setUnmappedHints(xcb_connection_t* connection, xcb_window_t window, const Atoms& atoms, bool everyDesktop) {
    std::vector<uint32_t> states = cardinals(connection, window, atoms.state, XCB_ATOM_ATOM);
    const std::vector<uint32_t> before = states;
    for (xcb_atom_t atom : {atoms.skipTaskbar, atoms.skipPager}) {
        if (std::find(states.begin(), states.end(), atom) == states.end()) states.push_back(atom);
    }
    const auto sticky = std::find(states.begin(), states.end(), atoms.sticky);
    if (everyDesktop && sticky == states.end()) states.push_back(atoms.sticky);
    if (!everyDesktop && sticky != states.end()) states.erase(sticky);
    if (states != before) {
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, atoms.state, XCB_ATOM_ATOM, 32,
                            uint32_t(states.size()), states.data());
    }
    if (everyDesktop) {
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, atoms.desktop, XCB_ATOM_CARDINAL, 32, 1,
                            &allDesktops);
    } else {
        // Without the property the window manager puts the window on the current desktop.
        xcb_delete_property(connection, window, atoms.desktop);
    }
}

/// A mapped window asks the window manager for the same states.
void requestMappedHints(xcb_connection_t* connection, xcb_window_t window, const Atoms& atoms, bool everyDesktop) {
    constexpr uint32_t fromApplication = 1;
    askWindowManager(connection, window, atoms.state,
                     {netWmStateAdd, atoms.skipTaskbar, atoms.skipPager, fromApplication});
    askWindowManager(connection, window, atoms.state,
                     {everyDesktop ? netWmStateAdd : netWmStateRemove, atoms.sticky, XCB_ATOM_NONE, fromApplication});
    uint32_t desktop = allDesktops;
    if (!everyDesktop) {
        const std::vector<uint32_t> current =
            cardinals(connection, rootWindow(connection), atoms.currentDesktop, XCB_ATOM_CARDINAL);
        desktop = current.empty() ? 0 : current.front();
    }
    askWindowManager(connection, window, atoms.desktop, {desktop, fromApplication});
}

} // namespace

void FloatingPanel::applyPlatformHints() {
    xcb_connection_t* connection = x11Connection();
    if (connection == nullptr) return;
    const Atoms atoms(connection);
    if (atoms.state == XCB_ATOM_NONE || atoms.desktop == XCB_ATOM_NONE) return;
    // An always-on-top panel is on every workspace too.
    const auto window = xcb_window_t(winId());
    if (isVisible()) {
        requestMappedHints(connection, window, atoms, isOnTop);
    } else {
        setUnmappedHints(connection, window, atoms, isOnTop);
    }
    xcb_flush(connection);
}

void FloatingPanel::applyInputRegion() {
    xcb_connection_t* connection = x11Connection();
    // Only a window that exists already: asking for its id would create it too early.
    if (connection == nullptr || !testAttribute(Qt::WA_WState_Created)) return;
    const xcb_query_extension_reply_t* shape = xcb_get_extension_data(connection, &xcb_shape_id);
    if (shape == nullptr || !shape->present) return;
    const auto window = xcb_window_t(winId());
    if (margins.isNull()) {
        // Back to the default: the whole window takes input.
        xcb_shape_mask(connection, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_INPUT, window, 0, 0, XCB_NONE);
    } else {
        // The native window counts device pixels.
        const QRectF frame = QRectF(rect().marginsRemoved(margins));
        const double ratio = devicePixelRatioF();
        const xcb_rectangle_t input{int16_t(std::lround(frame.x() * ratio)), int16_t(std::lround(frame.y() * ratio)),
                                    uint16_t(std::lround(frame.width() * ratio)),
                                    uint16_t(std::lround(frame.height() * ratio))};
        xcb_shape_rectangles(connection, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_INPUT, XCB_CLIP_ORDERING_UNSORTED, window, 0, 0,
                             1, &input);
    }
    xcb_flush(connection);
}

std::optional<FloatingPanel::WorkspaceState> FloatingPanel::workspaceState() const {
    xcb_connection_t* connection = x11Connection();
    if (connection == nullptr || windowHandle() == nullptr) return std::nullopt;
    const Atoms atoms(connection);
    const auto window = xcb_window_t(winId());
    const std::vector<uint32_t> states = cardinals(connection, window, atoms.state, XCB_ATOM_ATOM);
    const std::vector<uint32_t> desktop = cardinals(connection, window, atoms.desktop, XCB_ATOM_CARDINAL);
    WorkspaceState result;
    result.sticky = std::find(states.begin(), states.end(), atoms.sticky) != states.end();
    if (!desktop.empty()) result.desktop = desktop.front();
    return result;
}

} // namespace glimmer
