#include "app/hotkeys/HotKeyBackendPortal.h"
#include "app/hotkeys/AppHotKeys.h"
#include "ui/TestApplication.h"

#include <QDBusError>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QGuiApplication>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

namespace glimmer {
namespace {

using Lines = std::vector<std::string>;
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");

/// A desktop portal of our own on a private bus, in a thread of its own so the program's blocking
/// check gets its answer. It grants or refuses every BindShortcuts, or lacks GlobalShortcuts.
class FakePortal : public QDBusVirtualObject {
public:
    enum class Mode { grants, refuses, withoutShortcuts };

    FakePortal(const QString& address, Mode mode) : mode(mode) {
        moveToThread(&thread);
        thread.start();
        onThread([this, address] {
            connection = std::make_unique<QDBusConnection>(
                QDBusConnection::connectToBus(address, QStringLiteral("fake-portal")));
            connection->registerVirtualObject(portalPath, this, QDBusConnection::SubPath);
            connection->registerService(QStringLiteral("org.freedesktop.portal.Desktop"));
        });
    }
    ~FakePortal() override {
        onThread([this] {
            connection.reset();
            QDBusConnection::disconnectFromBus(QStringLiteral("fake-portal"));
        });
        thread.quit();
        thread.wait();
    }

    QString introspect(const QString&) const override { return {}; }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& bus) override {
        const QString member = message.member();
        const QList<QVariant> args = message.arguments();
        calls.push_back(member.toStdString() + " " + args.value(0).toString().toStdString());
        if (member == "Register" || member == "Close") {
            closedPath = member == "Close" ? message.path() : closedPath;
            bus.send(message.createReply());
        } else if (member == "Get") {
            bus.send(mode == Mode::withoutShortcuts
                         ? message.createErrorReply(QDBusError::UnknownInterface, QStringLiteral("no such interface"))
                         : message.createReply(QVariant::fromValue(QDBusVariant(1u))));
        } else if (member == "CreateSession") {
            const QVariantMap options = qdbus_cast<QVariantMap>(args.value(0));
            session = QStringLiteral("/org/freedesktop/portal/desktop/session/%1/%2")
                          .arg(senderPart(message), options.value(QStringLiteral("session_handle_token")).toString());
            answer(message, bus, options, 0, {{QStringLiteral("session_handle"), session}});
        } else if (member == "BindShortcuts") {
            const auto shortcuts = qdbus_cast<QList<PortalShortcut>>(args.value(1));
            calls.back() += qdbus_cast<QDBusObjectPath>(args.value(0)).path().toStdString();
            for (const PortalShortcut& shortcut : shortcuts)
                triggers.push_back(shortcut.id + " " +
                                   shortcut.properties.value(QStringLiteral("preferred_trigger")).toString());
            const QVariantMap options = qdbus_cast<QVariantMap>(args.value(3));
            const QVariantMap granted{{QStringLiteral("shortcuts"), QVariant::fromValue(shortcuts)}};
            answer(message, bus, options, mode == Mode::refuses ? 2 : 0,
                   mode == Mode::refuses ? QVariantMap() : granted);
        } else {
            return false;
        }
        return true;
    }

    /// Sends Activated for the shortcut, as the portal does when its keys are pressed.
    void press(const QString& shortcut) {
        onThread([this, shortcut] {
            QDBusMessage signal = QDBusMessage::createSignal(
                portalPath, QStringLiteral("org.freedesktop.portal.GlobalShortcuts"), QStringLiteral("Activated"));
            signal << QVariant::fromValue(QDBusObjectPath(session)) << shortcut << qulonglong(1) << QVariantMap();
            connection->send(signal);
        });
    }
    /// A copy taken on the portal's thread, which writes the fields below.
    template <typename T> T read(const T& field) {
        T copy;
        onThread([&] { copy = field; });
        return copy;
    }

    const Mode mode;
    std::vector<std::string> calls; // member and first argument (a string, or the bound session)
    std::vector<QString> triggers;
    QString closedPath, session;

private:
    void onThread(const std::function<void()>& task) {
        QMetaObject::invokeMethod(this, task, Qt::BlockingQueuedConnection);
    }
    static QString senderPart(const QDBusMessage& message) {
        return message.service().mid(1).replace(QLatin1Char('.'), QLatin1Char('_'));
    }
    /// Replies with the request's path, then sends its Response.
    void answer(const QDBusMessage& message, const QDBusConnection& bus, const QVariantMap& options, uint response,
                const QVariantMap& results) {
        const QString request = QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2")
                                    .arg(senderPart(message), options.value(QStringLiteral("handle_token")).toString());
        bus.send(message.createReply(QVariant::fromValue(QDBusObjectPath(request))));
        QDBusMessage signal = QDBusMessage::createSignal(request, QStringLiteral("org.freedesktop.portal.Request"),
                                                         QStringLiteral("Response"));
        signal << response << results;
        bus.send(signal);
    }

    QThread thread;
    std::unique_ptr<QDBusConnection> connection;
};

/// A private session bus (dbus-daemon) and the program's connection to it.
class PortalHotKeysTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::ensureApplication();
        QGuiApplication::setDesktopFileName(QStringLiteral("glimmerbox"));
        registerPortalShortcutTypes();
        daemon.start(QStringLiteral("dbus-daemon"),
                     {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address")});
        ASSERT_TRUE(daemon.waitForReadyRead(5000)) << "dbus-daemon did not start";
        address = QString::fromUtf8(daemon.readLine()).trimmed();
        bus = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(address, QStringLiteral("program")));
        ASSERT_TRUE(bus->isConnected());
    }
    void TearDown() override {
        center.reset();
        bus.reset();
        QDBusConnection::disconnectFromBus(QStringLiteral("program"));
        daemon.kill();
        daemon.waitForFinished();
    }

