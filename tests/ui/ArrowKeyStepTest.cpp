#include "app/hotkeys/ArrowKeyStep.h"
#include "card/FloatingPanel.h"
#include "ui/TestApplication.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

#include <vector>

namespace glimmer {
namespace {

constexpr ArrowContext onCard{true, true, false};
constexpr ArrowContext inOverview{true, false, true};

TEST(ArrowKeyStep, ArrowsSwitchTheSecurityOnTheCardAndStepTheViewInOverview) {
    EXPECT_EQ(arrowStep(Qt::Key_Right, Qt::NoModifier, onCard), (ArrowStep{ArrowAction::switchStock, 1}));
    EXPECT_EQ(arrowStep(Qt::Key_Left, Qt::NoModifier, onCard), (ArrowStep{ArrowAction::switchStock, -1}));
    EXPECT_EQ(arrowStep(Qt::Key_Right, Qt::NoModifier, inOverview), (ArrowStep{ArrowAction::stepView, 1}));
    EXPECT_EQ(arrowStep(Qt::Key_Left, Qt::NoModifier, inOverview), (ArrowStep{ArrowAction::stepView, -1}));
}

TEST(ArrowKeyStep, AnyHeldModifierLeavesTheKeyAlone) {
    for (const Qt::KeyboardModifier modifier :
         {Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier, Qt::MetaModifier}) {
        EXPECT_EQ(arrowStep(Qt::Key_Left, modifier, onCard).action, ArrowAction::none) << modifier;
        EXPECT_EQ(arrowStep(Qt::Key_Right, modifier, inOverview).action, ArrowAction::none) << modifier;
    }
    // The keypad flag comes with arrow keys on some systems and is not a held modifier.
    EXPECT_EQ(arrowStep(Qt::Key_Right, Qt::KeypadModifier, onCard), (ArrowStep{ArrowAction::switchStock, 1}));
}

TEST(ArrowKeyStep, ActsOnlyInOurPanelsWhileTheCardOrTheOverviewShows) {
    EXPECT_EQ(arrowStep(Qt::Key_Right, Qt::NoModifier, {false, true, false}).action, ArrowAction::none);
    EXPECT_EQ(arrowStep(Qt::Key_Right, Qt::NoModifier, {true, false, false}).action, ArrowAction::none);
    for (const int key : {Qt::Key_Up, Qt::Key_Down, Qt::Key_Space, Qt::Key_A})
        EXPECT_EQ(arrowStep(key, Qt::NoModifier, onCard).action, ArrowAction::none) << key;
}

class ArrowKeyMonitorTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::ensureApplication();
        monitor = std::make_unique<ArrowKeyMonitor>();
        monitor->isMainPanelVisible = [this] { return isPanelVisible; };
        monitor->isOverviewOn = [this] { return isOverview; };
        monitor->onStep = [this](ArrowStep step) { steps.push_back(step); };
    }

    // A key press as the window system delivers it: to the window, which hands it to its widgets.
    static bool press(QWidget& window, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers);
        QCoreApplication::sendEvent(window.windowHandle(), &event);
        return event.isAccepted();
    }

    std::unique_ptr<ArrowKeyMonitor> monitor;
    std::vector<ArrowStep> steps;
    bool isPanelVisible = true;
    bool isOverview = false;
};

TEST_F(ArrowKeyMonitorTest, ReportsEachArrowOnceInAFloatingPanelOnlyAndNothingAfterRemoval) {
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
    EXPECT_EQ(steps, (std::vector<ArrowStep>{{ArrowAction::switchStock, 1}, {ArrowAction::stepView, -1}}));
    monitor.reset();
    press(panel, Qt::Key_Right);
    EXPECT_EQ(steps.size(), 2u);
}

} // namespace
} // namespace glimmer
