// Checks the panel's window on a real X display with the standard X tools. Runs as an x11 test
// (tests/x11/tests.cmake); without one it fails.
#include "card/FloatingPanel.h"
#include "card/ShadowCaster.h"
#include "ui/TestApplication.h"

#include <QGuiApplication>
#include <QMouseEvent>
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
        ASSERT_FALSE(runTool("xprop", {"-version"}).isEmpty()) << "xprop is not installed";
    }

    int screenHeight() const { return QGuiApplication::primaryScreen()->geometry().height(); }

    static void clickAt(QPoint global) {
        runTool("xdotool", {"mousemove", "--sync", QString::number(global.x()), QString::number(global.y())});
        runTool("xdotool", {"click", "1"});
    }
};

TEST_F(FloatingPanelX11, ShownPanelIsUndecoratedAboveOthersOffTheTaskbarAndWhereRequested) {
    FloatingPanel panel({100, 200, 376, 242});
    panel.orderFront();
    ASSERT_TRUE(testing::waitForExposed(panel));

    // Above others, off the taskbar and pager, on every workspace (told before mapping).
    const QString state = property(panel, "_NET_WM_STATE");
    for (const char* hint : {"_ABOVE", "_SKIP_TASKBAR", "_SKIP_PAGER", "_STICKY"})
        EXPECT_TRUE(state.contains(QStringLiteral("_NET_WM_STATE") + hint)) << hint << " in " << state.toStdString();
    EXPECT_EQ(property(panel, "_NET_WM_DESKTOP"), "_NET_WM_DESKTOP(CARDINAL) = 4294967295");
    // Motif hints: flags say "decorations given", and the decorations are none.
    const QString motif = property(panel, "_MOTIF_WM_HINTS");
    const QStringList fields = motif.section('=', 1).split(',', Qt::SkipEmptyParts);
    ASSERT_GE(fields.size(), 3) << motif.toStdString();
    EXPECT_TRUE(fields[0].trimmed().toUInt(nullptr, 16) & 0x2) << motif.toStdString();
    EXPECT_EQ(fields[2].trimmed().toUInt(nullptr, 16), 0u) << motif.toStdString();
    EXPECT_TRUE(property(panel, "WM_HINTS").contains("input focus: False"));
    EXPECT_FALSE(panel.isKeyWindow());

    const QString geometry = runTool("xdotool", {"getwindowgeometry", QString::number(panel.winId())});
    ASSERT_FALSE(geometry.isEmpty()) << "xdotool is not installed";
    EXPECT_TRUE(geometry.contains(QString("Position: 100,%1").arg(screenHeight() - 442))) << geometry.toStdString();
    EXPECT_TRUE(geometry.contains("Geometry: 376x242")) << geometry.toStdString();
}

TEST_F(FloatingPanelX11, PanelNotOnTopStillStaysOutOfTheTaskbar) {
    FloatingPanel panel({100, 200, 376, 242});
    panel.setAlwaysOnTop(false);
    panel.orderFront();
    ASSERT_TRUE(testing::waitForExposed(panel));
    const QString state = property(panel, "_NET_WM_STATE");
    EXPECT_FALSE(state.contains("_NET_WM_STATE_ABOVE")) << state.toStdString();
    EXPECT_TRUE(state.contains("_NET_WM_STATE_SKIP_TASKBAR")) << state.toStdString();
    EXPECT_FALSE(state.contains("_NET_WM_STATE_STICKY")) << state.toStdString();
    EXPECT_TRUE(property(panel, "_NET_WM_DESKTOP").contains("not found")) << "the current workspace only";
}

TEST_F(FloatingPanelX11, ChangingSettingsOnAShownPanelKeepsItsWindowAndStates) {
    FloatingPanel panel({300, 400, 376, 242});
    panel.orderFront();
    ASSERT_TRUE(testing::waitForExposed(panel));
    const WId window = panel.winId();
    panel.setAlwaysOnTop(false);
    panel.makeKeyAndOrderFront();
    EXPECT_EQ(panel.winId(), window) << "the native window was recreated";
    EXPECT_TRUE(panel.isVisible());
    EXPECT_TRUE(testing::waitUntil([&] { return property(panel, "WM_HINTS").contains("input focus: True"); }));
    EXPECT_TRUE(property(panel, "_NET_WM_STATE").contains("_NET_WM_STATE_SKIP_TASKBAR"));
    EXPECT_EQ(panel.frame(), (Rect{300, 400, 376, 242}));
}

TEST_F(FloatingPanelX11, ClicksOnTheShadowReachTheWindowBelow) {
    ASSERT_FALSE(runTool("xdotool", {"version"}).isEmpty()) << "xdotool is not installed";
    PressCounter below;
    below.setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    below.setGeometry(40, 40, 700, 500);
    below.show();
    ASSERT_TRUE(testing::waitForExposed(below));

    FloatingPanel panel({200, double(screenHeight() - 400), 376, 242});
    auto* card = new PressCounter;
    panel.setContentView(card);
    panel.orderFront();
    ASSERT_TRUE(testing::waitForExposed(panel));
    const QMargins margins = panel.shadowMargins();
    ASSERT_GT(margins.right(), 4);
    const QString geometry = runTool("xdotool", {"getwindowgeometry", QString::number(panel.winId())});
    EXPECT_TRUE(geometry.contains(QString("Geometry: %1x%2")
                                      .arg(376 + margins.left() + margins.right())
                                      .arg(242 + margins.top() + margins.bottom())))
        << geometry.toStdString();

    const QRect window = panel.geometry();
    clickAt({window.right() - 2, window.center().y()});
    EXPECT_TRUE(testing::waitUntil([&] { return below.presses == 1; })) << "a click on the shadow went nowhere";
    EXPECT_EQ(card->presses, 0);
    clickAt({window.center().x(), window.bottom() - 2});
    EXPECT_TRUE(testing::waitUntil([&] { return below.presses == 2; }));
    clickAt(window.center());
    EXPECT_TRUE(testing::waitUntil([&] { return card->presses == 1; }));
    EXPECT_EQ(below.presses, 2);
}

} // namespace
} // namespace glimmer
