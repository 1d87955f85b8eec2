#include "app/ModeController.h"

#include "app/CardPresenter.h"
#include "app/PanelPlacement.h"
#include "card/FloatingPanel.h"
#include "card/StockCardView.h"

#include <algorithm>
#include <memory>

namespace glimmer {

ModeController::ModeController(AppContext& context, CardPresenter& presenter, PanelPlacement& placement)
    : context(context), presenter(presenter), placement(placement) {
}

void ModeController::toggleExpand() {
    FloatingPanel* panel = context.panel;
    if (!panel || context.expander.isAnimating()) return;
    if (context.expander.isExpanded()) {
        collapseExpand({});
        return;
    }
    if (context.overview.isActive()) exitOverview();

    savedFrame = panel->frame();
    savedView = presenter.currentView();
    placement.holdOriginSaves(true);
    presenter.setCurrentView(ChartView::intraday);
    if (context.cardView) {
        context.cardView->setView(ChartView::intraday);
        context.cardView->setExpandMode(true);
    }
    presenter.updateRotateTimer();
    context.info("副图展开：主卡分时移到右上角，四块副图自上而下落下");

    const AppConfig& config = context.config;
    context.expander.applyAppearance(config.themeMode);
    std::optional<MarketEntry> entry;
    if (context.cardView) entry = context.cardView->entry();
    const std::weak_ptr<bool> alive = lifetime;
    context.expander.expand(*panel, config.width + 26, config.height + 26, config.width, panel->alphaValue(),
                            config.alwaysOnTop, std::move(entry), [this, alive] {
                                if (!alive.expired()) context.info("副图展开：展开完成");
                            });
}

void ModeController::collapseExpand(std::function<void()> completion) {
    FloatingPanel* panel = context.panel;
    if (!panel || !context.expander.isExpanded() || context.expander.isAnimating()) {
        if (completion) completion();
        return;
    }
    const Rect restored = savedFrame.value_or(panel->frame());
    placement.holdOriginSaves(true);
    context.info("副图展开：开始收起（自下而上卷起）");
    const std::weak_ptr<bool> alive = lifetime;
    context.expander.collapse(*panel, restored, [this, alive, completion = std::move(completion)] {
        if (alive.expired()) return;
        finishCollapse();
        if (completion) completion();
    });
}

void ModeController::finishCollapse() {
    placement.holdOriginSaves(false);
    savedFrame.reset();
    StockCardView* card = context.cardView;
    if (card) card->setExpandMode(false);
    if (savedView) {
        presenter.setCurrentView(*savedView);
        if (card) card->setView(*savedView);
        savedView.reset();
    }
    if (card) card->update();
    presenter.updateRotateTimer();
    presenter.refreshCard(true);
    placement.reDockIfPinned();
    context.info("副图展开：已收起，主卡回到右下角，恢复视图轮播");
}

void ModeController::enterOverview() {
    FloatingPanel* panel = context.panel;
    if (!panel) return;
    const std::vector<MarketEntry> visible = presenter.visibleEntries();
    if (visible.empty()) {
        context.info("全览：可见股票为空（全部被隐藏），不进入全览");
        return;
    }
    // A collapse under way ends in its own completion; entering again from here would loop.
    if (context.expander.isAnimating()) return;
    if (context.expander.isExpanded()) {
        const std::weak_ptr<bool> alive = lifetime;
        collapseExpand([this, alive] {
            if (!alive.expired()) enterOverview();
        });
        return;
    }
    OverviewCoordinator& overview = context.overview;
    if (overview.isActive()) return;

    const AppConfig& config = context.config;
    const ChartView view = presenter.currentView();
    overview.applyAppearance(config.themeMode);
    overview.show(visible, view, std::max(config.width, 240.0), std::max(config.height, 120.0), panel->alphaValue(),
                  config.alwaysOnTop, overview.visibleFrameFor(panel));
    if (context.cardView) context.cardView->setOverviewMode(true);
    panel->orderOut();
    context.info("全览：已展开 " + std::to_string(visible.size()) + " 只股票（隐藏 " +
                 std::to_string(config.hiddenCodes.size()) +
                 " 只），顶卡固定 + 单列滚动，当前视图=" + ChartViews::label(view));
    presenter.updateRotateTimer();
    presenter.refreshCard(true);
}

void ModeController::exitOverview() {
    OverviewCoordinator& overview = context.overview;
    if (!overview.isActive()) return;
    const bool hiddenByUser = overview.isHiddenByOwner();
    const double opacity = overview.opacity();
    overview.hide();
    if (context.cardView) context.cardView->setOverviewMode(false);
    if (!hiddenByUser && context.panel) {
        context.panel->setAlphaValue(opacity);
        context.panel->orderFront();
    }
    context.info("全览：已收起");
    presenter.updateRotateTimer();
    presenter.refreshCard(true);
}

void ModeController::toggleOverview() {
    if (context.overview.isActive()) {
        exitOverview();
    } else {
        enterOverview();
    }
}

} // namespace glimmer
