#pragma once

#include <QObject>
#include <Qt>

#include <functional>

namespace glimmer {

/// What a left or right arrow key does inside the program.
enum class ArrowAction { none, stepView, switchStock };

struct ArrowStep {
    ArrowAction action = ArrowAction::none;
    int delta = 0; // +1 right, -1 left

    bool operator==(const ArrowStep&) const = default;
};

/// The state the decision depends on, read at the moment of the key press.
struct ArrowContext {
    bool isKeyWindowFloatingPanel = false;
    bool isMainPanelVisible = false;
    bool isOverviewOn = false;
};

/// Left/right with no modifier held, while one of our floating panels is the key window and the
/// main panel shows or overview mode is on: overview on steps the view, off switches the security.
/// The keypad flag counts as no modifier (macOS sets it on every arrow key).
ArrowStep arrowStep(int key, Qt::KeyboardModifiers modifiers, const ArrowContext& context);

/// The in-application arrow-key monitor: watches key presses delivered to the program's windows
/// and reports the steps arrowStep() decides. It never consumes the key.
class ArrowKeyMonitor : public QObject {
    Q_OBJECT
public:
    /// Installs itself on the application (which must exist) until destroyed.
    explicit ArrowKeyMonitor(QObject* parent = nullptr);
    ~ArrowKeyMonitor() override;

    /// Read at every arrow key; unset means false.
    std::function<bool()> isMainPanelVisible;
    std::function<bool()> isOverviewOn;
    std::function<void(ArrowStep)> onStep;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace glimmer
