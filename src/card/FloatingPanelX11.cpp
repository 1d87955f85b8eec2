// X11 part of FloatingPanel: EWMH states Qt has no flag for.
#include "card/FloatingPanel.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace glimmer {

namespace {

xcb_atom_t internAtom(xcb_connection_t* connection, const char* name) {
    const xcb_intern_atom_cookie_t cookie = xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    if (reply == nullptr) return XCB_ATOM_NONE;
    const xcb_atom_t atom = reply->atom;
    std::free(reply);
    return atom;
}

std::vector<xcb_atom_t> currentStates(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property) {
    std::vector<xcb_atom_t> states;
    const xcb_get_property_cookie_t cookie = xcb_get_property(connection, 0, window, property, XCB_ATOM_ATOM, 0, 1024);
    xcb_get_property_reply_t* reply = xcb_get_property_reply(connection, cookie, nullptr);
    if (reply == nullptr) return states;
    if (reply->format == 32 && reply->type == XCB_ATOM_ATOM) {
        const auto* values = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
        states.assign(values, values + xcb_get_property_value_length(reply) / sizeof(xcb_atom_t));
    }
    std::free(reply);
    return states;
}

} // namespace

void FloatingPanel::applyPlatformHints() {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || x11->connection() == nullptr) return;
    xcb_connection_t* connection = x11->connection();
    const auto window = xcb_window_t(winId());
    const xcb_atom_t netWmState = internAtom(connection, "_NET_WM_STATE");
    const xcb_atom_t wanted[] = {internAtom(connection, "_NET_WM_STATE_SKIP_TASKBAR"),
                                 internAtom(connection, "_NET_WM_STATE_SKIP_PAGER")};
    if (netWmState == XCB_ATOM_NONE) return;

    if (!isVisible()) {
        // Before mapping the client owns the property; Qt keeps states it finds there when it maps.
        std::vector<xcb_atom_t> states = currentStates(connection, window, netWmState);
        const size_t before = states.size();
        for (xcb_atom_t atom : wanted) {
            if (atom != XCB_ATOM_NONE && std::find(states.begin(), states.end(), atom) == states.end())
                states.push_back(atom);
        }
        if (states.size() != before) {
            xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, netWmState, XCB_ATOM_ATOM, 32,
                                uint32_t(states.size()), states.data());
        }
    } else {
        // A mapped window asks the window manager.
        const xcb_setup_t* setup = xcb_get_setup(connection);
        const xcb_screen_t* screen = xcb_setup_roots_iterator(setup).data;
        if (screen == nullptr) return;
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = window;
        event.type = netWmState;
        event.data.data32[0] = 1; // _NET_WM_STATE_ADD
        event.data.data32[1] = wanted[0];
        event.data.data32[2] = wanted[1];
        event.data.data32[3] = 1; // from a normal application
        xcb_send_event(connection, 0, screen->root,
                       XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&event));
    }
    xcb_flush(connection);
}

} // namespace glimmer
