#pragma once

#include "app/AppContext.h"
#include "app/TaskScheduler.h"
#include "card/ScreenRect.h"

#include <QSizeF>

#include <functional>
#include <optional>

namespace glimmer {

class CardPresenter;
class FloatingPanel;

/// Where the main panel stands and what of it is stored: showing and hiding, window settings,
/// debounced origin and opacity saves, resizing, edge snapping, pinned docking, screen changes.
class PanelPlacement {
public:
    PanelPlacement(AppContext& context, CardPresenter& presenter);
    ~PanelPlacement();
    PanelPlacement(const PanelPlacement&) = delete;
    PanelPlacement& operator=(const PanelPlacement&) = delete;

    /// Moves a panel to an origin over `seconds` with ease-out, then calls the completion.
    using MoveAnimation =
        std::function<void(FloatingPanel& panel, Point origin, double seconds, std::function<void()> completion)>;
    /// The window animator by default; tests move at once.
    MoveAnimation moveAnimated;

    void showPanel();
    void hidePanel();
    void togglePanel();

    /// Alpha, always-on-top and theme of the main panel (and the expand group).
    void applyWindowSettings();

    void persistOrigin();
    void panelDidMove();
    void screenParametersDidChange();
    void snapPanel(DockSide side, bool animated);
    void reDockIfPinned();
    void setOpacityFromSlider(double value);

    void resize(QSizeF cardSize);
    void resizeCommit();
    void dragEnd(std::optional<DockSide> side);

    /// A saved configuration changed the card size: keep the right and bottom edges.
    void applySizeChange();
    /// A saved configuration switched pinned mode.
    void pinnedModeChanged();
    /// The settings' reset button: back to the default corner.
    void resetPosition();

    /// While held, moves of the panel are not stored: the program itself is moving it (expand mode).
    void holdOriginSaves(bool held) { originSavesHeld = held; }
    bool areOriginSavesHeld() const { return originSavesHeld; }

    bool isOriginSavePending() const { return saveOriginWorkItem.has_value(); }
    bool isOpacitySavePending() const { return saveOpacityWorkItem.has_value(); }

    static constexpr double originSaveDelay = 0.6;
    static constexpr double opacitySaveDelay = 0.5;
    static constexpr double snapSeconds = 0.18;

private:
    void cancelOriginSave();
    void moveBySystem(const Rect& frame);
    Rect defaultCorner() const;

    AppContext& context;
    CardPresenter& presenter;
    std::optional<TaskScheduler::TaskId> saveOriginWorkItem;
    std::optional<TaskScheduler::TaskId> saveOpacityWorkItem;
    bool originSavesHeld = false;
};

} // namespace glimmer
