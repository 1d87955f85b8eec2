#pragma once

#include "app/hotkeys/HotKeyBackend.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QVariantMap>

#include <functional>
#include <map>
#include <vector>

class QDBusMessage;
class QDBusObjectPath;

namespace glimmer {

/// One entry of the portal's shortcut lists, D-Bus type (sa{sv}): an id and its properties
/// ("description", "preferred_trigger"; the portal answers with "trigger_description").
struct PortalShortcut {
    QString id;
    QVariantMap properties;
};
QDBusArgument& operator<<(QDBusArgument& argument, const PortalShortcut& shortcut);
const QDBusArgument& operator>>(const QDBusArgument& argument, PortalShortcut& shortcut);
/// Makes PortalShortcut and lists of it known to Qt D-Bus; safe to call again.
void registerPortalShortcutTypes();

/// Global hot keys through the XDG desktop portal's GlobalShortcuts interface, the only way a
/// Wayland client gets keys while another program has the focus. The portal (often after asking
/// the user) decides, so grabs are answered later: requests made in one pass of the event loop go
/// to the portal as one BindShortcuts call on the program's session, each with its stored
/// combination as the preferred trigger. Pressing a bound shortcut arrives as Activated.
class HotKeyBackendPortal : public QObject, public HotKeyBackend {
    Q_OBJECT

public:
    explicit HotKeyBackendPortal(const QDBusConnection& bus);
    ~HotKeyBackendPortal() override;

    /// Whether a desktop portal on the bus offers global shortcuts (GNOME's from version 48,
    /// KDE Plasma's from 5.27). Waits up to two seconds for the answer.
    static bool isOffered(const QDBusConnection& bus);
    /// Tells the portal which desktop entry this program is (a program outside a sandbox has no
    /// app id otherwise, and GNOME binds no shortcuts without one). Must precede every other
    /// portal call on the connection; portals older than the Registry ignore it.
    static void registerApp(const QDBusConnection& bus, const QString& desktopFileName);

    /// Always false: the portal answers later, through grabLater.
    bool grab(Id id, std::uint32_t keyCode, std::uint32_t modifiers) override;
    void grabLater(Id id, std::uint32_t keyCode, std::uint32_t modifiers, std::function<void(bool)> settled) override;
    /// The portal cannot unbind one shortcut; its presses are dropped from now on.
    void release(Id id) override;
    /// Closes the session, which removes the program's shortcuts.
    void releaseAll() override;

private slots:
    void onResponse(uint response, const QVariantMap& results, const QDBusMessage& message);
    void onActivated(const QDBusObjectPath& session, const QString& shortcutId, qulonglong timestamp,
                     const QVariantMap& options);

private:
    using Answer = std::function<void(uint response, const QVariantMap& results)>;

    void closeSession();
    void scheduleBind();
    void bind();
    void createSession();
    /// Calls a GlobalShortcuts method whose outcome comes as a Response signal; `answer` gets it
    /// (response 2 when the call itself fails).
    void callWithResponse(const QString& method, QList<QVariant> arguments, QVariantMap options, Answer answer);
    void settle(const std::vector<Id>& ids, const std::vector<QString>& boundIds);

    QDBusConnection bus;
    QString session;
    bool isCreatingSession = false;
    bool isBindQueued = false;
    bool isBinding = false;
    unsigned tokenCounter = 0;
    // The triggers wanted now, and those the session holds.
    std::map<Id, QString> triggers;
    std::map<Id, QString> bound;
    std::map<Id, std::vector<std::function<void(bool)>>> waiting;
    std::map<QString, Answer> answers;
};

/// The backend for a Linux session: the portal when it is a Wayland session and the portal offers
/// global shortcuts, X11 when Qt runs on xcb, else none.
std::unique_ptr<HotKeyBackend> makeLinuxHotKeyBackend(bool isWaylandSession, const QDBusConnection& bus);

} // namespace glimmer

Q_DECLARE_METATYPE(glimmer::PortalShortcut)
