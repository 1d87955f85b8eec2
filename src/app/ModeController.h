#pragma once

#include "app/AppContext.h"
#include "card/ScreenRect.h"
#include "model/ChartView.h"

#include <functional>
#include <memory>
#include <optional>

namespace glimmer {

class CardPresenter;
class PanelPlacement;

/// The card's modes beside the single card: expand (the card in the top-right corner over four
/// sub-chart panels, ⌥⌘E) and overview (one card per visible security, ⌥⌘G). Switches between them
/// and keeps what a mode must give back when it ends: the card's frame and view before expanding.
class ModeController {
public:
    ModeController(AppContext& context, CardPresenter& presenter, PanelPlacement& placement);
    ModeController(const ModeController&) = delete;
    ModeController& operator=(const ModeController&) = delete;

    /// Expands, or collapses back to the frame and view from before; ignored while an animation runs.
    void toggleExpand();
    /// Collapses when expanded and not animating; `completion` runs either way, at the end.
    void collapseExpand(std::function<void()> completion);

    /// Shows the overview instead of the card, collapsing expand mode first.
    void enterOverview();
    /// Back to the card, unless the user hid the overview; the card takes the overview's opacity.
    void exitOverview();
    void toggleOverview();

    /// The card's frame before expand mode, while it is on: the place to store at quit.
    const std::optional<Rect>& frameBeforeExpand() const { return savedFrame; }

private:
    void finishCollapse();

    AppContext& context;
    CardPresenter& presenter;
    PanelPlacement& placement;
    std::optional<Rect> savedFrame;
    std::optional<ChartView> savedView;
    /// Animation completions hold it weakly, so none runs after the controller is gone.
    std::shared_ptr<bool> lifetime = std::make_shared<bool>(true);
};

} // namespace glimmer
