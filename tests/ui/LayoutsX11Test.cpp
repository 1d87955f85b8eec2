// Expand and overview mode with real windows on an X display, driven with xdotool where a user
// would use the mouse. Runs as an x11 test (tests/x11/layouts_tests.cmake); without one it fails.
#include "card/CardButton.h"
#include "card/DockGeometry.h"
#include "card/FloatingPanel.h"
#include "card/ScreenSpace.h"
#include "card/StockCardView.h"
#include "layouts/ExpandCoordinator.h"
#include "layouts/OverviewCardView.h"
#include "layouts/OverviewCoordinator.h"
#include "ui/LayoutSamples.h"
#include "ui/TestApplication.h"

#include <QGuiApplication>
#include <QProcess>
#include <QWindow>

#include <memory>

#include <gtest/gtest.h>

namespace glimmer {
namespace {

using enum ChartView;

QString runTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(5000)) return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

class LayoutsX11 : public ::testing::Test {
protected:
    void SetUp() override {
        testing::ensureApplication();
        ASSERT_EQ(QGuiApplication::platformName(), "xcb") << "needs an X display";
        ASSERT_FALSE(runTool("xdotool", {"version"}).isEmpty()) << "xdotool is not installed";
        const std::vector<Screen> displays = currentScreens();
        ASSERT_FALSE(displays.empty());
        visible = displays[0].visibleFrame;
    }

    /// Lets the X server and Qt catch up.
    static void pump(int ms) {
        testing::waitUntil([] { return false; }, ms);
    }

    static void xdotool(const QStringList& arguments) { runTool("xdotool", arguments); }

    /// Pointer to a point of `widget` (its own coordinates) on the X display.
    static void pointerTo(QWidget& widget, QPoint at) {
        const QPoint global = widget.mapToGlobal(at);
        xdotool({"mousemove", "--sync", QString::number(global.x()), QString::number(global.y())});
        pump(60);
    }

    /// Windows on the display whose name contains `name`, as X reports them.
    static int visibleWindows(const QString& name) {
        return int(
            runTool("xdotool", {"search", "--onlyvisible", "--name", name}).split('\n', Qt::SkipEmptyParts).size());
    }

