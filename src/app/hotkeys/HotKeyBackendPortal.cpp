#include "app/hotkeys/HotKeyBackendPortal.h"

#include "model/HotKeyKeys.h"

#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QTimer>

#include <algorithm>

namespace glimmer {

namespace {

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString shortcutsInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString requestInterface = QStringLiteral("org.freedesktop.portal.Request");
const QString sessionInterface = QStringLiteral("org.freedesktop.portal.Session");
constexpr uint responseFailed = 2;

struct NamedShortcut {
    HotKeyBackend::Id id;
    const char* name;
    const char* description;
};
// The ids are HotKeyCenter's slots + 1; the portal shows the descriptions to the user.
constexpr NamedShortcut namedShortcuts[] = {
    {1, "toggle-panel", "呼出 / 隐藏浮窗"},
    {2, "expand", "展开 / 收起副图"},
    {3, "overview", "全览所有股票"},
    {4, "privacy", "切换隐私模式"},
};

QString shortcutName(HotKeyBackend::Id id) {
    for (const NamedShortcut& shortcut : namedShortcuts)
        if (shortcut.id == id) return QString::fromUtf8(shortcut.name);
    return QStringLiteral("hotkey-%1").arg(id);
}

QString shortcutDescription(HotKeyBackend::Id id) {
    for (const NamedShortcut& shortcut : namedShortcuts)
        if (shortcut.id == id) return QString::fromUtf8(shortcut.description);
    return shortcutName(id);
}

/// The session handle comes as a string from older portals and as an object path from newer ones.
QString sessionHandle(const QVariantMap& results) {
    const QVariant handle = results.value(QStringLiteral("session_handle"));
    if (handle.userType() == qMetaTypeId<QDBusObjectPath>()) return handle.value<QDBusObjectPath>().path();
    return handle.toString();
}

} // namespace

QDBusArgument& operator<<(QDBusArgument& argument, const PortalShortcut& shortcut) {
    argument.beginStructure();
    argument << shortcut.id << shortcut.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, PortalShortcut& shortcut) {
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.properties;
    argument.endStructure();
    return argument;
}

void registerPortalShortcutTypes() {
    qDBusRegisterMetaType<PortalShortcut>();
    qDBusRegisterMetaType<QList<PortalShortcut>>();
}

HotKeyBackendPortal::HotKeyBackendPortal(const QDBusConnection& bus) : bus(bus) {
    registerPortalShortcutTypes();
    // Responses are matched to requests by path, which may come before the call's own reply.
    this->bus.connect(portalService, QString(), requestInterface, QStringLiteral("Response"), this,
                      SLOT(onResponse(uint, QVariantMap, QDBusMessage)));
    this->bus.connect(portalService, portalPath, shortcutsInterface, QStringLiteral("Activated"), this,
                      SLOT(onActivated(QDBusObjectPath, QString, qulonglong, QVariantMap)));
}

HotKeyBackendPortal::~HotKeyBackendPortal() {
    bus.disconnect(portalService, QString(), requestInterface, QStringLiteral("Response"), this,
                   SLOT(onResponse(uint, QVariantMap, QDBusMessage)));
    bus.disconnect(portalService, portalPath, shortcutsInterface, QStringLiteral("Activated"), this,
                   SLOT(onActivated(QDBusObjectPath, QString, qulonglong, QVariantMap)));
}

bool HotKeyBackendPortal::isOffered(const QDBusConnection& bus) {
    if (!bus.isConnected()) return false;
    QDBusMessage call = QDBusMessage::createMethodCall(
        portalService, portalPath, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    call << shortcutsInterface << QStringLiteral("version");
    return bus.call(call, QDBus::Block, 2000).type() == QDBusMessage::ReplyMessage;
}

void HotKeyBackendPortal::registerApp(const QDBusConnection& bus, const QString& desktopFileName) {
    if (!bus.isConnected() || desktopFileName.isEmpty()) return;
    QDBusMessage call = QDBusMessage::createMethodCall(
        portalService, portalPath, QStringLiteral("org.freedesktop.host.portal.Registry"), QStringLiteral("Register"));
    call << desktopFileName << QVariantMap();
    // Sent ahead of the other calls on this connection, which the portal then handles after it.
    bus.asyncCall(call);
}

bool HotKeyBackendPortal::grab(Id, std::uint32_t, std::uint32_t) {
    return false;
}

void HotKeyBackendPortal::grabLater(Id id, std::uint32_t keyCode, std::uint32_t modifiers,
                                    std::function<void(bool)> settled) {
    const std::string trigger = HotKeyKeys::portalTrigger(keyCode, modifiers);
    if (trigger.empty()) {
        settled(false);
        return;
    }
    triggers[id] = QString::fromStdString(trigger);
    // Registering again after a settings change: what the session holds needs no new request.
    if (const auto it = bound.find(id); it != bound.end() && it->second == triggers[id]) {
        settled(true);
        return;
    }
    waiting[id].push_back(std::move(settled));
    scheduleBind();
}

void HotKeyBackendPortal::release(Id id) {
    triggers.erase(id);
    waiting.erase(id);
}

void HotKeyBackendPortal::releaseAll() {
    closeSession();
    triggers.clear();
    waiting.clear();
    answers.clear();
    isCreatingSession = false;
    isBinding = false;
}

void HotKeyBackendPortal::closeSession() {
    if (!session.isEmpty()) {
        bus.asyncCall(
            QDBusMessage::createMethodCall(portalService, session, sessionInterface, QStringLiteral("Close")));
    }
    session.clear();
    bound.clear();
}

void HotKeyBackendPortal::scheduleBind() {
    if (isBindQueued) return;
    isBindQueued = true;
    // The registrations made together at start-up reach the portal as one request (one dialog).
    QTimer::singleShot(0, this, [this] {
        isBindQueued = false;
        bind();
    });
}

void HotKeyBackendPortal::createSession() {
    isCreatingSession = true;
    QVariantMap options;
    options.insert(QStringLiteral("session_handle_token"), QStringLiteral("glimmerbox"));
    callWithResponse(QStringLiteral("CreateSession"), {}, options, [this](uint response, const QVariantMap& results) {
        isCreatingSession = false;
        if (response == 0) session = sessionHandle(results);
        if (session.isEmpty()) {
            std::vector<Id> ids;
            for (const auto& [id, callbacks] : waiting) ids.push_back(id);
            settle(ids, {});
            return;
        }
        bind();
    });
}

void HotKeyBackendPortal::bind() {
    if (waiting.empty() || isBinding) return;
    if (session.isEmpty()) {
        if (!isCreatingSession) createSession();
        return;
    }
    QList<PortalShortcut> shortcuts;
    for (const auto& [id, trigger] : triggers) {
        QVariantMap properties;
        properties.insert(QStringLiteral("description"), shortcutDescription(id));
        properties.insert(QStringLiteral("preferred_trigger"), trigger);
        shortcuts.push_back({shortcutName(id), properties});
    }
    std::vector<Id> ids;
    for (const auto& [id, callbacks] : waiting) ids.push_back(id);
    isBinding = true;
    const bool isRebind = !bound.empty();
    const QList<QVariant> arguments{QVariant::fromValue(QDBusObjectPath(session)), QVariant::fromValue(shortcuts),
                                    QString()};
    callWithResponse(QStringLiteral("BindShortcuts"), arguments, {},
                     [this, ids, isRebind](uint response, const QVariantMap& results) {
                         isBinding = false;
                         if (response == responseFailed && isRebind) {
                             // Some portals bind once per session: start a new one with every key.
                             closeSession();
                             bind();
                             return;
                         }
                         std::vector<QString> boundIds;
                         if (response == 0) {
                             const auto list =
                                 qdbus_cast<QList<PortalShortcut>>(results.value(QStringLiteral("shortcuts")));
                             for (const PortalShortcut& shortcut : list) boundIds.push_back(shortcut.id);
                         }
                         settle(ids, boundIds);
                         if (!waiting.empty()) scheduleBind();
                     });
}

void HotKeyBackendPortal::settle(const std::vector<Id>& ids, const std::vector<QString>& boundIds) {
    for (const Id id : ids) {
        const auto it = waiting.find(id);
        if (it == waiting.end()) continue;
        const std::vector<std::function<void(bool)>> callbacks = std::move(it->second);
        waiting.erase(it);
        const bool isBound = std::find(boundIds.begin(), boundIds.end(), shortcutName(id)) != boundIds.end();
        if (isBound && triggers.count(id) > 0) {
            bound[id] = triggers[id];
        } else {
            triggers.erase(id);
        }
        for (const auto& settled : callbacks) settled(isBound);
    }
}

void HotKeyBackendPortal::callWithResponse(const QString& method, QList<QVariant> arguments, QVariantMap options,
                                           Answer answer) {
    const QString token = QStringLiteral("glimmerbox%1").arg(++tokenCounter);
    options.insert(QStringLiteral("handle_token"), token);
    QString sender = bus.baseService().mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    const QString expected = QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(sender, token);
    answers[expected] = std::move(answer);

    QDBusMessage call = QDBusMessage::createMethodCall(portalService, portalPath, shortcutsInterface, method);
    arguments.append(options);
    call.setArguments(arguments);
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, expected](QDBusPendingCallWatcher* finished) {
        finished->deleteLater();
        const QDBusPendingReply<QDBusObjectPath> reply = *finished;
        const auto it = answers.find(expected);
        if (it == answers.end()) return; // answered already, or given up
        if (reply.isError()) {
            const Answer failed = std::move(it->second);
            answers.erase(it);
            failed(responseFailed, {});
        } else if (reply.value().path() != expected) {
            // A portal older than the handle tokens names the request itself.
            Answer moved = std::move(it->second);
            answers.erase(it);
            answers[reply.value().path()] = std::move(moved);
        }
    });
}

void HotKeyBackendPortal::onResponse(uint response, const QVariantMap& results, const QDBusMessage& message) {
    const auto it = answers.find(message.path());
    if (it == answers.end()) return;
    const Answer answer = std::move(it->second);
    answers.erase(it);
    answer(response, results);
}

void HotKeyBackendPortal::onActivated(const QDBusObjectPath& activatedSession, const QString& shortcutId, qulonglong,
                                      const QVariantMap&) {
    if (activatedSession.path() != session) return;
    for (const auto& [id, trigger] : triggers) {
        if (shortcutName(id) == shortcutId && onTriggered) {
            onTriggered(id);
            return;
        }
    }
}

} // namespace glimmer
