#include "app/AppDelegate.h"

#include "app/hotkeys/AppHotKeys.h"
#include "card/FloatingPanel.h"
#include "card/StockCardView.h"

#include <QPointer>

#include <algorithm>

namespace glimmer {

void AppDelegate::toggleExpandMode() {
    if (!panel || expander->isAnimating()) return;
    if (expander->isExpanded()) {
        collapseExpandMode({});
        return;
    }
    if (overview->isActive()) exitOverviewMode();

    frameBeforeExpand = panel->frame();
    viewBeforeExpand = presenter.currentView();
    context.suppressOriginPersist = true;
    presenter.setCurrentView(ChartView::intraday);
    if (cardView) {
        cardView->setView(ChartView::intraday);
        cardView->setExpandMode(true);
    }
    presenter.updateRotateTimer();
    context.info("副图展开：主卡分时移到右上角，四块副图自上而下落下");

    expander->applyAppearance(config.themeMode);
    std::optional<MarketEntry> entry;
    if (cardView) entry = cardView->entry();
    const QPointer<AppDelegate> self(this);
    expander->expand(*panel, config.width + 26, config.height + 26, config.width, panel->alphaValue(),
                     config.alwaysOnTop, std::move(entry), [self] {
                         if (self) self->context.info("副图展开：展开完成");
                     });
}

void AppDelegate::collapseExpandMode(std::function<void()> completion) {
    if (!panel || !expander->isExpanded() || expander->isAnimating()) {
        if (completion) completion();
        return;
    }
    const Rect restored = frameBeforeExpand.value_or(panel->frame());
    context.suppressOriginPersist = true;
    context.info("副图展开：开始收起（自下而上卷起）");
    const QPointer<AppDelegate> self(this);
    expander->collapse(*panel, restored, [self, completion = std::move(completion)] {
        if (!self) return;
        AppDelegate& d = *self;
        d.context.suppressOriginPersist = false;
        d.frameBeforeExpand.reset();
        if (d.cardView) d.cardView->setExpandMode(false);
        if (d.viewBeforeExpand) {
            d.presenter.setCurrentView(*d.viewBeforeExpand);
            if (d.cardView) d.cardView->setView(*d.viewBeforeExpand);
            d.viewBeforeExpand.reset();
        }
        if (d.cardView) d.cardView->update();
        d.presenter.updateRotateTimer();
        d.presenter.refreshCard(true);
        d.panelPlacement.reDockIfPinned();
        d.context.info("副图展开：已收起，主卡回到右下角，恢复视图轮播");
        if (completion) completion();
    });
}

void AppDelegate::enterOverviewMode() {
    if (!panel) return;
    const std::vector<MarketEntry> visible = presenter.visibleEntries();
    if (visible.empty()) {
        context.info("全览：可见股票为空（全部被隐藏），不进入全览");
        return;
    }
    // A collapse under way ends in its own completion; entering again from here would loop.
    if (expander->isAnimating()) return;
    if (expander->isExpanded()) {
        const QPointer<AppDelegate> self(this);
        collapseExpandMode([self] {
            if (self) self->enterOverviewMode();
        });
        return;
    }
    if (overview->isActive()) return;

    const ChartView view = presenter.currentView();
    overview->applyAppearance(config.themeMode);
    overview->show(visible, view, std::max(config.width, 240.0), std::max(config.height, 120.0), panel->alphaValue(),
                   config.alwaysOnTop, overview->visibleFrameFor(panel));
    if (cardView) cardView->setOverviewMode(true);
    context.overviewHidByUser = false;
    panel->orderOut();
    context.info("全览：已展开 " + std::to_string(visible.size()) + " 只股票（隐藏 " +
                 std::to_string(config.hiddenCodes.size()) +
                 " 只），顶卡固定 + 单列滚动，当前视图=" + ChartViews::label(view));
    presenter.updateRotateTimer();
    presenter.refreshCard(true);
}

void AppDelegate::exitOverviewMode() {
    if (!overview->isActive()) return;
    const bool hidByUser = context.overviewHidByUser;
    const double opacity = overview->opacity();
    overview->hide();
    if (cardView) cardView->setOverviewMode(false);
    context.overviewHidByUser = false;
    if (!hidByUser && panel) {
        panel->setAlphaValue(opacity);
        panel->orderFront();
    }
    context.info("全览：已收起");
    presenter.updateRotateTimer();
    presenter.refreshCard(true);
}

void AppDelegate::toggleOverviewMode() {
    if (overview->isActive()) {
        exitOverviewMode();
    } else {
        enterOverviewMode();
    }
}

void AppDelegate::hideItem(const std::string& code) {
    std::vector<std::string>& hidden = config.hiddenCodes;
    if (std::find(hidden.begin(), hidden.end(), code) != hidden.end()) return;
    hidden.push_back(code);
    context.save();
    context.info("隐藏股票 " + code + "：全览与主卡轮播都不再展示，设置里可恢复");
    presenter.normalizeCurrentIndexIfHidden();
    presenter.refreshCard(false);
    if (presenter.visibleEntries().empty()) {
        context.info("全览：可见股票已全部隐藏，退出全览");
        exitOverviewMode();
    }
}

AppHotKeyHandlers AppDelegate::hotKeyHandlers() {
    const QPointer<AppDelegate> self(this);
    AppHotKeyHandlers handlers;
    handlers.togglePanel = [self] {
        if (self) self->panelPlacement.togglePanel();
    };
    handlers.toggleExpand = [self] {
        if (self) self->toggleExpandMode();
    };
    handlers.toggleOverview = [self] {
        if (self) self->toggleOverviewMode();
    };
    return handlers;
}

} // namespace glimmer
