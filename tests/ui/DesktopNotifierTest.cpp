#include "app/notify/DesktopNotifier.h"
#include "support/TempDir.h"
#include "ui/TestApplication.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

namespace glimmer {
namespace {

/// A notification server of our own: answers Notify with a new id, or the replaced one, and keeps
/// each call as "replaces id|summary|body|actions|desktop-entry hint|timeout".
class FakeNotificationServer : public QDBusVirtualObject {
public:
    QString introspect(const QString&) const override { return {}; }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& bus) override {
        if (message.member() != QLatin1String("Notify")) return false;
        const QList<QVariant> a = message.arguments();
        const QString entry = qdbus_cast<QVariantMap>(a.value(6)).value(QStringLiteral("desktop-entry")).toString();
        calls << QStringLiteral("%1|%2|%3|%4|%5|%6")
                     .arg(a.value(1).toString(), a.value(3).toString(), a.value(4).toString(),
                          a.value(5).toStringList().join(','), entry, a.value(7).toString());
        bus.send(message.createReply(QVariant(a.value(1).toUInt() != 0 ? a.value(1).toUInt() : ++lastId)));
        return true;
    }

    QStringList calls;
    uint lastId = 40;
};

class DesktopNotifierTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::ensureApplication();
        // Our own configuration: no services are started on demand, so a missing server stays missing.
        testing::writeFile(dir / "bus.conf", "<busconfig><type>session</type><listen>unix:dir=" + dir.path().string() +
                                                 "</listen><policy context=\"default\"><allow send_destination=\"*\"/>"
                                                 "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>");
        daemon.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--config-file=%1").arg((dir / "bus.conf").c_str()),
                                                     QStringLiteral("--nofork"), QStringLiteral("--print-address")});
        ASSERT_TRUE(daemon.waitForReadyRead(5000)) << "dbus-daemon did not start";
        const QString address = QString::fromUtf8(daemon.readLine()).trimmed();
        server = QDBusConnection::connectToBus(address, QStringLiteral("notification-server"));
        ASSERT_TRUE(server.registerVirtualObject(QString::fromLatin1(DesktopNotifier::path), &fake));
        ASSERT_TRUE(server.registerService(QString::fromLatin1(DesktopNotifier::service)));
        notifier = std::make_unique<DesktopNotifier>(QDBusConnection::connectToBus(address, QStringLiteral("program")));
        notifier->onActivated = [this](const std::string& code) { activated.push_back(code); };
    }
    void TearDown() override {
        notifier.reset();
        QDBusConnection::disconnectFromBus(QStringLiteral("program"));
        QDBusConnection::disconnectFromBus(QStringLiteral("notification-server"));
        daemon.kill();
        daemon.waitForFinished();
    }

    void emitSignal(const QString& path, const QString& interface, const QString& name, const QVariantList& args) {
        QDBusMessage signal = QDBusMessage::createSignal(path, interface, name);
        signal.setArguments(args);
        server.send(signal);
    }

    testing::TempDir dir;
    QProcess daemon;
    QDBusConnection server{QString()};
    FakeNotificationServer fake;
    std::unique_ptr<DesktopNotifier> notifier;
    std::vector<std::string> activated;
    testing::LogTail log;
};

TEST_F(DesktopNotifierTest, NotificationsAreReplacedPerSecurityAClickNamesItAndAMissingServerIsLoggedOnce) {
    // Asked for before the server answers: the later texts wait for the first one's id and only the
    // newest is sent, in its place; another security gets a notification of its own.
    notifier->notify("600519", "贵州茅台 600519", "跌破 1500.00 <止损> & 观察", false);
    notifier->notify("600519", "贵州茅台 600519", "5 分钟涨 3.1%", true);
    notifier->notify("600519", "贵州茅台 600519", "主力持续流出", true);
    notifier->notify("300750", "宁德时代 300750", "主力/散户剪刀差", false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return fake.calls.size() >= 3; }, 5000));
    EXPECT_EQ(fake.calls,
              (QStringList{"0|贵州茅台 600519|跌破 1500.00 &lt;止损&gt; &amp; 观察|default,查看|glimmerbox|-1",
                           "0|宁德时代 300750|主力/散户剪刀差|default,查看|glimmerbox|-1",
                           "41|贵州茅台 600519|主力持续流出|default,查看|glimmerbox|-1"}))
        << "the body is markup, so its text is escaped";

    const auto invoke = [&](const QString& action) {
        emitSignal(QString::fromLatin1(DesktopNotifier::path), QString::fromLatin1(DesktopNotifier::service),
                   QStringLiteral("ActionInvoked"), {42u, action});
    };
    invoke(QStringLiteral("other"));
    invoke(QStringLiteral("default"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !activated.empty(); }, 5000));
    EXPECT_EQ(activated, std::vector<std::string>{"300750"});
    notifier->notify("600519", "贵州茅台 600519", "新的一轮", false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return fake.calls.size() >= 4; }, 5000));
    EXPECT_TRUE(fake.calls[3].startsWith("0|")) << "a new presentation starts a new notification";

    EXPECT_FALSE(notifier->isScreenLocked());
    emitSignal(QStringLiteral("/org/gnome/ScreenSaver"), QStringLiteral("org.gnome.ScreenSaver"),
               QStringLiteral("ActiveChanged"), {true});
    EXPECT_TRUE(QTest::qWaitFor([&] { return notifier->isScreenLocked(); }, 5000));
    emitSignal(QStringLiteral("/ScreenSaver"), QStringLiteral("org.freedesktop.ScreenSaver"),
               QStringLiteral("ActiveChanged"), {false});
    EXPECT_TRUE(QTest::qWaitFor([&] { return !notifier->isScreenLocked(); }, 5000));

    ASSERT_TRUE(server.unregisterService(QString::fromLatin1(DesktopNotifier::service)));
    notifier->notify("600519", "贵州茅台 600519", "跌破 1500.00", false);
    notifier->notify("300750", "宁德时代 300750", "主力/散户剪刀差", false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return log.has("ERR  桌面通知未能发送："); }, 5000));
    QTest::qWait(200);
    EXPECT_EQ(log.count("ERR  桌面通知未能发送："), 1);
    EXPECT_EQ(fake.calls.size(), 4);
}

} // namespace
} // namespace glimmer
