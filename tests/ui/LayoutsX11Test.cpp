// Expand mode with real windows on an X display, dragged with xdotool as a user would. Runs as an
// x11 test (tests/x11/layouts_tests.cmake); without a display it fails.
#include "card/FloatingPanel.h"
#include "card/ScreenSpace.h"
#include "card/StockCardView.h"
#include "layouts/ExpandCoordinator.h"
#include "ui/CardSamples.h"
#include "ui/TestApplication.h"

#include <QGuiApplication>
#include <QProcess>

#include <memory>

#include <gtest/gtest.h>

namespace glimmer {
namespace {

QString runTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(5000)) return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

class ExpandX11 : public ::testing::Test {
protected:
    void SetUp() override {
        testing::ensureApplication();
        ASSERT_EQ(QGuiApplication::platformName(), "xcb") << "needs an X display";
        ASSERT_FALSE(runTool("xdotool", {"version"}).isEmpty()) << "xdotool is not installed";
        ASSERT_FALSE(currentScreens().empty());
        visible = currentScreens()[0].visibleFrame;
        panel = std::make_unique<FloatingPanel>(Rect{visible.minX() + 300, visible.minY() + 40, 376, 242});
        card = new StockCardView;
        card->setEntry(samples::cardEntry());
        main().setContentView(card);
        main().orderFront();
        ASSERT_TRUE(testing::waitForExposed(main()));
        coordinator = std::make_unique<ExpandCoordinator>();
        main().onMove = [this] { coordinator->follow(main()); };
    }
    void TearDown() override {
        if (panel) panel->onMove = nullptr;
        coordinator.reset();
        panel.reset();
    }
    FloatingPanel& main() { return *panel; }

    void expandAndSettle() {
        coordinator->expand(main(), 376, 242, 350, 1.0, true, card->entry());
        ASSERT_TRUE(testing::waitUntil([&] { return !coordinator->isAnimating(); }, 3000));
        pump(100);
    }

    /// Lets the X server and Qt catch up.
    static void pump(int ms) {
        testing::waitUntil([] { return false; }, ms);
    }
    static void xdotool(const QStringList& arguments) { runTool("xdotool", arguments); }
    static int visibleWindows(const QString& name) {
        return int(
            runTool("xdotool", {"search", "--onlyvisible", "--name", name}).split('\n', Qt::SkipEmptyParts).size());
    }

    Rect visible;
    std::unique_ptr<FloatingPanel> panel;
    StockCardView* card = nullptr;
    std::unique_ptr<ExpandCoordinator> coordinator;
};

TEST_F(ExpandX11, FourPanelsComeOnScreenAndDraggingTheCardMovesAllFiveWindowsByTheSameOffset) {
    expandAndSettle();
    const ExpandLayout::Plan plan = ExpandCoordinator::layout(376, 242, 350, visible);
    EXPECT_EQ(main().frame().origin(), plan.main.origin());
    EXPECT_EQ(coordinator->subPanelFrames(), plan.subs);
    EXPECT_EQ(visibleWindows("Glimmerbox-"), 4);
    std::vector<Rect> before = coordinator->subPanelFrames();
    before.insert(before.begin(), main().frame());
    // A press on the card's header and a drag of 150 left and 100 down, as the user does it.
    const QPoint grab = card->mapToGlobal(QPoint(200, 40));
    xdotool({"mousemove", "--sync", QString::number(grab.x()), QString::number(grab.y())});
    xdotool({"mousedown", "1"});
    for (int step = 1; step <= 10; ++step) {
        const QPoint at = grab + QPoint(-15 * step, 10 * step);
        xdotool({"mousemove", "--sync", QString::number(at.x()), QString::number(at.y())});
        pump(30);
    }
    xdotool({"mouseup", "1"});
    pump(150);
    std::vector<Rect> after = coordinator->subPanelFrames();
    after.insert(after.begin(), main().frame());
    ASSERT_EQ(after.size(), 5u);
    const double dx = after[0].x - before[0].x;
    const double dy = after[0].y - before[0].y;
    EXPECT_NEAR(dx, -150, 2);
    EXPECT_NEAR(dy, -100, 2);
    for (std::size_t k = 1; k < 5; ++k) {
        EXPECT_EQ(after[k].x - before[k].x, dx) << k;
        EXPECT_EQ(after[k].y - before[k].y, dy) << k;
    }
}

} // namespace
} // namespace glimmer
