// The cost of keeping a window group together: the main card dragged in expand mode (five windows
// per motion event) and the overview list scrolled (twelve windows per wheel event). Runs offscreen
// by default; with QT_QPA_PLATFORM=xcb on an X display it includes the real window moves.
#include "LayoutSamples.h"
#include "card/FloatingPanel.h"
#include "card/ScreenSpace.h"
#include "layouts/ExpandCoordinator.h"
#include "layouts/ExpandLayout.h"
#include "layouts/OverviewCoordinator.h"

#include <QApplication>
#include <QElapsedTimer>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

namespace glimmer {
namespace {

void ensureApplication() {
    if (QCoreApplication::instance()) return;
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "glimmer_ui_bench";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv); // lives for the whole run
}

void settle(const std::function<bool()>& done) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 3000) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

Rect mainVisibleFrame() {
    const std::vector<Screen> screens = currentScreens();
    return screens.empty() ? Rect{0, 0, 1440, 900} : screens[0].visibleFrame;
}

// One motion event of a drag: the window system moves the card, the group follows it.
void BM_ExpandDragFollow(benchmark::State& state) {
    ensureApplication();
    const Rect screen = mainVisibleFrame();
    FloatingPanel main({screen.minX() + 200, screen.minY() + 40, 376, 242});
    main.orderFront();
    ExpandCoordinator coordinator;
    coordinator.expand(main, 376, 242, 350, 1.0, true, samples::watchList(1)[0]);
    settle([&] { return !coordinator.isAnimating(); });
    const bool flush = state.range(0) != 0;
    const Point anchor = main.frame().origin();
    int step = 0;
    for (auto _ : state) {
        // Back and forth over 40 points, inside the screen.
        const double dx = double((step++ % 40) - 20);
        main.setFrameOrigin({anchor.x - 200 + dx, anchor.y - 300 + dx});
        benchmark::DoNotOptimize(coordinator.follow(main));
        if (flush) QCoreApplication::processEvents();
    }
    state.SetLabel(flush ? "with event processing" : "moves only");
    coordinator.collapseImmediately();
}
BENCHMARK(BM_ExpandDragFollow)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_OverviewWheelScroll(benchmark::State& state) {
    ensureApplication();
    OverviewCoordinator coordinator;
    coordinator.show(samples::watchList(13), ChartView::intraday, 350, 216, 1.0, true, mainVisibleFrame());
    settle([&] { return !coordinator.isAnimating(); });
    int step = 0;
    for (auto _ : state) {
        coordinator.scroll((step++ % 2) == 0 ? -40 : 40);
        QCoreApplication::processEvents();
    }
    coordinator.hide();
}
BENCHMARK(BM_OverviewWheelScroll)->Unit(benchmark::kMicrosecond);

void BM_ExpandLayoutPlan(benchmark::State& state) {
    const Rect screen{0, 0, 1512, 950};
    double width = 376;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ExpandLayout::layout(width, 242, width - 26, screen));
        width = width >= 500 ? 376 : width + 1;
    }
}
BENCHMARK(BM_ExpandLayoutPlan);

} // namespace
} // namespace glimmer