    bool isPortal(bool isWayland) {
        return dynamic_cast<HotKeyBackendPortal*>(makeLinuxHotKeyBackend(isWayland, *bus).get()) != nullptr;
    }
    void startCenter() {
        std::unique_ptr<HotKeyBackend> backend = makeLinuxHotKeyBackend(true, *bus);
        ASSERT_NE(dynamic_cast<HotKeyBackendPortal*>(backend.get()), nullptr) << "portal not chosen";
        center = std::make_unique<HotKeyCenter>(std::move(backend));
    }
    /// The registration outcomes logged so far, once there are `n` of them.
    Lines outcomes(std::size_t n) {
        testing::waitUntil([&] { return log.lines(" 注册").size() >= n; }, 5000);
        return log.lines(" 注册");
    }

    QProcess daemon;
    QString address;
    std::unique_ptr<QDBusConnection> bus;
    std::unique_ptr<HotKeyCenter> center;
    testing::LogTail log;
    int toggles = 0, expands = 0;
    AppHotKeyHandlers handlers{[this] { ++toggles; }, [this] { ++expands; }, [] {}, [] {}};
};

TEST_F(PortalHotKeysTest, BindsTheKeysInOneRequestWithTheirTriggersAndDeliversPresses) {
    FakePortal portal(address, FakePortal::Mode::grants);
    EXPECT_FALSE(isPortal(false)) << "outside a Wayland session X11 grabs serve";
    startCenter();
    HotKeySpec hotkey{.keyCode = 40, .modifiers = 0x1200}; // K with Super and Shift
    registerAppHotKeys(*center, hotkey, handlers);
    EXPECT_EQ(log.lines(" 注册"), Lines{}) << "nothing is known before the portal answers";
    EXPECT_EQ(outcomes(3), (Lines{"INFO 全局快捷键 Shift+Super+K 注册成功", "INFO 副图展开快捷键 Ctrl+Alt+E 注册成功",
                                  "INFO 全览快捷键 Ctrl+Alt+G 注册成功"}));
    // The program's desktop entry first, then one request on the session created.
    const std::string bind = "BindShortcuts " + portal.read(portal.session).toStdString();
    EXPECT_EQ(portal.read(portal.calls),
              (Lines{"Register glimmerbox", "Get org.freedesktop.portal.GlobalShortcuts", "CreateSession ", bind}));
    EXPECT_EQ(portal.read(portal.triggers),
              (std::vector<QString>{"toggle-panel SHIFT+LOGO+k", "expand CTRL+ALT+e", "overview CTRL+ALT+g"}));

    portal.press(QStringLiteral("expand"));
    portal.press(QStringLiteral("toggle-panel"));
    ASSERT_TRUE(testing::waitUntil([&] { return expands == 1 && toggles == 1; }, 5000));

    // Registering again after a settings change asks the portal only about what changed.
    registerAppHotKeys(*center, hotkey, handlers);
    EXPECT_EQ(log.lines(" 注册").size(), 6u) << "answered at once";
    hotkey.keyCode = 122; // F1
    registerAppHotKeys(*center, hotkey, handlers);
    EXPECT_EQ(outcomes(9).back(), "INFO 全局快捷键 Shift+Super+F1 注册成功") << "after the two held keys";
    EXPECT_EQ(portal.read(portal.triggers).at(3), "toggle-panel SHIFT+LOGO+F1");
    EXPECT_EQ(portal.read(portal.calls).back(), bind) << "on the same session";

    // A key dropped later is dropped by the program; quitting closes the session.
    center->unregister(HotKeyCenter::Slot::toggle);
    portal.press(QStringLiteral("toggle-panel"));
    portal.press(QStringLiteral("expand"));
    ASSERT_TRUE(testing::waitUntil([&] { return expands == 2; }, 5000));
    EXPECT_EQ(toggles, 1);
    center->unregisterAll();
    EXPECT_TRUE(
        testing::waitUntil([&] { return portal.read(portal.closedPath) == portal.read(portal.session); }, 5000));
}

TEST_F(PortalHotKeysTest, ARefusingPortalFailsEachKeyAndOneWithoutShortcutsIsNotUsed) {
    {
        FakePortal portal(address, FakePortal::Mode::refuses);
        startCenter();
        registerAppHotKeys(*center, HotKeySpec{}, handlers);
        EXPECT_EQ(outcomes(3), (Lines{"INFO 全局快捷键 Ctrl+Alt+F 注册失败", "INFO 副图展开快捷键 Ctrl+Alt+E 注册失败",
                                      "INFO 全览快捷键 Ctrl+Alt+G 注册失败"}));
        center.reset();
    }
    // No portal on the bus or one without GlobalShortcuts (GNOME before 48): the X11 or the null
    // backend, as before.
    EXPECT_FALSE(isPortal(true)) << "no portal";
    EXPECT_TRUE(log.has("INFO 桌面门户不提供全局快捷键：全局快捷键不可用"));
    FakePortal withoutShortcuts(address, FakePortal::Mode::withoutShortcuts);
    EXPECT_FALSE(isPortal(true)) << "portal without GlobalShortcuts";
}

} // namespace
} // namespace glimmer