    Rect visible;
};

class ExpandX11 : public LayoutsX11 {
protected:
    void SetUp() override {
        LayoutsX11::SetUp();
        if (IsSkipped()) return;
        panel = std::make_unique<FloatingPanel>(Rect{visible.minX() + 300, visible.minY() + 40, 376, 242});
        card = new StockCardView;
        card->setEntry(samples::watchList(1)[0]);
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

    std::unique_ptr<FloatingPanel> panel;
    StockCardView* card = nullptr;
    std::unique_ptr<ExpandCoordinator> coordinator;
};

TEST_F(ExpandX11, ExpansionEndsWithTheCardInTheCornerAndFourPanelsOnScreen) {
    expandAndSettle();
    const ExpandLayout::Plan plan = ExpandCoordinator::layout(376, 242, 350, visible);
    EXPECT_EQ(main().frame().origin(), plan.main.origin());
    ASSERT_EQ(coordinator->panels().size(), 4u);
    for (std::size_t k = 0; k < 4; ++k) {
        FloatingPanel* panel = coordinator->panels()[k];
        EXPECT_TRUE(panel->windowHandle() != nullptr && panel->windowHandle()->isExposed()) << k;
        EXPECT_EQ(panel->frame(), plan.subs[k]) << k;
    }
    EXPECT_EQ(visibleWindows("Glimmerbox-"), 4);
}

TEST_F(ExpandX11, DraggingTheCardMovesAllFiveWindowsByTheSameOffset) {
    expandAndSettle();
    std::vector<Rect> before = coordinator->subPanelFrames();
    before.insert(before.begin(), main().frame());
    // A press on the card's header and a drag of 150 left and 100 down, as the user does it.
    const QPoint grab = card->mapToGlobal(QPoint(200, 40));
    pointerTo(*card, QPoint(200, 40));
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

TEST_F(ExpandX11, PastTheLeftEdgeTheCardStopsAndThePanelsKeepTheirOffsets) {
    expandAndSettle();
    const std::vector<Point> offsets = coordinator->subOffsets();
    main().setFrameOrigin({visible.minX() - 200, main().frame().y});
    pump(100);
    EXPECT_EQ(main().frame().x, visible.minX());
    const std::vector<Rect> frames = coordinator->subPanelFrames();
    for (std::size_t k = 0; k < frames.size(); ++k) {
        EXPECT_EQ(frames[k].x - main().frame().x, offsets[k].x) << k;
        EXPECT_EQ(frames[k].y - main().frame().y, offsets[k].y) << k;
    }
}

class OverviewX11 : public LayoutsX11 {
protected:
    void SetUp() override {
        LayoutsX11::SetUp();
        if (IsSkipped()) return;
        coordinator.onHideItem = [this](const std::string& code) { hidden.push_back(code); };
        coordinator.onEmpty = [this] { ++empties; };
    }
    void show(std::size_t count) {
        coordinator.show(samples::watchList(count), intraday, 350, 216, 1.0, true, visible);
        ASSERT_TRUE(testing::waitUntil([&] { return !coordinator.isAnimating(); }, 3000));
        pump(150);
    }
    /// Hovers the card's eye button until it shows, then clicks it.
    void clickEye(OverviewCardView& card) {
        pointerTo(card, card.eyeButton()->geometry().center() + QPoint(-40, 40));
        pointerTo(card, card.eyeButton()->geometry().center());
        ASSERT_TRUE(testing::waitUntil([&] { return card.controlsAlpha() == 1.0; }, 1000));
        xdotool({"click", "1"});
        pump(100);
    }

    OverviewCoordinator coordinator;
    std::vector<std::string> hidden;
    int empties = 0;
};

TEST_F(OverviewX11, WindowsOnlyForCardsInReachTheWheelMovingOnlyTheListToItsLastCard) {
    for (const std::size_t count : {std::size_t(13), std::size_t(200)}) {
        SCOPED_TRACE(count);
        show(count);
        const OverviewLayout plan = OverviewCoordinator::layout(int(count), 350, 216, visible);
        // Bounded by the screen, not the list: its height and one 224-point card above and below.
        const int bound = 1 + int(visible.height / 224) + 4;
        const int windows = visibleWindows("Glimmerbox-全览-");
        EXPECT_EQ(windows, 1 + int(coordinator.listPanels().size()));
        EXPECT_LE(windows, bound);
        EXPECT_EQ(coordinator.headerPanel()->frame(), plan.headerFrame);
        EXPECT_EQ(coordinator.headerPanel()->frame().maxY(), visible.maxY() - 26);

        // Five wheel notches down over the first list card: 200 points.
        OverviewCardView& first = *coordinator.listCards()[0];
        pointerTo(first, {175, 120});
        xdotool({"click", "--repeat", "5", "--delay", "20", "5"});
        ASSERT_TRUE(testing::waitUntil([&] { return coordinator.scrollOffset() == 200; }, 2000));
        pump(50);
        EXPECT_EQ(coordinator.listPanels()[0]->frame().y, plan.listFrames[0].y + 200);
        EXPECT_EQ(coordinator.headerPanel()->frame(), plan.headerFrame);

        coordinator.scroll(500); // back past the top
        EXPECT_EQ(coordinator.scrollOffset(), 0);
        coordinator.scroll(-1e6);
        EXPECT_EQ(coordinator.scrollOffset(), plan.maxScroll);
        pump(100);
        const std::string last = coordinator.entryCodes().back();
        EXPECT_EQ(coordinator.listPanels().back()->frame().minY(), visible.minY() + 24);
        EXPECT_EQ(coordinator.listCards().back()->entry()->item.code, last);
        EXPECT_EQ(visibleWindows(QString::fromStdString("Glimmerbox-全览-" + last)), 1);
        EXPECT_LE(visibleWindows("Glimmerbox-全览-"), bound);

        // A security far from the screen has no window; hiding it takes it off the list all the same.
        const std::string far = coordinator.entryCodes()[1];
        EXPECT_EQ(visibleWindows(QString::fromStdString("Glimmerbox-全览-" + far)), 0);
        coordinator.hideItem(far);
        const std::vector<std::string> codes = coordinator.entryCodes();
        EXPECT_EQ(std::count(codes.begin(), codes.end(), far), 0);
        EXPECT_EQ(codes.size(), count - 1);
        coordinator.hide();
        pump(100);
    }
}

TEST_F(OverviewX11, TheEyeButtonRemovesTheSecurityAndHandsItsWindowToTheNextCard) {
    show(13);
    const int windows = visibleWindows("Glimmerbox-全览-");
    OverviewCardView& second = *coordinator.listCards()[1];
    clickEye(second);
    EXPECT_EQ(hidden, std::vector<std::string>{"601318"});
    pump(300);
    EXPECT_EQ(visibleWindows("Glimmerbox-全览-"), windows);
    EXPECT_EQ(visibleWindows("Glimmerbox-全览-601318"), 0);
    EXPECT_EQ(coordinator.entryCodes().size(), 12u);
}

TEST_F(OverviewX11, HidingTheHeadersSecurityPromotesTheNextAndHidingTheLastEndsTheMode) {
    show(2);
    clickEye(*coordinator.headerCard());
    ASSERT_EQ(hidden, std::vector<std::string>{"600519"});
    pump(200);
    EXPECT_EQ(coordinator.headerCard()->entry()->item.code, "000858");
    EXPECT_EQ(visibleWindows("Glimmerbox-全览-"), 1);
    EXPECT_EQ(visibleWindows("Glimmerbox-全览-000858"), 1);

    clickEye(*coordinator.headerCard());
    EXPECT_EQ(empties, 1);
    EXPECT_FALSE(coordinator.isActive());
    pump(200);
    EXPECT_EQ(visibleWindows("Glimmerbox-全览-"), 0);
}

TEST_F(OverviewX11, ClosingLeavesNoWindow) {
    show(13);
    coordinator.hide();
    pump(200);
    EXPECT_EQ(visibleWindows("Glimmerbox-全览-"), 0);
}

} // namespace
} // namespace glimmer
