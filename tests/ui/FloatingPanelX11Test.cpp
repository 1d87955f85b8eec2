// The panel's window on a real X display, checked and driven with the standard X tools. Runs as
// x11 tests (tests/x11/tests.cmake); without a display they fail.
#include "card/FloatingPanel.h"
#include "card/ScreenSpace.h"
#include "card/ShadowCaster.h"
#include "card/StockCardView.h"
#include "layouts/ExpandCoordinator.h"
#include "ui/CardSamples.h"
#include "ui/TestApplication.h"

#include <QGuiApplication>
#include <QProcess>
#include <QScreen>

#include <gtest/gtest.h>

namespace glimmer {
namespace {

QString runTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(5000)) return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString property(const FloatingPanel& panel, const char* name) {
    return runTool("xprop", {"-id", QString::number(panel.winId()), name}).trimmed();
}

void moveMouse(QPoint global) {
    runTool("xdotool", {"mousemove", "--sync", QString::number(global.x()), QString::number(global.y())});
}

/// Lets the X server and Qt catch up.
void pump(int ms) {
    testing::waitUntil([] { return false; }, ms);
}

/// Counts the presses that reach it; as a panel's content, a card body that fills it and casts a shadow.
class PressCounter : public QWidget, public ShadowCaster {
public:
    QMarginsF bodyInsets() const override { return {}; }
    double bodyCornerRadius() const override { return 12; }
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent*) override { ++presses; }
};

class FloatingPanelX11 : public ::testing::Test {
protected:
    void SetUp() override {
        testing::ensureApplication();
        ASSERT_EQ(QGuiApplication::platformName(), "xcb") << "needs an X display";
        ASSERT_FALSE(runTool("xprop", {"-version"}).isEmpty()) << "xprop is not installed";
        ASSERT_FALSE(runTool("xdotool", {"version"}).isEmpty()) << "xdotool is not installed";
    }
};

using ExpandX11 = FloatingPanelX11;

TEST_F(FloatingPanelX11, ShownPanelIsUndecoratedOffTheTaskbarAboveOthersOnlyWhenOnTopAndKeepsItsWindow) {
    for (const bool onTop : {true, false}) {
        SCOPED_TRACE(onTop);
        FloatingPanel panel({100, 200, 376, 242});
        panel.setAlwaysOnTop(onTop);
        panel.orderFront();
        ASSERT_TRUE(testing::waitForExposed(panel));
        // Above others and on every workspace only when on top; never on the taskbar or pager.
        const QString state = property(panel, "_NET_WM_STATE");
        for (const char* hint : {"_ABOVE", "_SKIP_TASKBAR", "_SKIP_PAGER", "_STICKY"}) {
            const bool always = hint == std::string("_SKIP_TASKBAR") || hint == std::string("_SKIP_PAGER");
            EXPECT_EQ(state.contains(QStringLiteral("_NET_WM_STATE") + hint), always || onTop) << hint;
        }
        EXPECT_EQ(property(panel, "_NET_WM_DESKTOP"),
                  onTop ? "_NET_WM_DESKTOP(CARDINAL) = 4294967295" : "_NET_WM_DESKTOP:  not found.");
        // Motif hints: flags say "decorations given", and the decorations are none.
        const QString motif = property(panel, "_MOTIF_WM_HINTS");
        const QStringList fields = motif.section('=', 1).split(',', Qt::SkipEmptyParts);
        ASSERT_GE(fields.size(), 3) << motif.toStdString();
        EXPECT_TRUE(fields[0].trimmed().toUInt(nullptr, 16) & 0x2) << motif.toStdString();
        EXPECT_EQ(fields[2].trimmed().toUInt(nullptr, 16), 0u) << motif.toStdString();
        EXPECT_TRUE(property(panel, "WM_HINTS").contains("input focus: False"));
        EXPECT_FALSE(panel.isKeyWindow());
        const QString geometry = runTool("xdotool", {"getwindowgeometry", QString::number(panel.winId())});
        const int y = QGuiApplication::primaryScreen()->geometry().height() - 442;
        EXPECT_TRUE(geometry.contains(QString("Position: 100,%1").arg(y))) << geometry.toStdString();
        EXPECT_TRUE(geometry.contains("Geometry: 376x242")) << geometry.toStdString();
        // Changing the settings of a shown panel keeps its native window and states.
        const WId window = panel.winId();
        panel.setAlwaysOnTop(!onTop);
        panel.makeKeyAndOrderFront();
        EXPECT_EQ(panel.winId(), window) << "the native window was recreated";
        EXPECT_TRUE(testing::waitUntil([&] { return property(panel, "WM_HINTS").contains("input focus: True"); }));
        EXPECT_TRUE(panel.isVisible() && property(panel, "_NET_WM_STATE").contains("_NET_WM_STATE_SKIP_TASKBAR"));
        EXPECT_EQ(panel.frame(), (Rect{100, 200, 376, 242}));
    }
}

