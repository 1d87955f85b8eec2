#include "ui/AppTestSupport.h"

#include <QApplication>
#include <QImage>
#include <QPalette>

#include <gtest/gtest.h>

namespace glimmer {
namespace {

using enum ChartView;
using enum AlertKind;

using testing::AppHarness;
using testing::quotedEntry;

AlertEvent event(AlertKind kind, const std::string& code, const std::string& message) {
    return {kind, code, code == "600519" ? "贵州茅台" : "宁德时代", message, Instant{}};
}

class AlertPresenterTest : public ::testing::Test {
protected:
    void SetUp() override {
        app.store.list = {quotedEntry("300750", "宁德时代", 234, 230), quotedEntry("600519", "贵州茅台", 1666, 1500),
                          quotedEntry("510300", "沪深300ETF", 3.9, 3.88)};
        app.config = {.autoRotateSeconds = 0, .viewRotateSeconds = 0, .sound = {.enabled = true}};
        app.sound.config = app.config.sound;
        app.buildPanel({100, 100, 376, 242});
        app.presenter.refreshCard(true);
    }
    std::string onCard() const { return app.card->entry() ? app.card->entry()->item.code : ""; }

    AppHarness app;
};

TEST_F(AlertPresenterTest, ABatchShowsTheFirstWithACountForTwentyFiveSecondsFromTheNewestAlert) {
    app.alerts.handleAlerts({});
    EXPECT_EQ(std::pair(app.logLines.size(), app.alerts.isPresenting()), std::pair(0ul, false))
        << "an empty batch does nothing";
    app.alerts.handleAlerts({event(priceAbove, "600519", "突破 1600.00（现价 1666.00）"),
                             event(fastRise, "600519", "3 分钟涨 2.10%"), event(maTouch, "600519", "回踩 M20")});
    EXPECT_EQ(std::tuple(onCard(), app.presenter.currentIndex(), app.store.priorityCodes.back(),
                         app.card->alertActive(), app.card->alertMessage()),
              std::tuple("600519", 1, std::optional<std::string>("600519"), true,
                         std::optional<std::string>("突破 1600.00（现价 1666.00）（另 2 条）")))
        << "the alerted security comes onto the card with its glow and the count";
    EXPECT_EQ(app.sounds.size(), 1u) << "one sound for the whole batch (first chime note)";
    app.presenter.switchStock(1, false);
    EXPECT_FALSE(app.card->alertActive()) << "the glow belongs to the alerted security";
    app.presenter.switchStock(-1, false);
    app.scheduler.advance(20);
    app.alerts.handleAlerts({event(fastDrop, "600519", "3 分钟跌 2.00%")});
    EXPECT_EQ(app.card->alertMessage(), "3 分钟跌 2.00%");
    app.scheduler.advance(24.9);
    EXPECT_TRUE(app.card->alertActive());
    app.scheduler.advance(0.2);
    EXPECT_EQ(std::tuple(app.card->alertActive(), app.card->alertMessage(), app.presenter.alertCode),
              std::tuple(false, std::nullopt, std::nullopt));
}

TEST_F(AlertPresenterTest, AnAlertForAHiddenSecurityOrInOverviewModeLeavesTheCardAndAHiddenOneBlinksTheTray) {
    app.config.hiddenCodes = {"600519"};
    app.placement.hidePanel();
    app.alerts.handleAlerts({event(priceAbove, "600519", "突破 1600.00")});
    EXPECT_EQ(std::tuple(app.presenter.currentIndex(), onCard(), app.card->alertActive(), app.sounds.size(),
                         app.statusBar->isBlinking()),
              std::tuple(0, "300750", false, 1u, true));
    EXPECT_EQ(app.statusBar->title().text, " ⚠ 贵州茅台 突破 1600.00");
    app.scheduler.advance(25);
    EXPECT_EQ(std::tuple(app.statusBar->isBlinking(), app.statusBar->title().style, app.statusBar->title().text),
              std::tuple(false, StatusTitle::Style::security, " 宁德时代 +1.74%"));

    app.overview.active = true;
    app.alerts.handleAlerts({event(priceAbove, "510300", "突破 4.00")});
    EXPECT_EQ(std::tuple(app.presenter.currentIndex(), app.card->alertActive(), app.presenter.alertCode),
              std::tuple(0, false, std::optional<std::string>("510300")))
        << "in overview mode the card stays and shows no glow";
}

/// The colour of the tray icon's strokes: its most opaque pixel at the panel's usual size.
QColor trayInk(const StatusBarController& bar) {
    const QImage image = bar.statusItem()->icon().pixmap(22).toImage();
    QColor ink(Qt::transparent);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y).alpha() > ink.alpha()) ink = image.pixelColor(x, y);
    return ink;
}

