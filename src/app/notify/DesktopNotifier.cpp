#include "app/notify/DesktopNotifier.h"

#include "model/AppLog.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QStringList>
#include <QVariantMap>

namespace glimmer {

DesktopNotifier::DesktopNotifier(QDBusConnection bus, QObject* parent) : QObject(parent), bus(std::move(bus)) {
    const QString notifications = QString::fromLatin1(service);
    this->bus.connect(QString(), QString::fromLatin1(path), notifications, QStringLiteral("ActionInvoked"), this,
                      SLOT(actionInvoked(uint, QString)));
    this->bus.connect(QString(), QString::fromLatin1(path), notifications, QStringLiteral("NotificationClosed"), this,
                      SLOT(notificationClosed(uint, uint)));
    // GNOME announces its lock screen under its own name, the other desktops under the shared one.
    for (const QString& saver :
         {QStringLiteral("org.freedesktop.ScreenSaver"), QStringLiteral("org.gnome.ScreenSaver")})
        this->bus.connect(QString(), QString(), saver, QStringLiteral("ActiveChanged"), this,
                          SLOT(screenSaverActiveChanged(bool)));
}

void DesktopNotifier::notify(const std::string& code, const std::string& title, const std::string& body, bool replace) {
    Shown& shown = shownByCode[code];
    if (!replace) shown.id = 0;
    const QString summary = QString::fromStdString(title);
    // Every common server reads the body as markup.
    const QString text = QString::fromStdString(body).toHtmlEscaped();
    if (shown.isWaiting) {
        shown.next = {summary, text};
        return;
    }
    send(code, shown, summary, text);
}

void DesktopNotifier::send(const std::string& code, Shown& shown, const QString& title, const QString& body) {
    QDBusMessage call = QDBusMessage::createMethodCall(QString::fromLatin1(service), QString::fromLatin1(path),
                                                       QString::fromLatin1(service), QStringLiteral("Notify"));
    const QVariantMap hints{{QStringLiteral("desktop-entry"), QStringLiteral("glimmerbox")},
                            {QStringLiteral("urgency"), QVariant::fromValue<uchar>(1)}};
    call << QStringLiteral("澜汐看板") << shown.id << QStringLiteral("glimmerbox") << title << body
         << QStringList{QStringLiteral("default"), QStringLiteral("查看")} << hints << qint32(-1);
    shown.isWaiting = true;
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, code](QDBusPendingCallWatcher* finished) { received(code, finished); });
}

void DesktopNotifier::received(const std::string& code, QDBusPendingCallWatcher* watcher) {
    watcher->deleteLater();
    Shown& shown = shownByCode[code];
    shown.isWaiting = false;
    const QDBusPendingReply<uint> reply = *watcher;
    if (reply.isError()) {
        // One line per run of failures: a desktop without a notification server fails every time.
        if (!didLogFailure) AppLog::write("ERR ", "桌面通知未能发送：" + reply.error().message().toStdString());
        didLogFailure = true;
        shown.next.reset();
        return;
    }
    didLogFailure = false;
    shown.id = reply.value();
    if (!shown.next) return;
    const auto [title, body] = *shown.next;
    shown.next.reset();
    send(code, shown, title, body);
}

void DesktopNotifier::actionInvoked(uint id, const QString& action) {
    if (action != QLatin1String("default") || id == 0) return;
    for (const auto& [code, shown] : shownByCode) {
        if (shown.id != id) continue;
        // A copy: the handler may notify again and change the map.
        const std::string clicked = code;
        if (onActivated) onActivated(clicked);
        return;
    }
}

void DesktopNotifier::notificationClosed(uint id, uint) {
    for (auto& [code, shown] : shownByCode)
        if (shown.id == id) shown.id = 0;
}

void DesktopNotifier::screenSaverActiveChanged(bool active) {
    screenLocked = active;
}

} // namespace glimmer
