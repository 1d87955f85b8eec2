#include "app/hotkeys/HotKeyBackendPortal.h"
#include "app/hotkeys/AppHotKeys.h"
#include "model/AppPaths.h"
#include "support/TempDir.h"
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

#include <atomic>
#include <filesystem>
#include <mutex>

namespace glimmer {
namespace {

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
        const std::lock_guard lock(mutex);
        calls.push_back(member.toStdString() + " " + args.value(0).toString().toStdString());
        if (member == QLatin1String("Register") || member == QLatin1String("Close")) {
            if (member == QLatin1String("Close")) closedPath = message.path();
            bus.send(message.createReply());
        } else if (member == QLatin1String("Get")) {
            bus.send(mode == Mode::withoutShortcuts
                         ? message.createErrorReply(QDBusError::UnknownInterface, QStringLiteral("no such interface"))
                         : message.createReply(QVariant::fromValue(QDBusVariant(1u))));
        } else if (member == QLatin1String("CreateSession")) {
            const QVariantMap options = qdbus_cast<QVariantMap>(args.value(0));
            session = QStringLiteral("/org/freedesktop/portal/desktop/session/%1/%2")
                          .arg(senderPart(message), options.value(QStringLiteral("session_handle_token")).toString());
            answer(message, bus, options, 0, {{QStringLiteral("session_handle"), session}});
        } else if (member == QLatin1String("BindShortcuts")) {
            const auto shortcuts = qdbus_cast<QList<PortalShortcut>>(args.value(1));
            ++bindCalls;
            boundSession = qdbus_cast<QDBusObjectPath>(args.value(0)).path();
            for (const PortalShortcut& shortcut : shortcuts)
                triggers.push_back(shortcut.id + " " +
                                   shortcut.properties.value(QStringLiteral("preferred_trigger")).toString());
            const QVariantMap options = qdbus_cast<QVariantMap>(args.value(3));
            const QVariantMap granted{{QStringLiteral("shortcuts"), QVariant::fromValue(shortcuts)}};
            answer(message, bus, options, mode == Mode::refuses ? 1 : 0,
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
    template <typename T> T read(const T& field) {
        const std::lock_guard lock(mutex);
        return field;
    }

    const Mode mode;
    std::mutex mutex;               // guards what the portal thread writes below
    std::vector<std::string> calls; // member and first argument (when a string), in order
    int bindCalls = 0;
    std::vector<QString> triggers;
    QString boundSession, closedPath, session;

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
        logStart = logText().size();
    }
    void TearDown() override {
        center.reset();
        bus.reset();
        QDBusConnection::disconnectFromBus(QStringLiteral("program"));
        daemon.kill();
        daemon.waitForFinished();
    }

    static std::string logText() {
        return std::filesystem::exists(AppPaths::logFile()) ? testing::readFile(AppPaths::logFile()) : std::string();
    }
    /// The registration lines logged since the test began, without time stamps.
    std::vector<std::string> loggedLines() const {
        std::vector<std::string> lines;
        const std::string log = logText().substr(logStart);
        for (std::size_t start = 0, end; start < log.size(); start = end + 1) {
            end = log.find('\n', start);
            const std::string line = log.substr(start, end - start);
            if (line.find("快捷键 ") != std::string::npos && line.find(" 注册") != std::string::npos)
                lines.push_back(line.substr(line.find("] ") + 2));
        }
        return lines;
    }
    bool isPortal(bool isWayland) {
        std::unique_ptr<HotKeyBackend> backend = makeLinuxHotKeyBackend(isWayland, *bus);
        return dynamic_cast<HotKeyBackendPortal*>(backend.get()) != nullptr;
    }
    void startCenter() {
        std::unique_ptr<HotKeyBackend> backend = makeLinuxHotKeyBackend(true, *bus);
        ASSERT_NE(dynamic_cast<HotKeyBackendPortal*>(backend.get()), nullptr) << "portal not chosen";
        center = std::make_unique<HotKeyCenter>(std::move(backend));
    }

    QProcess daemon;
    QString address;
    std::unique_ptr<QDBusConnection> bus;
    std::unique_ptr<HotKeyCenter> center;
    std::size_t logStart = 0;
    int toggles = 0, expands = 0;
    AppHotKeyHandlers handlers{[this] { ++toggles; }, [this] { ++expands; }, [] {}, [] {}};
};

TEST_F(PortalHotKeysTest, BindsTheKeysInOneRequestWithTheirTriggersAndDeliversPresses) {
    FakePortal portal(address, FakePortal::Mode::grants);
    EXPECT_FALSE(isPortal(false)) << "outside a Wayland session X11 grabs serve";
    startCenter();
    EXPECT_NE(logText().find("INFO 全局快捷键经桌面门户（GlobalShortcuts）注册"), std::string::npos);
    HotKeySpec hotkey;
    hotkey.keyCode = 40; // K with Super and Shift
    hotkey.modifiers = 0x1200;
    registerAppHotKeys(*center, hotkey, handlers);
    EXPECT_TRUE(loggedLines().empty()) << "nothing is known before the portal answers";
    ASSERT_TRUE(testing::waitUntil([&] { return loggedLines().size() == 3; }, 5000));
    EXPECT_EQ(loggedLines(), (std::vector<std::string>{"INFO 全局快捷键 Shift+Super+K 注册成功",
                                                       "INFO 副图展开快捷键 Ctrl+Alt+E 注册成功",
                                                       "INFO 全览快捷键 Ctrl+Alt+G 注册成功"}));
    EXPECT_EQ(portal.read(portal.bindCalls), 1);
    const std::vector<std::string> calls = portal.read(portal.calls);
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[0], "Register glimmerbox") << "the program's desktop entry, before anything else";
    EXPECT_EQ(calls[1], "Get org.freedesktop.portal.GlobalShortcuts");
    EXPECT_EQ(portal.read(portal.triggers),
              (std::vector<QString>{"toggle-panel SHIFT+LOGO+k", "expand CTRL+ALT+e", "overview CTRL+ALT+g"}));
    EXPECT_EQ(portal.read(portal.boundSession), portal.read(portal.session));
    EXPECT_TRUE(center->isRegistered(HotKeyCenter::Slot::expand));

