// The card in a real panel on the offscreen platform, driven with mouse and wheel events and probed
// pixel by pixel: each painted part where the layout puts it, in its colour.
#include "card/StockCardView.h"
#include "card/CardButton.h"
#include "card/CardFrameCache.h"
#include "card/CardLayout.h"
#include "card/CardPainter.h"
#include "card/FloatingPanel.h"
#include "card/MinimalSlider.h"
#include "card/Theme.h"
#include "doubles/ManualClock.h"
#include "ui/CardSamples.h"
#include "ui/ChartTestSupport.h"
#include "ui/FakeScreenSource.h"
#include "ui/TestApplication.h"
#include "ui/TextRecorder.h"

#include <QApplication>
#include <QLayout>
#include <QPainter>
#include <QTest>
#include <QWheelEvent>

#include <functional>

#include <gtest/gtest.h>

namespace glimmer {
namespace {

using enum ChartView;
using samples::panelHeight;
using samples::panelWidth;
using testing::countLike;
using testing::waitUntil;

class StockCardViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::ensureApplication();
        screens = std::make_unique<testing::FakeScreenSource>(
            std::vector<ScreenGeometry>{{QRect(0, 0, 1440, 900), QRect(0, 25, 1440, 875)}});
        panel = std::make_unique<FloatingPanel>(Rect{500, 100, 376, 242}, *screens);
        panel->setAllowsOffscreenFrame(true);
        card = new StockCardView(nullptr, clock, *screens);
        panel->setContentView(card);
        card->setEntry(samples::cardEntry(true));
        card->setTotal(5);
        card->onSwitchView = [this](ChartView view) { note(std::string("view ") + ChartViews::label(view)); };
        card->onSwitchStock = [this](int delta) { note("stock " + std::to_string(delta)); };
        card->onPinToggle = [this] { note("pin"); };
        card->onDragEnd = [this](std::optional<DockSide>) { note("dock"); };
        card->onClose = [this] { note("close"); };
        card->onHoverChange = [this](bool on) { note(on ? "hover" : "leave"); };
        panel->orderFront();
        ASSERT_TRUE(testing::waitForExposed(*panel));
    }

