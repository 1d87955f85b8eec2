#include "card/CardInteraction.h"

#include "card/ViewSequence.h"
#include "doubles/ManualClock.h"

#include <gtest/gtest.h>

namespace glimmer {
namespace {

using enum ChartView;

/// A card on one 1440 x 900 screen, its panel at (500, 100), recording what the machine asks for.
class FakeHost final : public CardInteraction::Host {
public:
    CardLayout cardLayout() const override { return CardLayout(QSizeF(376, 242)); }
    std::vector<ChartView> dotViews() const override { return ViewSequence::enabledSequence(enabled); }
    ChartView nextView() const override { return ViewSequence::nextView(current, dotViews()); }
    bool isExpandMode() const override { return expand; }
    std::optional<Rect> windowFrame() const override { return frame; }
    void setWindowFrame(const Rect& f) override { frame = f; }
    std::vector<Screen> screens() const override { return {{{0, 0, 1440, 900}, {0, 0, 1440, 875}}}; }
    std::optional<DockSide> dockPreviewSide() const override { return preview; }
    void setDockPreviewSide(std::optional<DockSide> side) override {
        preview = side;
        ++previewChanges;
    }
    void armSingleClickTimer(double seconds) override { armed.push_back(seconds); }
    void cancelSingleClickTimer() override { ++cancels; }

    std::vector<ChartView> enabled{intraday, macd, fundFlow, dailyCandles, volume};
    ChartView current = intraday;
    bool expand = false;
    std::optional<Rect> frame = Rect{500, 100, 376, 242};
    std::optional<DockSide> preview;
    int previewChanges = 0;
    std::vector<double> armed;
    int cancels = 0;
};

class CardInteractionTest : public ::testing::Test {
protected:
    CardInteractionTest() : machine(host, callbacks, clock) {
        callbacks.onSwitchView = [this](ChartView view) { switched.push_back(view); };
        callbacks.onSwitchStock = [this](int delta) { stocks.push_back(delta); };
        callbacks.onLockToggle = [this](ChartView view) { locks.push_back(view); };
        callbacks.onPinToggle = [this] { ++pins; };
        callbacks.onFocusRequest = [this] { ++focus; };
        callbacks.onDragEnd = [this](std::optional<DockSide> side) { dragEnds.push_back(side); };
        callbacks.onResize = [this](QSizeF size) { resizes.push_back(size); };
        callbacks.onResizeCommit = [this] { ++resizeCommits; };
    }

    /// A click at `p` (view coordinates); the screen point follows the panel's origin.
    void click(QPointF p, int clickCount = 1) {
        machine.press(p, screenOf(p), clickCount);
        machine.release(p);
    }
    Point screenOf(QPointF p) const { return {host.frame->x + p.x(), host.frame->maxY() - p.y()}; }
    void elapse(double seconds) {
        clock.advance(seconds);
        machine.runDueSingleClick();
    }

    ManualClock clock;
    FakeHost host;
    CardCallbacks callbacks;
    CardInteraction machine;
    std::vector<ChartView> switched, locks;
    std::vector<int> stocks;
    std::vector<std::optional<DockSide>> dragEnds;
    std::vector<QSizeF> resizes;
    int pins = 0, focus = 0, resizeCommits = 0;

