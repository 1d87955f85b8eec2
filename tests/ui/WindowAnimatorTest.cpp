#include "card/WindowAnimator.h"
#include "doubles/ManualClock.h"
#include "ui/TestApplication.h"

#include <QPointer>

#include <gtest/gtest.h>

#include <memory>

namespace glimmer {
namespace {

struct FakeWindow final : AnimatedWindow {
    Rect current{1048, 12, 376, 242};
    double alpha = 1;
    QObject* host = nullptr;

    Rect frame() const override { return current; }
    void setFrameOrigin(const Point& origin) override { current = {origin.x, origin.y, current.width, current.height}; }
    double alphaValue() const override { return alpha; }
    void setAlphaValue(double value) override { alpha = value; }
    QObject* animationHost() override { return host; }
    std::tuple<Point, double> state() const { return {current.origin(), alpha}; }
};

class WindowAnimatorTest : public ::testing::Test {
protected:
    void tickAfter(WindowAnimation* animation, double seconds) {
        clock.advance(seconds);
        animation->tick();
    }

    bool hasApplication = (testing::ensureApplication(), true);
    ManualClock clock{Instant{} + std::chrono::hours(24 * 365 * 50)};
    FakeWindow window;
};

// Move runs on the in-out curve's upper half, fade-out on its lower half and fade-in on the cubic one.
TEST_F(WindowAnimatorTest, AnimationsFollowTheirCurvesLandExactlyNeverFeedNanOrNegativeProgressAndEndWithTheirWindow) {
    int completions = 0;
    const auto done = [&] { ++completions; };
    WindowAnimation* animation = WindowAnimator::move(window, {448, 312}, 0.5, done, clock);
    tickAfter(animation, 0.375); // t = 0.75, e = 0.875
    EXPECT_EQ(window.current.origin(), (Point{1048 - 600 * 0.875, 12 + 300 * 0.875}));
    tickAfter(animation, 0.6); // past the end: lands exactly on the target
    EXPECT_EQ(std::tuple(window.current, animation->isRunning(), completions),
              std::tuple(Rect{448, 312, 376, 242}, false, 1));
    EXPECT_EQ(WindowAnimator::move(window, {0, 300}, 0, done, clock), nullptr);
    EXPECT_EQ(std::tuple(completions, window.current.origin()), std::tuple(2, Point{0, 300}));

    const Rect target{1452, 500, 376, 242};
    WindowAnimation* rise = WindowAnimator::fadeInAndRise(window, target, 0, 0.8, 0.3, clock);
    EXPECT_EQ(window.state(), std::tuple(Point{1452, 514}, 0.0));
    tickAfter(rise, 0.15); // e = 0.875
    EXPECT_EQ(window.state(), std::tuple(Point{1452, 514 - 14 * 0.875}, 0.8 * 0.875));
    tickAfter(rise, 0.15);
    EXPECT_EQ(std::tuple(window.current, window.alpha), std::tuple(target, 0.8));
    window.alpha = 0.6;
    WindowAnimation* sink = WindowAnimator::fadeOutAndSink(window, 12, 0.2, clock);
    tickAfter(sink, 0.05); // t = 0.25, e = 0.125
    EXPECT_EQ(window.state(), std::tuple(Point{1452, 500 - 12 * 0.125}, 0.6 * 0.875));
    tickAfter(sink, 0.15);
    EXPECT_EQ(window.state(), std::tuple(Point{1452, 488}, 0.0));

    std::vector<double> seen;
    const auto record = [&](double e) { seen.push_back(e); };
    WindowAnimation* zero = WindowAnimator::step(0, WindowAnimator::easeOutCubic, record, {}, clock);
    zero->tick();
    EXPECT_EQ(std::tuple(seen, zero->isRunning()), std::tuple(std::vector<double>{1.0}, false));
    WindowAnimation* late = WindowAnimator::step(1, WindowAnimator::easeInOutQuad, record, {}, clock);
    clock.advance(-5); // the wall clock was set back
    late->tick();
    EXPECT_EQ(std::tuple(seen, late->isRunning()), std::tuple(std::vector<double>{1.0, 0.0}, true));
    late->cancel();
    EXPECT_FALSE(late->isRunning());

    auto host = std::make_unique<QObject>();
    window.host = host.get();
    QPointer<WindowAnimation> owned = WindowAnimator::move(window, {0, 0}, 1, {}, clock);
    ASSERT_FALSE(owned.isNull());
    host.reset();
    EXPECT_TRUE(owned.isNull());
}

} // namespace
} // namespace glimmer
