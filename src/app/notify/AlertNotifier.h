#pragma once

#include <functional>
#include <memory>
#include <string>

namespace glimmer {

/// Desktop notifications for fired alerts, for when the card cannot show them. One implementation
/// per platform; the composition root builds it with systemAlertNotifier().
class AlertNotifier {
public:
    virtual ~AlertNotifier() = default;

    /// Shows a notification about the security `code`. With `replace` it takes the place of the one
    /// last shown for that security instead of adding another.
    virtual void notify(const std::string& code, const std::string& title, const std::string& body, bool replace) = 0;
    /// Whether the desktop says the screen is locked; false where it cannot tell.
    virtual bool isScreenLocked() const = 0;

    /// The user clicked the notification about `code`.
    std::function<void(const std::string& code)> onActivated;
};

/// This desktop's notifications; none where the platform has no implementation.
std::unique_ptr<AlertNotifier> systemAlertNotifier();

} // namespace glimmer
