#include "card/CardInteraction.h"
#include "app/hotkeys/ArrowKeyStep.h"
#include "card/FloatingPanel.h"
#include "card/ViewSequence.h"
#include "doubles/ManualClock.h"
#include "ui/TestApplication.h"

#include <QApplication>
#include <QKeyEvent>
#include <QString>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

namespace glimmer {
namespace {

using enum ChartView;

/// A card on one 1440 x 900 screen, its panel at (500, 100), logging what the machine reports and asks for.
class CardInteractionTest : public ::testing::Test, public CardInteraction::Host {
protected:
    CardInteractionTest() : machine(*this, callbacks, clock) {
        callbacks.onSwitchView = [this](ChartView view) { note("view", ChartViews::label(view)); };
        callbacks.onSwitchStock = [this](int delta) { note("stock", std::to_string(delta)); };
        callbacks.onLockToggle = [this](ChartView view) { note("lock", ChartViews::label(view)); };
        callbacks.onPinToggle = [this] { note("pin"); };
        callbacks.onFocusRequest = [this] { note("focus"); };
        callbacks.onDragEnd = [this](std::optional<DockSide> side) { note("dock", sideName(side)); };
        callbacks.onResize = [this](QSizeF s) {
            note("size", QString("%1x%2").arg(s.width()).arg(s.height()).toStdString());
        };
        callbacks.onResizeCommit = [this] { note("commit"); };
    }

    CardLayout cardLayout() const override { return CardLayout(QSizeF(376, 242)); }
    std::vector<ChartView> dotViews() const override { return ViewSequence::enabledSequence(enabled); }
    ChartView nextView() const override { return ViewSequence::nextView(current, dotViews()); }
    bool isExpandMode() const override { return expand; }
    std::optional<Rect> windowFrame() const override { return frame; }
    void setWindowFrame(const Rect& f) override { frame = f; }
    std::vector<Screen> screens() const override { return {{{0, 0, 1440, 900}, {0, 0, 1440, 875}}}; }
    std::optional<DockSide> dockPreviewSide() const override { return preview; }
    void setDockPreviewSide(std::optional<DockSide> side) override { note("preview", sideName(preview = side)); }
    void armSingleClickTimer(double seconds) override { note("arm", QString::number(seconds).toStdString()); }
    void cancelSingleClickTimer() override { note("cancel"); }

    static std::string sideName(std::optional<DockSide> side) {
        return side ? (side == DockSide::left ? "left" : "right") : "none";
    }
    void note(const std::string& what, const std::string& value = {}) {
        log += (log.empty() ? "" : ", ") + what + (value.empty() ? "" : " " + value);
    }
    std::string take() { return std::exchange(log, {}); }

    Point press(QPointF p, int clickCount = 1, Rect at = {500, 100, 376, 242}) {
        frame = at;
        const Point start{at.x + p.x(), at.maxY() - p.y()};
        machine.press(p, start, clickCount);
        return start;
    }
    void click(QPointF p, int clickCount = 1) {
        press(p, clickCount, *frame);
        machine.release(p);
    }
    void elapse(double seconds) {
        clock.advance(seconds);
        machine.runDueSingleClick();
    }

