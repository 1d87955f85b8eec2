#include "card/FloatingPanel.h"
#include "card/ShadowCaster.h"
#include "ui/FakeScreenSource.h"
#include "ui/TestApplication.h"

#include <QApplication>

#include <gtest/gtest.h>

namespace glimmer {
namespace {

/// Content whose body lies `insets` inside it, like the card right of its gutter.
class Body : public QWidget, public ShadowCaster {
public:
    explicit Body(QMarginsF insets) : insets(insets) {}
    QMarginsF bodyInsets() const override { return insets; }
    double bodyCornerRadius() const override { return 12; }
    QMarginsF insets;
};

class FloatingPanelTest : public ::testing::Test {
protected:
    bool hasApplication = (testing::ensureApplication(), true);
    // The offscreen display is where Qt puts windows; the panel's screen space follows it.
    testing::FakeScreenSource screens{{{QRect(0, 0, 800, 600), QRect(0, 0, 800, 600)}}};
};

// Whether a plain show takes focus is the window system's business (x11 tests check it).
TEST_F(FloatingPanelTest, IsAToolWindowTakingFocusOnlyOnAKeyRequestWhoseFrameIsTheContentsWidenedByTheShadow) {
    FloatingPanel panel({40, 60, 376, 242}, screens);
    const Qt::WindowFlags flags = panel.windowFlags();
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Tool);
    EXPECT_TRUE(flags.testFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus));
    // Flags, visibility and frame after each change: hints never hide or move the panel.
    const auto state = [&panel] {
        return std::tuple(panel.windowFlags().testFlag(Qt::WindowStaysOnTopHint),
                          panel.windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus), panel.isVisible(), panel.frame());
    };
    panel.makeKeyAndOrderFront();
    EXPECT_EQ(state(), std::tuple(true, false, true, Rect{40, 60, 376, 242}));
    EXPECT_TRUE(testing::waitUntil([&] { return panel.isActiveWindow(); }) && panel.isKeyWindow());
    QWidget other(nullptr, Qt::Window);
    other.show();
    ASSERT_TRUE(testing::waitForExposed(other));
    QApplication::setActiveWindow(&other);
    ASSERT_TRUE(testing::waitUntil([&] { return other.isActiveWindow(); }));
    EXPECT_EQ(state(), std::tuple(true, true, true, Rect{40, 60, 376, 242}));
    panel.setAlwaysOnTop(false);
    EXPECT_EQ(state(), std::tuple(false, true, true, Rect{40, 60, 376, 242}));

    const QMargins full = PanelShadow::margins({});
    EXPECT_GT(full.bottom(), full.top()) << "the shadow falls downwards";
    // A card with a transparent gutter and strip needs room on the right and at the bottom only.
    EXPECT_EQ(PanelShadow::margins({26, 26, 0, 0}), QMargins(0, 0, full.right(), full.bottom()));
    for (const QMarginsF insets : {QMarginsF(), QMarginsF(26, 26, 0, 0)}) {
        FloatingPanel panel({100, 200, 376, 242}, screens);
        auto* content = new Body(insets);
        panel.setContentView(content);
        const QMargins m = PanelShadow::margins(insets);
        EXPECT_EQ(std::tuple(panel.shadowMargins(), panel.frame(), panel.geometry()),
                  std::tuple(m, Rect{100, 200, 376, 242}, QRect(100, 600 - 442, 376, 242).marginsAdded(m)))
            << "adding the content keeps the frame";
        int moves = 0;
        panel.onMove = [&] { ++moves; };
        panel.orderFront();
        ASSERT_TRUE(testing::waitForExposed(panel));
        panel.setFrame({12, 24, 402, 268});
        EXPECT_EQ(content->geometry(), QRect(m.left(), m.top(), 402, 268));
        moves = 0;
        panel.setFrameOrigin({30, 40});
        EXPECT_EQ(std::tuple(panel.frame(), moves), std::tuple(Rect{30, 40, 402, 268}, 1));
        // The top edge stays under the top of the screen: the frame's, not the shadow's.
        panel.setFrame({100, 500, 376, 242});
        EXPECT_EQ(panel.frame(), (Rect{100, 358, 376, 242}));
        panel.setContentView(new QWidget);
        EXPECT_EQ(std::tuple(panel.shadowMargins(), panel.frame()), std::tuple(QMargins(), Rect{100, 358, 376, 242}));
    }
}

} // namespace
} // namespace glimmer