    const QPointF body{200, 140};
    // Dot squares for five views start at x = 166 and step by 14, from y = 226.
    const QPointF fourthDot{215, 233};
};

TEST_F(CardInteractionTest, SingleClickOnTheBodyActsAfterTheDelayWithTheNextView) {
    click(body);
    EXPECT_EQ(focus, 1);
    ASSERT_EQ(host.armed, std::vector<double>{0.24});
    elapse(0.2); // a timer firing early waits for the rest of the delay
    EXPECT_TRUE(switched.empty());
    ASSERT_EQ(host.armed.size(), 2u);
    EXPECT_NEAR(host.armed.back(), 0.04, 1e-9);
    // The view is chosen when the click is acted on.
    host.current = volume;
    elapse(0.041);
    EXPECT_EQ(switched, std::vector<ChartView>{dailyCandles});
    EXPECT_FALSE(machine.hasPendingSingleClick());
}

TEST_F(CardInteractionTest, DoubleClicksSwitchStockOrLockADotAndCancelTheSingleClick) {
    click(body);
    click(body, 2);
    elapse(1);
    EXPECT_EQ(stocks, std::vector<int>{1});
    EXPECT_EQ(host.cancels, 1);
    click(fourthDot);
    elapse(0.25);
    EXPECT_EQ(switched, std::vector<ChartView>{volume});
    click(fourthDot);
    click(fourthDot, 2);
    elapse(0.25);
    EXPECT_EQ(locks, std::vector<ChartView>{volume});
    EXPECT_EQ(switched, std::vector<ChartView>{volume});
}

TEST_F(CardInteractionTest, PinTogglesAtOnceOnReleaseAndTwiceOnDoubleClick) {
    const QPointF pin{43, 42};
    machine.press(pin, screenOf(pin), 1);
    EXPECT_EQ(pins, 0);
    EXPECT_EQ(machine.dragMode(), CardInteraction::DragMode::none); // the pin never resizes
    machine.release(pin);
    EXPECT_EQ(pins, 1);
    EXPECT_FALSE(machine.hasPendingSingleClick());
    click(pin, 2);
    EXPECT_EQ(pins, 2);
    EXPECT_TRUE(stocks.empty());
}

TEST_F(CardInteractionTest, ExpandModeIgnoresSingleClicksButKeepsDoubleClicks) {
    host.expand = true;
    click(body);
    click(fourthDot);
    elapse(1);
    EXPECT_TRUE(switched.empty());
    EXPECT_TRUE(host.armed.empty());
    click(fourthDot, 2);
    click(body, 2);
    EXPECT_EQ(locks, std::vector<ChartView>{volume});
    EXPECT_EQ(stocks, std::vector<int>{1});
}

TEST_F(CardInteractionTest, FourPointsAreStillAClickFiveMoveThePanelAndCancelTheClick) {
    const Point start = screenOf(body);
    machine.press(body, start, 1);
    machine.drag({start.x - 4, start.y + 4});
    machine.release(body);
    EXPECT_EQ(host.frame, (Rect{500, 100, 376, 242}));
    elapse(0.3);
    EXPECT_EQ(switched, std::vector<ChartView>{macd});
    click(body); // the first click of what turns into a drag
    machine.press(body, start, 1);
    machine.drag({start.x + 5, start.y});
    EXPECT_EQ(machine.dragMode(), CardInteraction::DragMode::move);
    EXPECT_EQ(host.frame, (Rect{505, 100, 376, 242}));
    machine.drag({start.x + 40, start.y - 60});
    EXPECT_EQ(host.frame, (Rect{540, 40, 376, 242}));
    machine.release(body);
    elapse(1);
    EXPECT_EQ(switched, std::vector<ChartView>{macd});
    EXPECT_EQ(dragEnds, std::vector<std::optional<DockSide>>{std::nullopt});

    host.frame.reset(); // no window: no drag and no dock report
    machine.press(body, {0, 0}, 1);
    machine.drag({100, 100});
    machine.release(body);
    EXPECT_EQ(dragEnds.size(), 1u);
}

TEST_F(CardInteractionTest, ReleaseDocksWithinThirtySixPointsOfTheVisibleEdgeAfterAPreviewFromFiftyTwo) {
    host.preview = DockSide::right;
    machine.press(body, screenOf(body), 1);
    EXPECT_EQ(host.preview, std::nullopt) << "a press clears a preview left from before";
    const auto dragTo = [&](double x) {
        host.frame = Rect{500, 100, 376, 242};
        const Point start = screenOf(body);
        machine.press(body, start, 1);
        machine.drag({start.x + (x - 500), start.y});
        const auto preview = host.preview;
        machine.release(body);
        EXPECT_EQ(host.preview, std::nullopt) << "the preview bar goes on release";
        return preview;
    };
    EXPECT_EQ(dragTo(36), DockSide::left);
    EXPECT_EQ(dragTo(37), DockSide::left);
    EXPECT_EQ(dragTo(52), DockSide::left);
    EXPECT_EQ(dragTo(53), std::nullopt);
    EXPECT_EQ(dragTo(1440 - 376 - 36), DockSide::right);
    EXPECT_EQ(dragTo(-20), DockSide::left); // sticking out still docks to that side
    EXPECT_EQ(dragEnds, (std::vector<std::optional<DockSide>>{DockSide::left, std::nullopt, std::nullopt, std::nullopt,
                                                              DockSide::right, DockSide::left}));
    // The preview redraws only when the side changes.
    host.previewChanges = 0;
    host.frame = Rect{500, 100, 376, 242};
    const Point start = screenOf(body);
    machine.press(body, start, 1);
    for (double dx : {-460, -470, -480}) machine.drag({start.x + dx, start.y});
    EXPECT_EQ(host.previewChanges, 1);
    machine.drag(start);
    EXPECT_EQ(host.previewChanges, 2);
}

TEST_F(CardInteractionTest, TheTopStripResizesFromTwoPointsAndCornersStopAtTheMinimumPanel) {
    const QPointF strip{120, 10};
    Point start = screenOf(strip);
    machine.press(strip, start, 1);
    EXPECT_EQ(machine.resizeEdge(), ResizeEdge{ResizeEdge::top});
    machine.drag({start.x, start.y + 2});
    EXPECT_EQ(host.frame, (Rect{500, 100, 376, 244}));
    machine.drag({start.x + 50, start.y + 30});
    EXPECT_EQ(host.frame, (Rect{500, 100, 376, 272}));
    EXPECT_EQ(resizes.back(), QSizeF(350, 246));
    machine.release(strip);
    EXPECT_EQ(resizeCommits, 1);
    EXPECT_TRUE(dragEnds.empty());
    elapse(1);
    EXPECT_TRUE(switched.empty());

    host.frame = Rect{500, 100, 376, 242};
    const QPointF corner{372, 238}; // bottom right
    start = screenOf(corner);
    machine.press(corner, start, 1);
    EXPECT_EQ(machine.resizeEdge(), ResizeEdge{ResizeEdge::right | ResizeEdge::bottom});
    machine.drag({start.x - 300, start.y + 300});
    EXPECT_EQ(host.frame, (Rect{500, 100 + 242 - 176, 266, 176}));
    EXPECT_EQ(resizes.back(), QSizeF(240, 150));
}

TEST_F(CardInteractionTest, ScrollAccumulatesWithinHalfASecondThenCoolsDown) {
    EXPECT_FALSE(machine.scroll(30, 30)); // mostly vertical: passed on, and not counted
    EXPECT_FALSE(machine.scroll(0, -80));
    EXPECT_TRUE(machine.scroll(25, 0));
    clock.advance(0.6); // a pause over half a second starts over
    machine.scroll(20, 0);
    EXPECT_TRUE(stocks.empty());
    clock.advance(0.3);
    machine.scroll(20, 3);
    EXPECT_EQ(stocks, std::vector<int>{1});
    clock.advance(0.3);
    machine.scroll(60, 0); // inside the 0.45 s cool-down
    EXPECT_EQ(stocks, std::vector<int>{1});
    clock.advance(0.2);
    machine.scroll(-45, 0);
    EXPECT_EQ(stocks, (std::vector<int>{1, -1}));
}

} // namespace
} // namespace glimmer
