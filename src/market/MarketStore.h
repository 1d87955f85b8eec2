#pragma once

#include "market/DispatchQueue.h"
#include "market/FetchContext.h"
#include "market/MainPoster.h"
#include "market/MarketSource.h"
#include "market/TradingDay.h"
#include "model/AlertEngine.h"
#include "model/AppConfig.h"
#include "model/Clock.h"
#include "model/MarketEntry.h"

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace glimmer {

/// What one refresh pass did: quotes in the snapshot and the minute, fund-flow and daily requests.
struct RefreshCounts {
    int batch = 0;
    int minutes = 0;
    int flow = 0;
    int daily = 0;

    bool operator==(const RefreshCounts&) const = default;
};

/// What a market store may be built with besides its fetch context; each has a production default.
struct MarketStoreOptions {
    std::shared_ptr<DispatchQueue> queue; // a "glimmerbox.marketstore" worker when absent
    std::optional<MarketSource> source;   // the live fetchers on the store's context when absent
};

/// Holds one entry per watch-list security, polls the providers on its own serial queue with
/// time-to-live gates per data kind, runs the alert engine over fresh entries and reports through
/// callbacks posted to the main thread. The owner sets the callbacks and calls everything except
/// `performRefresh` from the main thread; readers get copies.
class MarketStore {
public:
    using Entry = MarketEntry;

    using Options = MarketStoreOptions;

    /// The context's clock times the passes and its source health is frozen by `abandon`.
    MarketStore(AppConfig config, MainPoster postToMain, const FetchContext& context, Options options = {});
    ~MarketStore();
    MarketStore(const MarketStore&) = delete;
    MarketStore& operator=(const MarketStore&) = delete;

    // Callbacks, always run on the main thread through the poster. Set them before polling starts.
    std::function<void()> onChange;
    std::function<void(const std::vector<AlertEvent>&)> onAlerts;
    std::function<void()> onRefreshStarted;
    std::function<void()> onRefreshFinished;

    std::vector<Entry> entries() const;
    std::optional<Entry> entry(long long index) const;

    /// The configuration in force; a pass takes a copy at its start.
    AppConfig config() const;
    void setConfig(const AppConfig& config);
    /// Alert settings take effect at the next pass.
    void setAlerts(const AlertConfig& alerts);
    /// Follow with `restartTimer()`.
    void setRefreshSeconds(double seconds);

    std::optional<std::string> priorityCode() const;
    void setPriorityCode(std::optional<std::string> code);

    bool isPollingEnabled() const { return pollingEnabled; }
    void setPollingEnabled(bool enabled) { pollingEnabled = enabled; }

    /// What the snapshots have shown of today's exchange calendar.
    TradingDayState tradingDay() const;
    /// The phase that decides the poll rate and the TTLs now.
    MarketPhase phase() const;

    /// Rebuilds the entries in watch-list order, keeping the data of securities that stay.
    void syncEntries();
    /// (Re)creates the fast poll (every `refreshSeconds` during the session) and the off-hours poll
    /// (every five minutes otherwise). The fast one keeps ticking, so it resumes at the first tick
    /// after a lunch break or a holiday ends.
    void restartTimer();
    /// Asks for one pass on the queue; ignored while polling is disabled.
    void requestRefresh();
    /// Fetches `code` first in the next pass, which it asks for.
    void refreshNow(const std::string& code);
    /// The securities on screen: the card's, and the overview's list while it is open. Only these
    /// keep the daily candles the chart draws; the others keep what the alert rules read. One that
    /// comes on screen short of candles gets them at once. Until the owner says, all are on screen.
    void setShownCodes(const std::vector<std::string>& codes);
    /// Disables polling and cancels both timers.
    void stop();
    /// The program is ending: `stop`, and the pass in progress makes no further request and keeps,
    /// reports, evaluates and counts in source health nothing of what it fetched.
    void abandon();

    /// `syncEntries` and one pass, run on the queue while the caller waits.
    RefreshCounts refreshSynchronouslyForDiagnostics();
    /// One refresh pass. Runs on the queue; tests may call it there directly.
    RefreshCounts performRefresh();

    /// What the store fetches with; the symbol search of the settings uses it too.
    const FetchContext& fetchContext() const { return context; }

    /// The most recent alert events of the store's engine, oldest first.
    std::vector<AlertEvent> latestAlertEvents() const;

    /// Weekdays 09:15 to 15:05 inclusive on the exchange's clock (China Standard Time), lunch included.
    static bool isTradingTime(Instant instant) { return TradingDay::isTradingTime(instant); }
    /// The exchange's calendar date, "yyyy-MM-dd".
    static std::string todayString(Instant instant) { return TradingDay::dateOf(instant); }
    /// Seconds between trading-time polls for a refresh setting: max(r, 5).
    static double pollInterval(double refreshSeconds);
    /// The time-to-live gate of one series: empty, never loaded, or loaded at least `ttl` seconds ago.
    static bool isDue(const std::optional<Instant>& loadedAt, bool isEmpty, Instant now, double ttl);
    /// Time-to-live of minutes and fund flow.
    static double minutesTTL(double refreshSeconds, bool trading);
    static double flowTTL(double refreshSeconds, bool trading);
    /// Processing order: list order, with the first entry of `priority` moved to the front.
    static std::vector<std::size_t> processingOrder(const std::vector<Entry>& entries,
                                                    const std::optional<std::string>& priority);

    static constexpr double offHoursInterval = 300;
    static constexpr int dailyBarCount = 320;
    /// Daily candles a security off screen keeps: the longest average the pull-back rule watches,
    /// at least the five the rule needs; none while the rule is off.
    static int offScreenDailyCount(const AlertConfig& alerts);
    static constexpr const char* minutesFailedMessage = "分时数据获取失败";

private:
    struct PassTimes;
    /// One entry's share of a pass: its quote from the snapshot, then each series that is due.
    void refreshEntry(Entry& entry, const std::map<std::string, Quote>& quotes, const PassTimes& times,
                      RefreshCounts& counts);
    /// "刷新 快照=… 分时=… 资金流=… 日K=…" and the sources cooling down, for the refresh trace.
    std::string traceLine(const RefreshCounts& counts) const;

    void refreshPass();
    void post(std::function<void(MarketStore&)> step);
    void writeBack(std::vector<Entry>& processed);
    /// Under the lock, `merge(current, fresh)` for each entry whose code `processed` holds.
    void mergeByCode(std::vector<Entry>& processed, const std::function<void(Entry&, Entry&)>& merge);
    void observeTradingDay(const std::map<std::string, Quote>& quotes, Instant now);
    /// Full daily candles for the securities on screen that lack them, between passes.
    void loadShownDaily();
    /// Fetches `depth` daily candles into `entry`; true when it got some.
    bool loadDaily(Entry& entry, int depth, const std::string& today);
    static bool isDailyDue(const Entry& entry, int depth, const std::string& today);

    const FetchContext context;
    const Clock& clock;
    MarketSource source;
    MainPoster postToMain;

    mutable std::mutex lock; // guards entryList
    std::vector<Entry> entryList;

    mutable std::mutex settingsLock; // guards settings, priority, the trading day, the timer ids
    AppConfig settings;
    std::optional<std::string> priority;
    std::optional<std::set<std::string>> shownCodes;
    TradingDayState day;
    std::optional<DispatchQueue::TimerId> timer;
    std::optional<DispatchQueue::TimerId> lowFreqTimer;

    mutable std::mutex engineLock;
    AlertEngine engine;

    std::atomic<bool> pollingEnabled{false};
    std::atomic<bool> abandoned{false};
    bool isRefreshing = false; // touched only on the queue

    // Tasks and posted steps hold this weakly and do nothing once the store is gone.
    std::shared_ptr<int> lifeToken = std::make_shared<int>(0);
    std::shared_ptr<DispatchQueue> queue;
};

} // namespace glimmer
