#include "app/CardPresenter.h"

#include "app/Rotation.h"
#include "app/StatusBarController.h"
#include "card/CardText.h"
#include "card/FloatingPanel.h"
#include "card/StockCardView.h"
#include "card/ViewSequence.h"
#include "model/AppPaths.h"
#include "model/HoldingsText.h"

#include <QAction>
#include <QMenu>

#include <algorithm>

namespace glimmer {

namespace {

// With the refresh trace on, each card update names the price the card shows (or its loading
// text), so a long run under faults can check that a price once shown is never lost again.
void traceCard(const AppContext& context, const std::optional<MarketEntry>& entry) {
    if (!entry || !AppPaths::processEnv("GLIMMERBOX_REFRESH_TRACE")) return;
    const std::string shown = entry->quote ? CardText::price(*entry->quote).toStdString() : CardText::loading;
    context.info("卡片 " + entry->item.code + " " + shown);
}

} // namespace

CardPresenter::CardPresenter(AppContext& context) : context(context) {
}

CardPresenter::~CardPresenter() {
    if (rotateTimer) context.scheduler.cancel(*rotateTimer);
    if (viewRotateTimer) context.scheduler.cancel(*viewRotateTimer);
}

std::vector<ChartView> CardPresenter::viewSequence() const {
    if (context.cardView) return context.cardView->enabledSequence();
    return ViewSequence::enabledSequence(context.config.enabledViews);
}

std::vector<MarketEntry> CardPresenter::visibleEntries() const {
    std::vector<MarketEntry> result;
    for (MarketEntry& entry : context.store.entries()) {
        if (!Rotation::isHidden(entry, context.config.hiddenCodes)) result.push_back(std::move(entry));
    }
    return result;
}

bool CardPresenter::isPanelVisible() const {
    if (context.overview.isActive()) return context.overview.isVisible();
    return context.panel != nullptr && context.panel->isVisible();
}

void CardPresenter::setCardView(ChartView view) {
    StockCardView* card = context.cardView;
    if (!card) return;
    card->setView(view);
    card->update();
}

void CardPresenter::configureCard() {
    StockCardView* card = context.cardView;
    if (!card) return;
    const AppConfig& config = context.config;
    card->setPinPaused(config.pinPaused);
    card->setOpacitySliderEnabled(config.hoverOpacitySlider);
    card->setEnabledViews(config.enabledViews);
    card->setLockedView(config.lockedViewType);
    card->setPrivacyMode(config.privacyMode);
    current = Rotation::startView(config.lockedViewType, current, card->enabledSequence());
    setCardView(current);
}

void CardPresenter::refreshCard(bool syncOverview) {
    StockCardView* card = context.cardView;
    if (!card) return;
    const std::vector<MarketEntry> entries = context.store.entries();
    index = Rotation::clampedIndex(index, entries.size());
    index = Rotation::indexSkippingHidden(index, entries, context.config.hiddenCodes);

    const std::vector<int> visible = Rotation::visibleIndices(entries, context.config.hiddenCodes);
    if (visible.empty()) {
        card->setEntry(std::nullopt);
        card->setPlaceholderText(std::string(Rotation::allHiddenPlaceholder));
        card->setIndex(0);
        card->setTotal(0);
        setCardView(current);
        card->setLockedView(context.config.lockedViewType);
        card->setAlertActive(false);
        card->setAlertMessage(std::nullopt);
        if (syncOverview) context.overview.update({});
        reportShownCodes(entries, visible);
        updateStatusText();
        return;
    }

    card->setPlaceholderText(std::nullopt);
    // The index can only be out of range here when the store has no entries at all.
    std::optional<MarketEntry> onCard;
    if (index >= 0 && index < static_cast<int>(entries.size())) onCard = entries[index];
    card->setEntry(onCard);
    traceCard(context, onCard);
    card->setIndex(onCard ? Rotation::visiblePosition(onCard->item.code, entries, context.config.hiddenCodes) : 0);
    card->setTotal(static_cast<int>(visible.size()));
    card->setView(current); // repaints only when the view changes: a quiet refresh paints nothing
    card->setLockedView(context.config.lockedViewType);

    const bool active = alertCode && onCard && *alertCode == onCard->item.code;
    card->setAlertActive(active);
    card->setAlertMessage(active ? alertText : std::nullopt);

    context.expander.update(onCard);
    if (syncOverview) {
        std::vector<MarketEntry> shown;
        for (int i : visible) shown.push_back(entries[i]);
        context.overview.update(shown);
    }
    reportShownCodes(entries, visible);
    updateStatusText();
}

void CardPresenter::reportShownCodes() {
    const std::vector<MarketEntry> entries = context.store.entries();
    reportShownCodes(entries, Rotation::visibleIndices(entries, context.config.hiddenCodes));
}

void CardPresenter::reportShownCodes(const std::vector<MarketEntry>& entries, const std::vector<int>& visible) {
    std::vector<std::string> codes;
    if (context.overview.isActive()) {
        for (const int i : visible) codes.push_back(entries[i].item.code);
    } else if (!visible.empty() && index >= 0 && index < static_cast<int>(entries.size())) {
        codes.push_back(entries[index].item.code);
    }
    if (codes == reportedShown) return;
    context.store.setShownCodes(codes);
    reportedShown = std::move(codes);
}

void CardPresenter::normalizeCurrentIndexIfHidden() {
    index = Rotation::indexSkippingHidden(index, context.store.entries(), context.config.hiddenCodes);
}

void CardPresenter::switchStock(int delta, bool resetView) {
    const std::vector<MarketEntry> entries = context.store.entries();
    const std::optional<int> target = Rotation::switchTarget(index, delta, entries, context.config.hiddenCodes);
    if (!target) return;
    context.info("切换股票 delta=" + std::to_string(delta));
    lastSwitchAt = context.scheduler.now();
    index = *target;
    const MarketEntry& entry = entries[*target];
    context.store.setPriorityCode(entry.item.code);
    if (!entry.updatedAt) context.store.refreshNow(entry.item.code);

    startViewOfSecurity(resetView);
    refreshCard(true);
    if (context.cardView) context.cardView->pulseCharts();
    if (resetView) updateRotateTimer();
}

void CardPresenter::startViewOfSecurity(bool resetView) {
    if (context.config.lockedViewType) {
        current = *context.config.lockedViewType;
    } else if (resetView) {
        const std::vector<ChartView> sequence = viewSequence();
        if (!sequence.empty()) current = sequence.front();
    }
}

void CardPresenter::focusAlerted(int target) {
    const std::vector<MarketEntry> entries = context.store.entries();
    if (target < 0 || target >= static_cast<int>(entries.size())) return;
    lastSwitchAt = context.scheduler.now();
    if (target != index) {
        index = target;
        context.store.setPriorityCode(entries[target].item.code);
        startViewOfSecurity(true);
        refreshCard(true);
    }
    updateRotateTimer();
}

bool CardPresenter::justSwitched() const {
    // A moment of slack for a timer that fires a little late.
    constexpr double timerSlackSeconds = 0.2;
    return lastSwitchAt &&
           context.scheduler.now() - *lastSwitchAt <= context.config.viewRotateSeconds + timerSlackSeconds;
}

void CardPresenter::applyView(ChartView view) {
    current = view;
    setCardView(view);
    context.overview.setView(view);
}

void CardPresenter::selectView(ChartView view) {
    current = view;
    setCardView(view);
}

void CardPresenter::applyLockedView() {
    const std::vector<ChartView> sequence = viewSequence();
    context.config.lockedViewType = Rotation::effectiveLock(context.config.lockedViewType, sequence);
    if (context.cardView) context.cardView->setLockedView(context.config.lockedViewType);
    current = Rotation::startView(context.config.lockedViewType, current, sequence);
    setCardView(current);
}

void CardPresenter::updateRotateTimer() {
    TaskScheduler& scheduler = context.scheduler;
    if (rotateTimer) scheduler.cancel(*rotateTimer);
    rotateTimer.reset();
    const AppConfig& config = context.config;
    if (config.autoRotateSeconds > 0 && visibleEntries().size() >= 2 && !context.overview.isActive()) {
        rotateTimer = scheduler.scheduleRepeating(config.autoRotateSeconds, [this] { rotateStockTick(); });
    }
    if (viewRotateTimer) scheduler.cancel(*viewRotateTimer);
    viewRotateTimer.reset();
    const bool expanded = context.cardView && context.cardView->expandMode();
    if (config.viewRotateSeconds > 0 && !expanded) {
        viewRotateTimer = scheduler.scheduleRepeating(config.viewRotateSeconds, [this] { rotateViewTick(); });
    }
}

void CardPresenter::rotateStockTick() {
    if (!isPanelVisible()) return;
    const bool hovering = context.cardView && context.cardView->isHovering();
    if (context.config.pauseRotateOnHover && hovering) return;
    if (context.config.pinPaused) return;
    switchStock(1, false);
}

void CardPresenter::rotateViewTick() {
    if (!isPanelVisible()) return;
    if (context.config.pauseRotateOnHover) {
        const bool overCard = context.cardView && context.cardView->isHovering();
        if (overCard || context.overview.isHoveringAnyCard()) return;
    }
    if (context.config.lockedViewType) return;
    const std::vector<ChartView> sequence = viewSequence();
    if (sequence.size() < 2) return;
    const std::optional<ChartView> next = ViewSequence::viewAfter(current, sequence);
    if (!context.overview.isActive()) {
        if (!next) {
            if (context.config.pinPaused) return;
            // The security timer, the user or an alert may have moved to this security since the
            // last view tick: start it on its first view instead of skipping it.
            if (justSwitched()) {
                current = sequence.front();
                setCardView(current);
                updateRotateTimer();
                return;
            }
            switchStock(1, true);
            return;
        }
        current = *next;
        setCardView(current);
        return;
    }
    current = next.value_or(sequence.front());
    setCardView(current);
    context.overview.setView(current);
}

void CardPresenter::togglePin() {
    AppConfig& config = context.config;
    config.pinPaused = !config.pinPaused;
    if (context.cardView) context.cardView->setPinPaused(config.pinPaused);
    context.info(std::string("图钉状态=") + (config.pinPaused ? "实心（股票轮播暂停）" : "空心（股票轮播继续"));
    context.save();
}

void CardPresenter::toggleLock(ChartView view) {
    AppConfig& config = context.config;
    const std::string number = std::to_string(ChartViews::stored(view));
    current = view;
    if (config.lockedViewType == view) {
        config.lockedViewType.reset();
        context.info("取消全局锁定（原视图" + number + "）");
    } else {
        config.lockedViewType = view;
        context.info("全局锁定视图" + number + "，所有股票停在该视图");
    }
    applyLockedView();
    context.save();
    refreshCard(true);
}

void CardPresenter::focusFloating() {
    const bool overview = context.overview.isActive();
    if (!isPanelVisible() && !overview) return;
    if (context.activateApplication) context.activateApplication();
    FloatingPanel* key = overview ? context.overview.headerPanel() : context.panel;
    if (key) key->makeKeyAndOrderFront();
}

void CardPresenter::updateStatusText() {
    StatusBarController* status = context.statusBar;
    if (!status) return;
    const std::vector<MarketEntry> entries = context.store.entries();
    // Hidden securities are still held: the totals count every position.
    const std::string holdings = HoldingsText::summaryLine(Holdings::totals(entries), context.config.privacyMode);
    status->setHoldingsLine(holdings.empty() ? std::nullopt : std::optional<std::string>(holdings));
    if (isPanelVisible()) {
        status->setNormalText(std::nullopt);
    } else {
        if (status->isBlinking()) return;
        std::optional<MarketEntry> entry;
        if (index >= 0 && index < static_cast<int>(entries.size())) entry = entries[index];
        status->setNormalText(StatusBarController::securityText(entry));
    }
    if (!status->alertMessage()) status->applyTitle();
}

std::unique_ptr<QMenu> CardPresenter::buildContextMenu(bool withQuit) {
    auto menu = std::make_unique<QMenu>();
    for (const ChartView view : ChartViews::byNumber) {
        QAction* action = menu->addAction(QStringLiteral("查看") + QString::fromUtf8(ChartViews::label(view)));
        action->setData(ChartViews::stored(view));
        action->setCheckable(true);
        action->setChecked(view == current);
        QObject::connect(action, &QAction::triggered, [this, view] { selectView(view); });
    }
    menu->addSeparator();
    QObject::connect(menu->addAction(QStringLiteral("设置…")), &QAction::triggered, [this] {
        if (onOpenSettings) onOpenSettings();
    });
    QObject::connect(menu->addAction(QStringLiteral("隐藏浮窗")), &QAction::triggered, [this] {
        if (onHidePanel) onHidePanel();
    });
    if (withQuit) {
        menu->addSeparator();
        QObject::connect(menu->addAction(QStringLiteral("退出")), &QAction::triggered, [this] {
            if (onQuit) onQuit();
        });
    }
    return menu;
}

void CardPresenter::showContextMenu(QWidget& card, bool withQuit) {
    std::unique_ptr<QMenu> menu = buildContextMenu(withQuit);
    menu->exec(card.mapToGlobal(QPoint(8, 8)));
}

} // namespace glimmer
