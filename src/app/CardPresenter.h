#pragma once

#include "app/AppContext.h"
#include "model/MarketEntry.h"

#include <QPoint>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QMenu;
class QWidget;

namespace glimmer {

/// Decides which security and which chart the card shows, steps through both on two timers and
/// writes the result into the card, the expand group, the overview and the tray text.
class CardPresenter {
public:
    explicit CardPresenter(AppContext& context);
    ~CardPresenter();
    CardPresenter(const CardPresenter&) = delete;
    CardPresenter& operator=(const CardPresenter&) = delete;

    int currentIndex() const { return index; }
    void setCurrentIndex(int value) { index = value; }
    ChartView currentView() const { return current; }
    void setCurrentView(ChartView value) { current = value; }

    /// The code and card text of the alert being presented.
    std::optional<std::string> alertCode;
    std::optional<std::string> alertText;

    /// The store's entries that are not hidden, in store order.
    std::vector<MarketEntry> visibleEntries() const;
    /// The panel (or, in overview mode, the overview) is on screen.
    bool isPanelVisible() const;

    /// Hands the card its start-up settings and picks the view it starts on.
    void configureCard();
    void refreshCard(bool syncOverview);
    /// Tells the store which securities are on screen: the card's, or the overview's list.
    void reportShownCodes();
    void normalizeCurrentIndexIfHidden();
    void switchStock(int delta, bool resetView);
    /// Alert focus counts as a switch: the card moves to the store entry at `target` (starting its
    /// round on the first view) when it is elsewhere, and either way both timers start over, so the
    /// alerted security gets a whole round before rotation moves on.
    void focusAlerted(int target);
    /// The card and the overview show `view`.
    void applyView(ChartView view);
    /// The context menu's choice: the card only, the overview keeps its view.
    void selectView(ChartView view);
    void applyLockedView();
    void updateRotateTimer();
    void togglePin();
    void toggleLock(ChartView view);
    void focusFloating();
    void updateStatusText();

    bool isStockRotationRunning() const { return rotateTimer.has_value(); }
    bool isViewRotationRunning() const { return viewRotateTimer.has_value(); }

    /// The card's context menu: the five views (the current one checked), settings, hide, and quit
    /// when no tray item exists to quit from.
    std::unique_ptr<QMenu> buildContextMenu(bool withQuit);
    void showContextMenu(QWidget& card, bool withQuit);

    std::function<void()> onOpenSettings;
    std::function<void()> onHidePanel;
    std::function<void()> onQuit;

private:
    void rotateStockTick();
    void rotateViewTick();
    void setCardView(ChartView view);
    /// The view a security starts on when the card moves to it.
    void startViewOfSecurity(bool resetView);
    /// Whether the card moved to its security within the last view interval.
    bool justSwitched() const;
    std::vector<ChartView> viewSequence() const;
    void reportShownCodes(const std::vector<MarketEntry>& entries, const std::vector<int>& visible);

    AppContext& context;
    int index = 0;
    ChartView current = ChartView::intraday;
    std::optional<TaskScheduler::TaskId> rotateTimer;
    std::optional<TaskScheduler::TaskId> viewRotateTimer;
    /// When the card last moved to another security, on the scheduler's clock.
    std::optional<double> lastSwitchAt;
    std::optional<std::vector<std::string>> reportedShown;
};

} // namespace glimmer