    std::vector<ChartView> enabled{intraday, macd, fundFlow, dailyCandles, volume};
    ChartView current = intraday;
    bool expand = false;
    std::optional<Rect> frame = Rect{500, 100, 376, 242};
    std::optional<DockSide> preview;
    std::string log;
    ManualClock clock;
    CardCallbacks callbacks;
    CardInteraction machine;
    const QPointF body{200, 140};
    // Dot squares for five views start at x = 166 and step by 14, from y = 226.
    const QPointF fourthDot{215, 233};
};

TEST_F(CardInteractionTest, ASingleClickActsAfterTheDelayADoubleSwitchesStockOrLocksADotAlsoInExpandMode) {
    click(body);
    elapse(0.2); // a timer firing early waits for the rest of the delay
    EXPECT_EQ(take(), "focus, arm 0.24, arm 0.04");
    current = volume;
    elapse(0.041);
    EXPECT_EQ(take(), "view 日K");
    EXPECT_FALSE(machine.hasPendingSingleClick());

    click(body);
    click(body, 2);
    elapse(1);
    EXPECT_EQ(take(), "focus, arm 0.24, focus, cancel, stock 1");
    click(fourthDot);
    elapse(0.25);
    click(fourthDot);
    click(fourthDot, 2);
    elapse(0.25);
    EXPECT_EQ(take(), "focus, arm 0.24, view 量能, focus, arm 0.24, focus, cancel, lock 量能");
    expand = true; // single clicks do nothing
    click(body);
    click(fourthDot);
    elapse(1);
    click(fourthDot, 2);
    click(body, 2);
    EXPECT_EQ(take(), "focus, focus, focus, lock 量能, focus, stock 1");
}

TEST_F(CardInteractionTest, PinTogglesAtOnceOnReleaseAndTwiceOnDoubleClick) {
    const QPointF pin{43, 42};
    press(pin);
    EXPECT_EQ(machine.dragMode(), CardInteraction::DragMode::none); // the pin never resizes
    EXPECT_EQ(take(), "focus");
    machine.release(pin);
    EXPECT_EQ(take(), "pin");
    EXPECT_FALSE(machine.hasPendingSingleClick());
    click(pin, 2);
    EXPECT_EQ(take(), "focus, pin");
}

TEST_F(CardInteractionTest, FourPointsAreStillAClickFiveMoveThePanelAndCancelTheClick) {
    const Point start = press(body);
    machine.drag({start.x - 4, start.y + 4});
    machine.release(body);
    EXPECT_EQ(frame, (Rect{500, 100, 376, 242}));
    elapse(0.3);
    EXPECT_EQ(take(), "focus, arm 0.24, view MACD");
    click(body); // the first click of what turns into a drag
    press(body);
    machine.drag({start.x + 5, start.y});
    EXPECT_EQ(machine.dragMode(), CardInteraction::DragMode::move);
    EXPECT_EQ(frame, (Rect{505, 100, 376, 242}));
    machine.drag({start.x + 40, start.y - 60});
    EXPECT_EQ(frame, (Rect{540, 40, 376, 242}));
    machine.release(body);
    elapse(1);
    EXPECT_EQ(take(), "focus, arm 0.24, focus, cancel, dock none");

    frame.reset(); // no window: no drag and no dock report
    machine.press(body, {0, 0}, 1);
    machine.drag({100, 100});
    machine.release(body);
    EXPECT_EQ(take(), "focus, arm 0.24");
}

TEST_F(CardInteractionTest, ReleaseDocksWithinThirtySixPointsOfTheVisibleEdgeAfterAPreviewFromFiftyTwo) {
    preview = DockSide::right;
    press(body);
    EXPECT_EQ(take(), "preview none, focus") << "a press clears a preview left from before";
    const auto dragTo = [&](double x) {
        const Point start = press(body);
        machine.drag({start.x + (x - 500), start.y});
        machine.release(body);
        return take();
    };
    EXPECT_EQ(dragTo(36), "focus, preview left, preview none, dock left");
    EXPECT_EQ(dragTo(37), "focus, preview left, preview none, dock none");
    EXPECT_EQ(dragTo(52), "focus, preview left, preview none, dock none");
    EXPECT_EQ(dragTo(53), "focus, dock none");
    EXPECT_EQ(dragTo(1440 - 376 - 36), "focus, preview right, preview none, dock right");
    EXPECT_EQ(dragTo(-20), "focus, preview left, preview none, dock left") << "sticking out still docks";
    const Point start = press(body);
    for (double dx : {-460, -470, -480}) machine.drag({start.x + dx, start.y});
    machine.drag(start);
    EXPECT_EQ(take(), "focus, preview left, preview none");
}

TEST_F(CardInteractionTest, TheTopStripResizesFromTheFrameAtThePressAndReportsTheCardSizeThenACommit) {
    const QPointF strip{120, 10};
    const Point start = press(strip);
    EXPECT_EQ(machine.resizeEdge(), ResizeEdge{ResizeEdge::top});
    machine.drag({start.x, start.y + 2});
    EXPECT_EQ(frame, (Rect{500, 100, 376, 244}));
    machine.drag({start.x + 50, start.y + 30});
    EXPECT_EQ(frame, (Rect{500, 100, 376, 272}));
    machine.release(strip);
    elapse(1);
    EXPECT_EQ(take(), "focus, size 350x218, size 350x246, commit");
}

TEST_F(CardInteractionTest, ScrollAccumulatesWithinHalfASecondThenCoolsDown) {
    EXPECT_FALSE(machine.scroll(30, 30)); // mostly vertical: passed on, and not counted
    EXPECT_FALSE(machine.scroll(0, -80));
    EXPECT_TRUE(machine.scroll(25, 0));
    clock.advance(0.6); // a pause over half a second starts over
    machine.scroll(20, 0);
    EXPECT_EQ(take(), "");
    clock.advance(0.3);
    machine.scroll(20, 3);
    EXPECT_EQ(take(), "stock 1");
    clock.advance(0.3);
    machine.scroll(60, 0); // inside the 0.45 s cool-down
    clock.advance(0.2);
    machine.scroll(-45, 0);
    EXPECT_EQ(take(), "stock -1");
}

using enum ArrowAction;

TEST(ArrowKeyStep, OnlyArrowsWithoutHeldModifiersStepAndOnlyWhileTheCardOrTheOverviewShows) {
    const ArrowContext card{true, true, false}, overview{true, false, true};
    // The keypad flag comes with arrow keys on some systems and is not a held modifier.
    EXPECT_EQ(arrowStep(Qt::Key_Right, Qt::KeypadModifier, card), (ArrowStep{switchStock, 1}));
    for (const auto modifier : {Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier, Qt::MetaModifier}) {
        EXPECT_EQ(arrowStep(Qt::Key_Left, modifier, card).action, none) << modifier;
        EXPECT_EQ(arrowStep(Qt::Key_Right, modifier, overview).action, none) << modifier;
    }
    EXPECT_EQ(arrowStep(Qt::Key_Right, Qt::NoModifier, {true, false, false}).action, none);
    for (const int key : {Qt::Key_Up, Qt::Key_Down, Qt::Key_Space, Qt::Key_A})
        EXPECT_EQ(arrowStep(key, Qt::NoModifier, card).action, none) << key;
}

TEST(ArrowKeyMonitor, ReportsEachArrowOnceInAFloatingPanelOnlyAndNothingAfterRemoval) {
    testing::ensureApplication();
    bool isPanelVisible = true, isOverview = false;
    std::vector<ArrowStep> steps;
    auto monitor = std::make_unique<ArrowKeyMonitor>();
    monitor->isMainPanelVisible = [&] { return isPanelVisible; };
    monitor->isOverviewOn = [&] { return isOverview; };
    monitor->onStep = [&](ArrowStep step) { steps.push_back(step); };
    // A key press as the window system delivers it: to the window, which hands it to its widgets.
    const auto press = [](QWidget& window, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers);
        QCoreApplication::sendEvent(window.windowHandle(), &event);
    };
    QWidget other;
    other.show();
    FloatingPanel panel({100, 100, 376, 242});
    auto* child = new QWidget;
    panel.setContentView(child);
    panel.makeKeyAndOrderFront();
    ASSERT_TRUE(testing::waitForExposed(panel) && testing::waitForExposed(other));
    child->setFocus();

    press(other, Qt::Key_Right);
    press(panel, Qt::Key_Right);
    press(panel, Qt::Key_Left, Qt::AltModifier);
    isPanelVisible = false;
    isOverview = true;
    press(panel, Qt::Key_Left);
    EXPECT_EQ(steps, (std::vector<ArrowStep>{{switchStock, 1}, {stepView, -1}}));
    monitor.reset();
    press(panel, Qt::Key_Right);
    EXPECT_EQ(steps.size(), 2u);
}

} // namespace
} // namespace glimmer
