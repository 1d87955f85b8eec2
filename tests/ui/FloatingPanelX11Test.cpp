// Runs as an x11 test (tests/x11/tests.cmake) on a real X display, read with xprop and xdotool.
#include "card/FloatingPanel.h"
#include "card/ShadowCaster.h"
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
    }
};

TEST_F(FloatingPanelX11, ShownPanelIsOffTheTaskbarAboveOthersOnlyWhenOnTopAndKeepsItsWindow) {
    for (const bool onTop : {true, false}) {
        SCOPED_TRACE(onTop);
        FloatingPanel panel({100, 200, 376, 242});
        panel.setAlwaysOnTop(onTop);
        panel.orderFront();
        ASSERT_TRUE(testing::waitForExposed(panel));
        // Above others and on every workspace only when on top; never on the taskbar or pager.
        const QString state = property(panel, "_NET_WM_STATE");
        for (const auto& [hint, onlyOnTop] :
             {std::pair("_ABOVE", true), {"_SKIP_TASKBAR", false}, {"_SKIP_PAGER", false}, {"_STICKY", true}})
            EXPECT_EQ(state.contains(QStringLiteral("_NET_WM_STATE") + hint), onTop || !onlyOnTop) << hint;
        EXPECT_EQ(property(panel, "_NET_WM_DESKTOP"),
                  onTop ? "_NET_WM_DESKTOP(CARDINAL) = 4294967295" : "_NET_WM_DESKTOP:  not found.");
        EXPECT_TRUE(property(panel, "WM_HINTS").contains("input focus: False"));
        EXPECT_FALSE(panel.isKeyWindow());
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
    const QRect window = panel.geometry();
    // Press with the real pointer; `expected` presses below and on the card by then.
    const auto clickAt = [&](QPoint global, std::pair<int, int> expected) {
        runTool("xdotool", {"mousemove", "--sync", QString::number(global.x()), QString::number(global.y())});
        runTool("xdotool", {"click", "1"});
        EXPECT_TRUE(testing::waitUntil([&] { return std::pair(below.presses, card->presses) == expected; }))
            << below.presses << " " << card->presses;
    };
    clickAt({window.right() - 2, window.center().y()}, {1, 0});
    clickAt({window.center().x(), window.bottom() - 2}, {2, 0});
    clickAt(window.center(), {2, 1});
}

} // namespace
} // namespace glimmer