    portal.press(QStringLiteral("expand"));
    portal.press(QStringLiteral("toggle-panel"));
    ASSERT_TRUE(testing::waitUntil([&] { return expands == 1 && toggles == 1; }, 5000));

    // Registering again after a settings change asks the portal only about what changed.
    registerAppHotKeys(*center, hotkey, handlers);
    EXPECT_EQ(loggedLines().size(), 6u) << "answered at once";
    hotkey.keyCode = 122; // F1
    registerAppHotKeys(*center, hotkey, handlers);
    ASSERT_TRUE(testing::waitUntil([&] { return loggedLines().size() == 9; }, 5000));
    EXPECT_EQ(loggedLines()[8], "INFO 全局快捷键 Shift+Super+F1 注册成功") << "after the two held keys";
    EXPECT_EQ(portal.read(portal.bindCalls), 2);
    EXPECT_EQ(portal.read(portal.triggers).at(3), "toggle-panel SHIFT+LOGO+F1");

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
        ASSERT_TRUE(testing::waitUntil([&] { return loggedLines().size() == 3; }, 5000));
        EXPECT_EQ(loggedLines(), (std::vector<std::string>{"INFO 全局快捷键 Ctrl+Alt+F 注册失败",
                                                           "INFO 副图展开快捷键 Ctrl+Alt+E 注册失败",
                                                           "INFO 全览快捷键 Ctrl+Alt+G 注册失败"}));
        EXPECT_FALSE(center->isRegistered(HotKeyCenter::Slot::toggle));
        center.reset();
    }
    // No portal on the bus or one without GlobalShortcuts (GNOME before 48): the X11 or the null
    // backend, as before.
    EXPECT_FALSE(isPortal(true)) << "no portal";
    EXPECT_NE(logText().find("INFO 桌面门户不提供全局快捷键：全局快捷键不可用"), std::string::npos);
    FakePortal withoutShortcuts(address, FakePortal::Mode::withoutShortcuts);
    EXPECT_FALSE(isPortal(true)) << "portal without GlobalShortcuts";
}

} // namespace
} // namespace glimmer
