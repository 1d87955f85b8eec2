#include "app/PanelPlacement.h"

#include "app/CardPresenter.h"
#include "app/PanelFrames.h"
#include "app/StatusBarController.h"
#include "card/DockGeometry.h"
#include "card/FloatingPanel.h"
#include "card/ScreenSpace.h"
#include "card/StockCardView.h"
#include "card/Theme.h"
#include "card/WindowAnimator.h"
#include "model/TextFormat.h"

#include <cmath>
#include <string>

namespace glimmer {

namespace {

std::string originText(const Rect& frame) {
    return "origin=(" + TextFormat::whole(frame.x) + "," + TextFormat::whole(frame.y) + ")";
}

} // namespace

PanelPlacement::PanelPlacement(AppContext& context, CardPresenter& presenter)
    : moveAnimated([](FloatingPanel& panel, Point origin, double seconds, std::function<void()> completion) {
          WindowAnimator::move(panel, origin, seconds, std::move(completion));
      }),
      context(context), presenter(presenter) {
}

PanelPlacement::~PanelPlacement() {
    if (saveOriginWorkItem) context.scheduler.cancel(*saveOriginWorkItem);
    if (saveOpacityWorkItem) context.scheduler.cancel(*saveOpacityWorkItem);
}

Rect PanelPlacement::defaultCorner() const {
    return PanelFrames::defaultCornerFrame(context.config.width, context.config.height,
                                           currentScreens(context.screens));
}

void PanelPlacement::showPanel() {
    context.info("浮窗已呼出");
    if (context.panel) context.panel->setAlphaValue(context.config.opacity);
    if (context.overview.isActive()) {
        context.overview.setVisible(true);
    } else {
        if (context.panel) context.panel->orderFront();
        if (context.expander.isExpanded() && !context.expander.isAnimating()) context.expander.orderFront();
    }
    if (context.statusBar) context.statusBar->stopAlertBlink();
    presenter.updateStatusText();
    context.store.requestRefresh();
}

void PanelPlacement::hidePanel() {
    context.info("浮窗已隐藏（缩到菜单栏）");
    if (context.panel) context.panel->orderOut();
    if (context.expander.isExpanded() && !context.expander.isAnimating()) context.expander.orderOut();
    context.overview.setVisible(false);
    if (context.statusBar) context.statusBar->stopAlertBlink();
    presenter.updateStatusText();
}

void PanelPlacement::togglePanel() {
    if (presenter.isPanelVisible()) {
        hidePanel();
    } else {
        showPanel();
    }
}

void PanelPlacement::applyWindowSettings() {
    const AppConfig& config = context.config;
    if (FloatingPanel* panel = context.panel) {
        panel->setAlphaValue(config.opacity);
        panel->setAlwaysOnTop(config.alwaysOnTop);
        Theme::applyMode(panel, config.themeMode);
    }
    context.expander.setAlpha(config.opacity);
    context.expander.applyTopmost(config.alwaysOnTop);
    context.expander.applyAppearance(config.themeMode);
}

void PanelPlacement::persistOrigin() {
    FloatingPanel* panel = context.panel;
    if (!panel || context.expander.isExpanded()) return;
    if (context.cardView && context.cardView->expandMode()) return;
    const Rect frame = panel->frame();
    context.config.originX = frame.x;
    context.config.originY = frame.y;
    context.save();
}

void PanelPlacement::cancelOriginSave() {
    if (saveOriginWorkItem) context.scheduler.cancel(*saveOriginWorkItem);
    saveOriginWorkItem.reset();
}

void PanelPlacement::panelDidMove() {
    if (!context.panel) return;
    if (context.expander.isExpanded()) {
        context.expander.follow(*context.panel);
        return;
    }
    if (originSavesHeld) return;
    cancelOriginSave();
    saveOriginWorkItem = context.scheduler.schedule(originSaveDelay, [this] {
        saveOriginWorkItem.reset();
        persistOrigin();
    });
}

void PanelPlacement::moveBySystem(const Rect& frame) {
    originSavesHeld = true;
    context.panel->setFrame(frame);
    originSavesHeld = false;
    persistOrigin();
}

void PanelPlacement::screenParametersDidChange() {
    FloatingPanel* panel = context.panel;
    if (!panel) return;
    const std::vector<Screen> screens = currentScreens(context.screens);
    const Rect frame = panel->frame();
    if (!DockGeometry::isOffAllScreens(frame, screens)) {
        if (context.config.dockPinned && context.config.dockSide) {
            snapPanel(*context.config.dockSide, false);
            return;
        }
        const Rect clamped = DockGeometry::clampedFrame(frame, DockGeometry::visibleFrame(frame, screens));
        if (clamped.x == frame.x && clamped.y == frame.y) return;
        moveBySystem(clamped);
        return;
    }
    context.info("屏幕参数变化：浮窗已离屏，回到右下角");
    context.config.dockSide.reset();
    moveBySystem(defaultCorner());
}

void PanelPlacement::snapPanel(DockSide side, bool animated) {
    FloatingPanel* panel = context.panel;
    if (!panel) return;
    const Rect frame = panel->frame();
    const std::vector<Screen> screens = currentScreens(context.screens);
    const Rect target = DockGeometry::dockedFrame(frame, side, DockGeometry::visibleFrame(frame, screens));
    context.config.dockSide = side;
    const std::string sideName = PanelFrames::sideName(side);
    if (std::abs(target.x - frame.x) < 0.5 && std::abs(target.y - frame.y) < 0.5) {
        context.info("浮窗贴边位置不变：屏幕" + sideName + " " + originText(target));
        persistOrigin();
        return;
    }
    context.info("浮窗吸附到屏幕" + sideName + " " + originText(target));
    originSavesHeld = true;
    cancelOriginSave();
    auto finish = [this] {
        originSavesHeld = false;
        persistOrigin();
    };
    if (animated && moveAnimated) {
        moveAnimated(*panel, target.origin(), snapSeconds, finish);
    } else {
        panel->setFrame(target);
        finish();
    }
}

void PanelPlacement::reDockIfPinned() {
    if (context.config.dockPinned && context.config.dockSide && context.panel) {
        snapPanel(*context.config.dockSide, false);
    }
}

void PanelPlacement::setOpacityFromSlider(double value) {
    if (!std::isfinite(value)) return;
    if (context.panel) context.panel->setAlphaValue(value);
    if (!context.expander.isAnimating()) context.expander.setAlpha(value);
    context.overview.setOpacity(value);
    context.config.opacity = value;
    if (saveOpacityWorkItem) context.scheduler.cancel(*saveOpacityWorkItem);
    saveOpacityWorkItem = context.scheduler.schedule(opacitySaveDelay, [this] {
        saveOpacityWorkItem.reset();
        context.save();
    });
}

void PanelPlacement::resize(QSizeF cardSize) {
    context.config.width = cardSize.width();
    context.config.height = cardSize.height();
    if (context.cardView) context.cardView->update();
    if (context.panel && context.expander.isExpanded()) context.expander.relayout(*context.panel);
}

void PanelPlacement::resizeCommit() {
    context.info("浮窗缩放为 " + TextFormat::whole(context.config.width) + "x" +
                 TextFormat::whole(context.config.height));
    reDockIfPinned();
    persistOrigin();
    context.save();
    if (context.overview.isActive()) context.overview.rebuild(presenter.visibleEntries());
}

void PanelPlacement::dragEnd(std::optional<DockSide> side) {
    if (side) {
        snapPanel(*side, true);
        return;
    }
    if (context.config.dockPinned && context.config.dockSide) {
        context.info(std::string("常驻模式下拖离边缘，回弹到屏幕") + PanelFrames::sideName(*context.config.dockSide));
        snapPanel(*context.config.dockSide, true);
        return;
    }
    context.config.dockSide.reset();
    cancelOriginSave();
    persistOrigin();
}

void PanelPlacement::applySizeChange() {
    FloatingPanel* panel = context.panel;
    if (!panel) return;
    const Rect frame = PanelFrames::resizedFrame(panel->frame(), context.config.width, context.config.height);
    panel->setFrame(frame);
    if (StockCardView* card = context.cardView) {
        card->setGeometry(0, 0, static_cast<int>(std::lround(frame.width)),
                          static_cast<int>(std::lround(frame.height)));
        card->update();
    }
    reDockIfPinned();
    if (context.expander.isExpanded()) context.expander.relayout(*panel);
}

void PanelPlacement::pinnedModeChanged() {
    if (!context.config.dockPinned) {
        context.config.dockSide.reset();
        context.save();
        context.info("常驻模式关闭：解除贴边固定");
        return;
    }
    FloatingPanel* panel = context.panel;
    if (!panel) return;
    const Rect frame = panel->frame();
    const Rect visible = DockGeometry::visibleFrame(frame, currentScreens(context.screens));
    const double leftGap = frame.minX() - visible.minX();
    const double rightGap = visible.maxX() - frame.maxX();
    if (std::min(leftGap, rightGap) <= DockGeometry::snapTolerance) {
        const DockSide side = leftGap <= rightGap ? DockSide::left : DockSide::right;
        context.info(std::string("常驻模式开启：当前已贴近屏幕") + PanelFrames::sideName(side) + "，立即固定");
        snapPanel(side, true);
        return;
    }
    context.info("常驻模式开启：拖到屏幕左/右边缘松手即可固定");
}

void PanelPlacement::resetPosition() {
    context.config.dockSide.reset();
    if (!context.panel) return;
    moveBySystem(defaultCorner());
    if (context.config.dockPinned) snapPanel(DockSide::right, true);
}

} // namespace glimmer