    void dragBy(QPoint p, QPoint d = {}) {
        testing::mousePress(*card, p);
        if (d != QPoint()) testing::mouseDrag(*card, p + d);
        testing::mouseRelease(*card, p + d);
    }
    void wheel(QPoint pixels, QPoint angle = {}) {
        QWheelEvent event(QPointF(body), card->mapToGlobal(QPointF(body)), pixels, angle, Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(card, &event);
    }
    /// A fresh panel off screen showing a rising stock, second of six, then `apply`.
    void reset(bool dark, const std::function<void(StockCardView&)>& apply = {}) {
        panel = std::make_unique<FloatingPanel>(Rect{100, 100, panelWidth, panelHeight});
        card = new StockCardView;
        card->resize(panelWidth, panelHeight);
        card->setEntry(samples::cardEntry(true));
        card->setTotal(6);
        card->setIndex(1);
        panel->setContentView(card);
        Theme::applyMode(panel.get(), dark ? ThemeMode::dark : ThemeMode::light);
        if (apply) apply(*card);
    }
    QImage shot(bool dark, const std::function<void(StockCardView&)>& apply = {}) {
        reset(dark, apply);
        return samples::renderWidget(*panel, 2);
    }
    void note(const std::string& what) { log += (log.empty() ? "" : ", ") + what; }
    std::string take() { return std::exchange(log, {}); }
    void settle(int ms) {
        waitUntil([] { return false; }, ms);
    }
    bool settled() {
        return waitUntil([&] { return !card->fades().isAnimating(); });
    }

    ManualClock clock{Instant{} + std::chrono::hours(500000)};
    std::unique_ptr<testing::FakeScreenSource> screens;
    std::unique_ptr<FloatingPanel> panel;
    StockCardView* card = nullptr;
    std::string log; // what the card reported, in order
    const QPoint body{200, 140};
};

TEST_F(StockCardViewTest, MouseAndWheelEventsReachTheInteraction) {
    dragBy(body, {4, -4}); // still a click
    EXPECT_EQ(panel->frame(), (Rect{500, 100, 376, 242}));
    EXPECT_EQ(log, "");
    clock.advance(0.25);
    ASSERT_TRUE(waitUntil([&] { return !log.empty(); }, 1500));
    EXPECT_EQ(take(), "view MACD");

    dragBy(body);
    QMouseEvent event(QEvent::MouseButtonDblClick, body, body, card->mapToGlobal(QPointF(body)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(card, &event);
    testing::mouseRelease(*card, body);
    EXPECT_EQ(take(), "stock 1");
    dragBy(body, {5, 20}); // 20 down on the desktop is 20 lower in screen space
    EXPECT_EQ(panel->frame(), (Rect{505, 80, 376, 242}));
    dragBy({43, 42}); // the pin
    EXPECT_EQ(take(), "dock, pin");

    clock.advance(1);
    wheel({}, {-120, 0}); // a notch without pixels counts twenty points
    EXPECT_EQ(log, "");
    wheel({}, {-120, 0});
    EXPECT_EQ(take(), "stock -1");
    clock.advance(1);
    wheel({}, {0, -240}); // vertical wheels scroll something else
    wheel({45, 0});
    EXPECT_EQ(take(), "stock 1");
}

TEST_F(StockCardViewTest, ControlsFadeWithHoverAndLetClicksThroughWhileInvisible) {
    const QPoint closeCentre = card->layout().closeButton.center().toPoint();
    const QPoint sliderPoint = card->layout().slider.center().toPoint();
    EXPECT_EQ(card->childAt(closeCentre), nullptr);
    EXPECT_EQ(card->childAt(sliderPoint), nullptr);
    QEnterEvent enter{QPointF(body), QPointF(body), card->mapToGlobal(QPointF(body))};
    QApplication::sendEvent(card, &enter);
    ASSERT_TRUE(waitUntil([&] { return card->closeButton()->alpha() == 1 && card->opacitySlider()->alpha() == 1; }));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(card, &leave);
    ASSERT_TRUE(waitUntil([&] { return card->closeButton()->alpha() == 0 && card->opacitySlider()->alpha() == 0; }));

    card->prepareForPreview(0.8);
    EXPECT_EQ(card->childAt(closeCentre), card->closeButton());
    EXPECT_EQ(card->childAt(sliderPoint), card->opacitySlider());
    QTest::mouseClick(card->closeButton(), Qt::LeftButton, {}, QPoint(9, 9));
    EXPECT_EQ(take(), "hover, leave, close");
    card->setOpacitySliderEnabled(false);
    card->prepareForPreview(0.8);
    EXPECT_EQ(card->childAt(sliderPoint), nullptr);
}

TEST_F(StockCardViewTest, FadesBreatheSmoothlyOnlyWhileShownCrossFadeOnScreenAndAnIdleCardNeverRepaints) {
    card->setAlertActive(true);
    EXPECT_TRUE(card->fades().isBreathing());
    panel->orderOut();
    EXPECT_FALSE(card->fades().isBreathing());
    panel->orderFront();
    EXPECT_TRUE(card->fades().isBreathing());
    card->setAlertActive(false);
    EXPECT_FALSE(card->fades().isBreathing());
    card->pulseCharts();
    ASSERT_TRUE(settled());
    settle(100);
    const long before = card->paintCount();
    settle(300);
    EXPECT_EQ(card->paintCount(), before);

    card->setView(macd);
    EXPECT_TRUE(card->fades().isChartShown(intraday));
    EXPECT_TRUE(card->fades().isChartShown(macd));
    ASSERT_TRUE(settled());
    EXPECT_FALSE(card->fades().isChartShown(intraday));
    EXPECT_EQ(card->fades().chartAlpha(macd), 1);
    panel->orderOut();
    card->setView(dailyCandles);
    EXPECT_FALSE(card->fades().isAnimating());
    EXPECT_FALSE(card->fades().isChartShown(macd));
    EXPECT_EQ(card->fades().chartAlpha(dailyCandles), 1);

    card->setEnabledViews({});
    EXPECT_EQ(card->enabledViews(), std::vector<ChartView>{intraday});
    card->setEnabledViews({dailyCandles, macd});
    card->setView(dailyCandles);
    EXPECT_EQ(card->viewAfterCurrent(), std::nullopt);
    EXPECT_EQ(card->nextView(), macd);

    // One breath sampled at 60 frames a second: every frame used to repaint the ring.
    const int frames = 2 * CardFades::breathMs * 60 / 1000;
    int changes = 0;
    for (int f = 1; f <= frames; ++f)
        changes += CardFades::breathAlpha(double(f) / frames) != CardFades::breathAlpha(double(f - 1) / frames);
    EXPECT_EQ(changes, 2 * CardFades::breathSteps);
    EXPECT_EQ((std::vector{CardFades::breathAlpha(0), CardFades::breathAlpha(1)}), (std::vector<double>{1, 1}));
    EXPECT_DOUBLE_EQ(CardFades::breathAlpha(0.5), CardFades::breathLowAlpha);
}

TEST_F(StockCardViewTest, EveryChangedFieldRepaintsAtOnceAndAnUnchangedOneNever) {
    MarketEntry entry = samples::cardEntry(true);
    entry.quote->price += 0.01;
    const std::vector<ChartView> two{intraday, macd};
    // Each change made twice: the second time it changes nothing (the views are always taken).
    const std::vector<std::tuple<const char*, std::function<void()>, bool>> changes{
        {"entry", [&] { card->setEntry(entry); }, true},
        {"pin", [&] { card->setPinPaused(true); }, true},
        {"lock", [&] { card->setLockedView(dailyCandles); }, true},
        {"slider switch", [&] { card->setOpacitySliderEnabled(false); }, true},
        {"placeholder", [&] { card->setPlaceholderText("空"); }, true},
        {"index", [&] { card->setIndex(3); }, true},
        {"total", [&] { card->setTotal(7); }, true},
        {"alert message", [&] { card->setAlertMessage("急跌"); }, true},
        {"enabled views", [&] { card->setEnabledViews(two); }, false},
    };
    for (const auto& [name, change, onlyOnce] : changes) {
        ASSERT_TRUE(settled());
        settle(20);
        long before = card->paintCount();
        change();
        EXPECT_TRUE(waitUntil([&] { return card->paintCount() > before; }, 500)) << name;
        if (!onlyOnce) continue;
        settle(20);
        before = card->paintCount();
        change();
        settle(20);
        EXPECT_EQ(card->paintCount(), before) << name << " again";
    }
}

TEST_F(StockCardViewTest, RepaintingOnlyARegionDrawsItExactlyAsAFullRepaint) {
    card->setLockedView(fundFlow);
    card->setAlertMessage("主力连续 5 分钟净流出，累计减少 0.32 亿");
    ASSERT_TRUE(settled());
    card->setAlertActive(true); // breathes only as events are processed, which render() does not do
    const auto render = [&](const QRegion& region) {
        QImage image(card->size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        card->render(&image, region.boundingRect().topLeft(), region, QWidget::RenderFlags());
        return image;
    };
    const QImage full = render(QRegion(card->rect()));
    const CardLayout l(card->size());
    const std::vector<std::pair<const char*, QRegion>> parts{
        {"charts (cross-fade)", QRegion(l.charts.toAlignedRect())},
        {"glow ring", card->glowRing()},
        {"header", QRegion(l.headerArea().toAlignedRect())},
        {"footer", QRegion(l.footerArea().toAlignedRect())},
        {"across header and chart", QRegion(QRect(40, int(l.charts.top()) - 6, 200, 12))},
        {"across chart and footer", QRegion(QRect(40, int(l.charts.bottom()) - 6, 300, 12))},
    };
    const auto differing = [](const QImage& a, const QImage& b, const QRegion& region, int scale) {
        int count = 0;
        for (const QRect& r : region)
            for (int y = scale * r.top(); y < scale * (r.bottom() + 1); ++y)
                for (int x = scale * r.left(); x < scale * (r.right() + 1); ++x)
                    count += a.pixel(x, y) != b.pixel(x, y);
        return count;
    };
    for (const auto& [name, region] : parts) EXPECT_EQ(differing(render(region), full, region, 1), 0) << name;
    // At two device pixels per point the ring's pieces are cut from the cached frames by device pixels.
    CardFrameCache frames;
    const auto paint = [&](const QRegion& dirty) {
        QImage image(card->size() * 2, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(2);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setClipRegion(dirty);
        frames.paintBody(painter, l, dirty, false);
        frames.paintGlow(painter, l, dirty, 0.5, false);
        return image;
    };
    EXPECT_EQ(differing(paint(card->glowRing()), paint(QRegion(card->rect())), card->glowRing(), 2), 0) << "ring at 2x";
}

TEST_F(StockCardViewTest, DirectionAlertAndDockPreviewShowInTheirColours) {
    for (bool dark : {false, true}) {
        const CardLayout l = card->layout();
        const QColor up = Theme::up().resolve(dark), down = Theme::down().resolve(dark),
                     alert = Theme::alert().resolve(dark);
        const QImage rising = shot(dark);
        const QImage falling = shot(dark, [](StockCardView& card) { card.setEntry(samples::cardEntry(false)); });
        const QImage unchanged = shot(dark, [](StockCardView& card) {
            MarketEntry entry = samples::cardEntry(true);
            entry.quote->price = entry.quote->prevClose;
            card.setEntry(entry);
        });
        const QImage alerted = shot(dark, [](StockCardView& card) {
            card.setAlertActive(true);
            card.setAlertMessage("贵州茅台 5分钟内快速拉升 2.35%");
        });
        const QImage docked = shot(dark, [](StockCardView& card) { card.setDockPreviewSide(DockSide::right); });
        const QRectF ring(l.glow.left(), l.card.center().y() - 20, 2, 40);
        const QRectF bar = l.dockPreviewBar(DockSide::right);
        EXPECT_GT(countLike(rising, l.headerArea(), up), 500) << "the last price and change of a rising stock";
        EXPECT_EQ(countLike(rising, l.headerArea(), down), 0);
        EXPECT_GT(countLike(falling, l.headerArea(), down), 500);
        EXPECT_EQ(countLike(falling, l.headerArea(), up), 0);
        EXPECT_EQ(countLike(unchanged, l.headerArea(), up) + countLike(unchanged, l.headerArea(), down), 0);
        EXPECT_GT(countLike(alerted, l.banner(), alert), 4 * countLike(rising, l.banner(), alert)) << "the banner";
        EXPECT_GT(countLike(alerted, ring, alert), 100) << "the glow ring";
        EXPECT_EQ(countLike(rising, ring, alert), 0);
        EXPECT_GT(countLike(docked, bar, Theme::accent().resolve(dark)), 1000) << "the dock preview bar";
        EXPECT_EQ(countLike(rising, bar, Theme::accent().resolve(dark)), 0);
    }
}

TEST_F(StockCardViewTest,
       HoldingsStripTakesTheHeaderLineWhenWideTheFooterWhenSmallNeverTheChartAndHidesAmountsInPrivacy) {
    const std::pair<QSize, HoldingStrip::Slot> cases[] = {
        {QSize(panelWidth, panelHeight), HoldingStrip::Slot::header},
        {QSize(int(CardLayout::minimumPanelWidth), int(CardLayout::minimumPanelHeight)), HoldingStrip::Slot::footer},
    };
    for (const auto& [size, slot] : cases) {
        reset(false);
        panel->setFrame({100, 100, double(size.width()), double(size.height())});
        panel->layout()->activate();
        ASSERT_EQ(card->size(), size);
        const QImage without = samples::renderWidget(*card, 1);
        card->setEntry(samples::heldEntry(true));
        const QImage with = samples::renderWidget(*card, 1);

        const CardLayout layout{QSizeF(size)};
        const auto strip = CardPainter::holdingsStrip(layout, *card->entry(), 5, false, &with);
        ASSERT_TRUE(strip);
        EXPECT_EQ(strip->slot, slot) << size.width();
        const QRect changed = testing::differingPixels(without, with);
        ASSERT_FALSE(changed.isEmpty()) << "the strip is drawn";
        const bool header = slot == HoldingStrip::Slot::header;
        EXPECT_GE(changed.top(), header ? layout.card.top() + 26 : layout.footerArea().top());
        EXPECT_LE(changed.bottom(), header ? layout.headerArea().bottom() : layout.card.bottom());
        EXPECT_LT(changed.right(), header ? layout.card.right() - 60 : layout.dot(0, 5).left() - 4);
    }
    reset(false); // privacy mode draws no amount but keeps the percent
    card->setEntry(samples::heldEntry(true));
    card->setPrivacyMode(true);
    const QString masked = testing::TextRecorder::textsOf(*card).join(QLatin1Char('|'));
    EXPECT_EQ((std::tuple(masked.contains("2,451"), masked.count("****"), masked.contains("+20.22%"),
                          masked.contains("1683.67"))),
              (std::tuple(false, 2, true, true)))
        << masked.toStdString();
}

using S = MinimalSlider;

const QSizeF sliderSize(18, 120);

TEST(MinimalSlider, MinimumAtTheBottomMaximumAtTheTopOfAFivePointTrackAndOnlyALeftDragReportsAndCommits) {
    EXPECT_EQ(S::trackRect(sliderSize), QRectF(6.5, 8, 5, 104));
    // A slider too short for its margins keeps a one-point track rather than none.
    EXPECT_EQ(S::trackRect(QSizeF(18, 10)).height(), 1);
    EXPECT_DOUBLE_EQ(S::knobY(sliderSize, S::fraction(0.25, 0.25, 1)), 112);
    EXPECT_DOUBLE_EQ(S::knobY(sliderSize, S::fraction(0.625, 0.25, 1)), 60);
    // Values outside the range stay on the track; equal or reversed bounds divide by a tiny range, not zero.
    const std::tuple<double, double, double, double> fractions[] = {
        {0.1, 0.25, 1, 0}, {1.5, 0.25, 1, 1}, {0.5, 0.5, 0.5, 0}, {0.50005, 0.5, 0.5, 0.5}, {0.5, 0.5, 0.4, 0}};
    for (const auto& [value, low, high, fraction] : fractions)
        EXPECT_NEAR(S::fraction(value, low, high), fraction, 1e-9) << value << " in " << low << "..." << high;
    EXPECT_DOUBLE_EQ(S::valueAt(-40, sliderSize, 0.25, 1), 1);
    EXPECT_DOUBLE_EQ(S::valueAt(400, sliderSize, 0.25, 1), 0.25);
    EXPECT_DOUBLE_EQ(S::valueAt(8, sliderSize, 0.5, 0.5), 0.5);

    testing::ensureApplication();
    MinimalSlider slider;
    slider.resize(sliderSize.toSize());
    std::vector<double> changes;
    int commits = 0;
    slider.onChange = [&](double value) { changes.push_back(value); };
    slider.onCommit = [&] { ++commits; };
    testing::mousePress(slider, QPoint(9, 8), Qt::RightButton);
    testing::mouseRelease(slider, QPoint(9, 8), Qt::RightButton);
    EXPECT_DOUBLE_EQ(slider.value(), 0.55);
    testing::mousePress(slider, QPoint(9, 8));
    testing::mouseDrag(slider, QPoint(9, 60));
    testing::mouseDrag(slider, QPoint(9, 300));
    testing::mouseRelease(slider, QPoint(9, 300), Qt::RightButton);
    EXPECT_EQ(commits, 0);
    testing::mouseRelease(slider, QPoint(9, 300));
    EXPECT_EQ(changes, (std::vector<double>{1, 0.625, 0.25}));
    EXPECT_EQ(commits, 1);
}

} // namespace
} // namespace glimmer