TEST_F(FloatingPanelX11, ClicksOnTheShadowReachTheWindowBelow) {
    PressCounter below;
    below.setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    below.setGeometry(40, 40, 700, 500);
    below.show();
    ASSERT_TRUE(testing::waitForExposed(below));
    FloatingPanel panel({200, double(QGuiApplication::primaryScreen()->geometry().height() - 400), 376, 242});
    auto* card = new PressCounter;
    panel.setContentView(card);
    panel.orderFront();
    ASSERT_TRUE(testing::waitForExposed(panel));
    const QMargins margins = panel.shadowMargins();
    ASSERT_GT(margins.right(), 4);
    const QString geometry = runTool("xdotool", {"getwindowgeometry", QString::number(panel.winId())});
    const QSize size = QSize(376, 242).grownBy(margins);
    EXPECT_TRUE(geometry.contains(QString("Geometry: %1x%2").arg(size.width()).arg(size.height())))
        << geometry.toStdString();

    const QRect window = panel.geometry();
    // Press with the real pointer; `expected` presses below and on the card by then.
    const auto clickAt = [&](QPoint global, std::pair<int, int> expected) {
        moveMouse(global);
        runTool("xdotool", {"click", "1"});
        EXPECT_TRUE(testing::waitUntil([&] { return std::pair(below.presses, card->presses) == expected; }))
            << below.presses << " " << card->presses;
    };
    clickAt({window.right() - 2, window.center().y()}, {1, 0});
    clickAt({window.center().x(), window.bottom() - 2}, {2, 0});
    clickAt(window.center(), {2, 1});
}

TEST_F(ExpandX11, FourPanelsComeOnScreenAndDraggingTheCardMovesAllFiveWindowsByTheSameOffset) {
    ASSERT_FALSE(currentScreens().empty());
    const Rect visible = currentScreens()[0].visibleFrame;
    FloatingPanel main({visible.minX() + 300, visible.minY() + 40, 376, 242});
    auto* card = new StockCardView;
    card->setEntry(samples::cardEntry());
    main.setContentView(card);
    main.orderFront();
    ASSERT_TRUE(testing::waitForExposed(main));
    ExpandCoordinator coordinator;
    main.onMove = [&] { coordinator.follow(main); };
    coordinator.expand(main, 376, 242, 350, 1.0, true, card->entry());
    ASSERT_TRUE(testing::waitUntil([&] { return !coordinator.isAnimating(); }, 3000));
    pump(100);
    const ExpandLayout::Plan plan = ExpandCoordinator::layout(376, 242, 350, visible);
    EXPECT_EQ(main.frame().origin(), plan.main.origin());
    EXPECT_EQ(coordinator.subPanelFrames(), plan.subs);
    const QString shown = runTool("xdotool", {"search", "--onlyvisible", "--name", "Glimmerbox-"});
    EXPECT_EQ(shown.split('\n', Qt::SkipEmptyParts).size(), 4);
    std::vector<Rect> before = coordinator.subPanelFrames();
    before.insert(before.begin(), main.frame());
    // A press on the card's header and a drag of 150 left and 100 down, as the user does it.
    const QPoint grab = card->mapToGlobal(QPoint(200, 40));
    moveMouse(grab);
    runTool("xdotool", {"mousedown", "1"});
    for (int step = 1; step <= 10; ++step) {
        moveMouse(grab + QPoint(-15 * step, 10 * step));
        pump(30);
    }
    runTool("xdotool", {"mouseup", "1"});
    pump(150);
    std::vector<Rect> after = coordinator.subPanelFrames();
    after.insert(after.begin(), main.frame());
    main.onMove = nullptr;
    ASSERT_EQ(after.size(), 5u);
    const Point moved{after[0].x - before[0].x, after[0].y - before[0].y};
    EXPECT_NEAR(moved.x, -150, 2);
    EXPECT_NEAR(moved.y, -100, 2);
    for (std::size_t k = 1; k < 5; ++k)
        EXPECT_EQ((Point{after[k].x - before[k].x, after[k].y - before[k].y}), moved) << k;
}

} // namespace
} // namespace glimmer
