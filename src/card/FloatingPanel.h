#pragma once

#include "card/AnimatedWindow.h"
#include "card/PanelShadow.h"
#include "card/ScreenRect.h"
#include "card/ScreenSource.h"

#include <QWidget>

#include <cstdint>
#include <functional>
#include <optional>

namespace glimmer {

class ShadowCaster;

/// The borderless, transparent tool window that hosts the card, the sub-chart panels and the
/// overview cards. Clicking it does not take focus from other applications; it becomes the key
/// window only through makeKeyAndOrderFront. It has no taskbar entry. Frames are in screen space.
///
/// Content that is a `ShadowCaster` gets a soft shadow, drawn in a transparent margin the window
/// keeps around it. The margin is this class's business alone: `frame()` and `setFrame()` are the
/// content's rectangle, so docking, the saved origin and the layouts never see it, and on X11
/// pointer input passes through it to whatever lies below.
class FloatingPanel : public QWidget, public AnimatedWindow {
    Q_OBJECT
public:
    explicit FloatingPanel(const Rect& contentRect, const ScreenSource& screens = ScreenSource::system());
    ~FloatingPanel() override;

    /// When set, a requested frame is used unchanged, so animations may place the panel off screen;
    /// otherwise the top edge is kept under the top of the visible frame that holds the panel.
    bool allowsOffscreenFrame() const { return isOffscreenAllowed; }
    void setAllowsOffscreenFrame(bool allowed) { isOffscreenAllowed = allowed; }

    bool alwaysOnTop() const { return isOnTop; }
    void setAlwaysOnTop(bool onTop);

    Rect frame() const override;
    void setFrame(const Rect& frame);
    void setFrameOrigin(const Point& origin) override;
    double alphaValue() const override;
    void setAlphaValue(double alpha) override;
    QObject* animationHost() override { return this; }

    /// The view that fills the panel's frame; the panel takes ownership.
    void setContentView(QWidget* view);
    QWidget* contentView() const { return content; }

    /// Shows the panel above others without activating it.
    void orderFront();
    void orderOut();
    /// Hides the panel, stops its running animations and deletes it once control returns to the
    /// event loop (the request may come from an event inside this very window).
    void retire();
    /// Shows the panel and gives it keyboard focus; it gives focus up again when deactivated.
    void makeKeyAndOrderFront();
    bool isKeyWindow() const;

    /// Where the window system keeps the window among workspaces (X11: _NET_WM_STATE_STICKY and
    /// _NET_WM_DESKTOP); always on top means on every workspace.
    struct WorkspaceState {
        bool sticky = false;
        std::optional<uint32_t> desktop;
    };
    /// What the window system holds for this window now; none where it cannot tell.
    std::optional<WorkspaceState> workspaceState() const;

    /// The window's margin around the frame that holds the shadow (none without a shadow).
    QMargins shadowMargins() const { return margins; }

    /// The window flags for these settings.
    static Qt::WindowFlags windowFlagsFor(bool alwaysOnTop, bool acceptsFocus);

    /// The panel moved (by the program or the window system).
    std::function<void()> onMove;

protected:
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void applyWindowFlags();
    /// Limits pointer input to the frame, so clicks on the shadow reach the windows below (one
    /// source file per platform; where the platform cannot, the margin ignores them).
    void applyInputRegion();
    /// Window-system states Qt's flags do not cover: off the taskbar, and on every workspace while
    /// on top (one source file per platform).
    void applyPlatformHints();
    Rect constrained(const Rect& frame) const;

    const ScreenSource& screens;
    QWidget* content = nullptr;
    const ShadowCaster* caster = nullptr;
    QMargins margins;
    PanelShadow shadow;
    bool isOffscreenAllowed = false;
    bool isOnTop = true;
    bool acceptsFocus = false;
    bool hasBeenKey = false;
};

} // namespace glimmer
