#pragma once

#include "model/AppPaths.h"

#include <optional>
#include <string>

namespace glimmer {

/// Which of Qt's window-system plugins the program runs on. A floating card must place itself and
/// stay on top, which Wayland leaves to the compositor; under XWayland it can do both itself.
struct WindowSystemChoice {
    /// The value for QT_QPA_PLATFORM; none leaves Qt's own choice.
    std::optional<std::string> platform;
    /// One INFO line for the event log; empty outside a Wayland session.
    std::string logLine;

    bool operator==(const WindowSystemChoice&) const = default;
};

/// XDG_SESSION_TYPE is "wayland" or WAYLAND_DISPLAY is set.
bool isWaylandSession(const AppPaths::EnvLookup& env);

/// In a Wayland session: xcb when an X server is reachable (DISPLAY set), unless the user chose a
/// platform (QT_QPA_PLATFORM); without one, Wayland with a word on what the compositor decides.
WindowSystemChoice chooseWindowSystem(const AppPaths::EnvLookup& env);

} // namespace glimmer
