#include "app/hotkeys/ArrowKeyStep.h"
#include "card/FloatingPanel.h"
#include "ui/TestApplication.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

namespace glimmer {
namespace {

using enum ArrowAction;

TEST(ArrowKeyStep, ArrowsSwitchTheSecurityOnTheCardStepTheViewInOverviewAndOnlyWithoutModifiers) {
    const ArrowContext card{true, true, false}, overview{true, false, true};
    EXPECT_EQ(arrowStep(Qt::Key_Right, Qt::NoModifier, card), (ArrowStep{switchStock, 1}));
    EXPECT_EQ(arrowStep(Qt::Key_Left, Qt::NoModifier, card), (ArrowStep{switchStock, -1}));
    EXPECT_EQ(arrowStep(Qt::Key_Right, Qt::NoModifier, overview), (ArrowStep{stepView, 1}));
    EXPECT_EQ(arrowStep(Qt::Key_Left, Qt::NoModifier, overview), (ArrowStep{stepView, -1}));
    // The keypad flag comes with arrow keys on some systems and is not a held modifier.
    EXPECT_EQ(arrowStep(Qt::Key_Right, Qt::KeypadModifier, card), (ArrowStep{switchStock, 1}));
    for (const auto modifier : {Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier, Qt::MetaModifier}) {
        EXPECT_EQ(arrowStep(Qt::Key_Left, modifier, card).action, none) << modifier;
        EXPECT_EQ(arrowStep(Qt::Key_Right, modifier, overview).action, none) << modifier;
    }
    EXPECT_EQ(arrowStep(Qt::Key_Right, Qt::NoModifier, {false, true, false}).action, none);
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
