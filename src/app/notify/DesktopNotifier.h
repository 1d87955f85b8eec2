#pragma once

#include "app/notify/AlertNotifier.h"

#include <QDBusConnection>
#include <QObject>
#include <QString>

#include <map>
#include <optional>

class QDBusPendingCallWatcher;

namespace glimmer {

/// Alert notifications through org.freedesktop.Notifications on a session bus (GNOME, KDE Plasma,
/// Xfce, Deepin and Kylin all run such a server). Clicking one ("default" action) reports its
/// security; the screen counts as locked while the screen saver service says it is active.
class DesktopNotifier final : public QObject, public AlertNotifier {
    Q_OBJECT
public:
    explicit DesktopNotifier(QDBusConnection bus, QObject* parent = nullptr);

    void notify(const std::string& code, const std::string& title, const std::string& body, bool replace) override;
    bool isScreenLocked() const override { return screenLocked; }

    static constexpr const char* service = "org.freedesktop.Notifications";
    static constexpr const char* path = "/org/freedesktop/Notifications";

private slots:
    void actionInvoked(uint id, const QString& action);
    void notificationClosed(uint id, uint reason);
    void screenSaverActiveChanged(bool active);

private:
    /// The notification of one security: the server's id once it answered, and the newest text
    /// asked for while a call was still on its way (sent as a replacement when the id arrives).
    struct Shown {
        uint id = 0;
        bool isWaiting = false;
        std::optional<std::pair<QString, QString>> next;
    };

    void send(const std::string& code, Shown& shown, const QString& title, const QString& body);
    void received(const std::string& code, QDBusPendingCallWatcher* watcher);

    QDBusConnection bus;
    std::map<std::string, Shown> shownByCode;
    bool screenLocked = false;
    bool didLogFailure = false;
};

} // namespace glimmer