TEST_F(AlertPresenterTest, TheTrayBlinksRedOnlyWhileThePanelIsHiddenAndOtherwiseTakesThePanelsTextColour) {
    const QPalette before = QApplication::palette();
    QApplication::setPalette(QPalette(QColor(0xf2, 0xf2, 0xf2), QColor(0x24, 0x24, 0x24)));
    EXPECT_GT(trayInk(*app.statusBar).lightness(), 200) << "light on a dark panel";
    app.alerts.handleAlerts({event(scissors, "300750", "主力/散户剪刀差")});
    EXPECT_FALSE(app.statusBar->isBlinking()) << "the card shows it; no blink while visible";
    app.placement.hidePanel();
    app.alerts.handleAlerts({event(fastRise, "600519", "5 分钟涨 3.1%")});
    ASSERT_TRUE(app.statusBar->isBlinking());
    const QColor red = trayInk(*app.statusBar);
    EXPECT_TRUE(red.red() > 200 && red.green() < 100 && red.blue() < 100) << red.name().toStdString();
    EXPECT_DOUBLE_EQ(app.statusBar->title().redAlpha, 1);
    QApplication::setPalette(QPalette(QColor(0x20, 0x20, 0x20), QColor(0xf6, 0xf6, 0xf6)));
    EXPECT_EQ(trayInk(*app.statusBar), red) << "the blink stays red whatever the panel";
    app.scheduler.advance(0.55);
    EXPECT_DOUBLE_EQ(app.statusBar->title().redAlpha, 0.18);
    EXPECT_LT(trayInk(*app.statusBar).lightness(), 60) << "dark on a light panel once the theme changed";
    app.scheduler.advance(0.55);
    EXPECT_DOUBLE_EQ(app.statusBar->title().redAlpha, 1);
    app.placement.showPanel();
    EXPECT_EQ(std::pair(app.statusBar->isBlinking(), app.statusBar->title().style),
              std::pair(false, StatusTitle::Style::iconOnly));
    QApplication::setPalette(before);
}

TEST_F(AlertPresenterTest, NotificationsWhileHiddenOrLockedOneEachReplacedPerSecurityUntilTheClear) {
    testing::RecordingNotifier notifier;
    app.context.notifier = &notifier;
    const auto fire = [&](const std::vector<AlertEvent>& events) {
        notifier.sent.clear();
        app.alerts.handleAlerts(events);
        return notifier.sent;
    };
    using Sent = std::vector<std::string>;
    EXPECT_EQ(fire({event(fastRise, "300750", "5 分钟涨 3.1%")}), Sent{}) << "the card shows it";
    notifier.locked = true;
    EXPECT_EQ(fire({event(fastRise, "300750", "5 分钟涨 3.5%")}), Sent{"300750|宁德时代 300750|5 分钟涨 3.5%"});
    notifier.locked = false;
    app.placement.hidePanel();
    EXPECT_EQ(fire({event(scissors, "300750", "主力/散户剪刀差"), event(priceAbove, "600519", "突破 1600.00")}),
              (Sent{"300750|宁德时代 300750|主力/散户剪刀差|replaces", "600519|贵州茅台 600519|突破 1600.00"}));
    app.config.sound.desktopNotifications = false;
    EXPECT_EQ(fire({event(fastDrop, "600519", "3 分钟跌 2.00%")}), Sent{});
    app.config.sound.desktopNotifications = true;
    app.scheduler.advance(25);
    EXPECT_EQ(fire({event(fastDrop, "600519", "3 分钟跌 2.50%")}), Sent{"600519|贵州茅台 600519|3 分钟跌 2.50%"})
        << "a new presentation gets a new notification";
}

TEST_F(AlertPresenterTest, TheAlertedSecurityGetsAWholeRoundBeforeRotationMovesOn) {
    app.config.autoRotateSeconds = 25;
    app.config.viewRotateSeconds = 5;
    app.presenter.updateRotateTimer();
    app.scheduler.advance(20);
    ASSERT_EQ(app.card->view(), dailyCandles) << "the last of the five views";

    // An alert for the security on the card, one view before its round ends.
    app.alerts.handleAlerts({event(fastDrop, "300750", "3 分钟跌 2.00%")});
    app.scheduler.advance(5);
    EXPECT_EQ(std::pair(onCard(), app.card->alertActive()), std::pair(std::string("300750"), true));

    // An alert for another security while the card is on its last view again.
    app.scheduler.advance(20);
    ASSERT_EQ(app.card->view(), dailyCandles);
    app.alerts.handleAlerts({event(priceAbove, "600519", "突破 1600.00")});
    EXPECT_EQ(std::tuple(onCard(), app.card->view(), app.loggedCount("INFO 切换股票")),
              std::tuple("600519", intraday, 0))
        << "its round starts on the first view, and it is not a rotation step";
    app.scheduler.advance(24.9);
    EXPECT_EQ(std::pair(onCard(), app.card->alertActive()), std::pair(std::string("600519"), true))
        << "glow and banner stay for the whole presentation";
    app.scheduler.advance(0.2);
    EXPECT_EQ(onCard(), "510300");
}

} // namespace
} // namespace glimmer
