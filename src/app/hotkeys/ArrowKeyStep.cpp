#include "app/hotkeys/ArrowKeyStep.h"

#include "card/FloatingPanel.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWindow>

namespace glimmer {

ArrowStep arrowStep(int key, Qt::KeyboardModifiers modifiers, const ArrowContext& context) {
    if (!context.isKeyWindowFloatingPanel) return {};
    if (!context.isMainPanelVisible && !context.isOverviewOn) return {};
    constexpr Qt::KeyboardModifiers held = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    if (modifiers & held) return {};
    int delta = 0;
    if (key == Qt::Key_Right)
        delta = 1;
    else if (key == Qt::Key_Left)
        delta = -1;
    else
        return {};
    return {context.isOverviewOn ? ArrowAction::stepView : ArrowAction::switchStock, delta};
}

ArrowKeyMonitor::ArrowKeyMonitor(QObject* parent) : QObject(parent) {
    if (QCoreApplication::instance() != nullptr) QCoreApplication::instance()->installEventFilter(this);
}

ArrowKeyMonitor::~ArrowKeyMonitor() {
    if (QCoreApplication::instance() != nullptr) QCoreApplication::instance()->removeEventFilter(this);
}

bool ArrowKeyMonitor::eventFilter(QObject* watched, QEvent* event) {
    // A key press reaches the window first and then each widget up the parent chain; the window
    // sees it exactly once.
    if (event->type() != QEvent::KeyPress) return false;
    auto* window = qobject_cast<QWindow*>(watched);
    if (window == nullptr) return false;
    const auto* keyEvent = static_cast<const QKeyEvent*>(event);
    if (keyEvent->key() != Qt::Key_Left && keyEvent->key() != Qt::Key_Right) return false;

    ArrowContext context;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->windowHandle() == window) {
            context.isKeyWindowFloatingPanel = qobject_cast<FloatingPanel*>(widget) != nullptr;
            break;
        }
    }
    context.isMainPanelVisible = isMainPanelVisible && isMainPanelVisible();
    context.isOverviewOn = isOverviewOn && isOverviewOn();
    const ArrowStep step = arrowStep(keyEvent->key(), keyEvent->modifiers(), context);
    if (step.action != ArrowAction::none && onStep) onStep(step);
    return false;
}

} // namespace glimmer
