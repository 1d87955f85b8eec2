#include "market/MarketStore.h"

#include "market/SecID.h"
#include "market/SerialQueue.h"
#include "model/AppLog.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <unordered_map>

namespace glimmer {

namespace {

// Position of each code's first entry.
std::unordered_map<std::string, std::size_t> indexByCode(const std::vector<MarketEntry>& entries) {
    std::unordered_map<std::string, std::size_t> at;
    at.reserve(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) at.emplace(entries[i].item.code, i);
    return at;
}

// The refresh setting from a hand-editable file: anything but a finite number counts as the default.
double refreshSetting(double seconds) {
    return std::isfinite(seconds) ? seconds : AppConfig{}.refreshSeconds;
}

} // namespace

MarketStore::MarketStore(AppConfig config, MainPoster poster, const FetchContext& context, Options options)
    : context(context), clock(context.clock),
      source(options.source ? std::move(*options.source) : MarketSource::live(context)), postToMain(std::move(poster)),
      settings(std::move(config)), queue(std::move(options.queue)) {
    if (!queue) queue = std::make_shared<SerialQueue>("glimmerbox.marketstore");
}

MarketStore::~MarketStore() {
    stop();
    lifeToken.reset();
    // Wait for a pass that is running on another thread; later tasks find the token gone.
    queue->sync([] {});
}

std::vector<MarketStore::Entry> MarketStore::entries() const {
    std::lock_guard guard(lock);
    return entryList;
}

std::optional<MarketStore::Entry> MarketStore::entry(long long index) const {
    std::lock_guard guard(lock);
    if (index < 0 || index >= static_cast<long long>(entryList.size())) return std::nullopt;
    return entryList[static_cast<std::size_t>(index)];
}

AppConfig MarketStore::config() const {
    std::lock_guard guard(settingsLock);
    return settings;
}

void MarketStore::setConfig(const AppConfig& config) {
    std::lock_guard guard(settingsLock);
    settings = config;
}

void MarketStore::setAlerts(const AlertConfig& alerts) {
    std::lock_guard guard(settingsLock);
    settings.alerts = alerts;
}

void MarketStore::setRefreshSeconds(double seconds) {
    std::lock_guard guard(settingsLock);
    settings.refreshSeconds = seconds;
}

std::optional<std::string> MarketStore::priorityCode() const {
    std::lock_guard guard(settingsLock);
    return priority;
}

void MarketStore::setPriorityCode(std::optional<std::string> code) {
    std::lock_guard guard(settingsLock);
    priority = std::move(code);
}

TradingDayState MarketStore::tradingDay() const {
    std::lock_guard guard(settingsLock);
    return day;
}

MarketPhase MarketStore::phase() const {
    return TradingDay::phase(clock.now(), tradingDay());
}

std::vector<AlertEvent> MarketStore::latestAlertEvents() const {
    std::lock_guard guard(engineLock);
    return engine.latestEvents();
}

void MarketStore::post(std::function<void(MarketStore&)> step) {
    if (!postToMain) return;
    postToMain([weak = std::weak_ptr<int>(lifeToken), this, step = std::move(step)] {
        if (weak.lock()) step(*this);
    });
}

void MarketStore::syncEntries() {
    const std::vector<WatchItem> watchlist = config().watchlist;
    {
        std::lock_guard guard(lock);
        const std::unordered_map<std::string, std::size_t> at = indexByCode(entryList);
        std::vector<Entry> rebuilt;
        rebuilt.reserve(watchlist.size());
        for (const WatchItem& item : watchlist) {
            const auto existing = at.find(item.code);
            Entry next = existing != at.end() ? entryList[existing->second] : Entry(item);
            next.item = item;
            rebuilt.push_back(std::move(next));
        }
        entryList = std::move(rebuilt);
    }
    {
        std::lock_guard guard(settingsLock);
        const bool keep = priority && std::any_of(watchlist.begin(), watchlist.end(),
                                                  [&](const WatchItem& item) { return item.code == *priority; });
        if (!keep) priority = watchlist.empty() ? std::nullopt : std::optional<std::string>(watchlist.front().code);
    }
    post([](MarketStore& store) {
        if (store.onChange) store.onChange();
    });
}

void MarketStore::restartTimer() {
    const double interval = pollInterval(config().refreshSeconds);
    const std::weak_ptr<int> weak = lifeToken;
    std::lock_guard guard(settingsLock);
    if (timer) queue->cancelTimer(*timer);
    timer = queue->scheduleTimer(0.2, interval, 0.2, [weak, this] {
        if (weak.lock() && TradingDay::pollsFast(phase())) requestRefresh();
    });
    if (lowFreqTimer) queue->cancelTimer(*lowFreqTimer);
    lowFreqTimer = queue->scheduleTimer(offHoursInterval, offHoursInterval, 0, [weak, this] {
        if (weak.lock() && !TradingDay::pollsFast(phase())) requestRefresh();
    });
}

void MarketStore::requestRefresh() {
    if (!pollingEnabled) return;
    queue->async([weak = std::weak_ptr<int>(lifeToken), this] {
        if (weak.lock()) refreshPass();
    });
}

void MarketStore::refreshNow(const std::string& code) {
    setPriorityCode(code);
    requestRefresh();
}

void MarketStore::setShownCodes(const std::vector<std::string>& codes) {
    {
        std::lock_guard guard(settingsLock);
        shownCodes.emplace(codes.begin(), codes.end());
    }
    queue->async([weak = std::weak_ptr<int>(lifeToken), this] {
        if (weak.lock()) loadShownDaily();
    });
}

void MarketStore::loadShownDaily() {
    if (!pollingEnabled || abandoned) return;
    std::set<std::string> shown;
    {
        std::lock_guard guard(settingsLock);
        if (shownCodes) shown = *shownCodes;
    }
    const std::string today = todayString(clock.now());
    // Only the few securities on screen that lack candles are copied, not the whole watch list.
    std::vector<Entry> due;
    {
        std::lock_guard guard(lock);
        for (const Entry& e : entryList) {
            if (shown.count(e.item.code) && isDailyDue(e, dailyBarCount, today)) due.push_back(e);
        }
    }
    std::vector<Entry> loaded;
    for (Entry& e : due) {
        if (abandoned) return;
        if (loadDaily(e, dailyBarCount, today)) loaded.push_back(std::move(e));
    }
    if (loaded.empty() || abandoned) return; // an abandoned store keeps nothing it fetched
    mergeByCode(loaded, [](Entry& current, Entry& fresh) {
        current.daily = std::move(fresh.daily);
        current.dailyLoadedOn = std::move(fresh.dailyLoadedOn);
        current.dailyDepth = fresh.dailyDepth;
    });
    post([](MarketStore& store) {
        if (store.onChange) store.onChange();
    });
}

void MarketStore::stop() {
    pollingEnabled = false;
    std::lock_guard guard(settingsLock);
    if (timer) queue->cancelTimer(*timer);
    if (lowFreqTimer) queue->cancelTimer(*lowFreqTimer);
    timer.reset();
    lowFreqTimer.reset();
}

void MarketStore::abandon() {
    abandoned = true;
    context.health.freeze();
    stop();
}

void MarketStore::refreshPass() {
    if (isRefreshing) return;
    isRefreshing = true;
    post([](MarketStore& store) {
        if (store.onRefreshStarted) store.onRefreshStarted();
    });
    performRefresh();
    isRefreshing = false;
    post([](MarketStore& store) {
        if (store.onRefreshFinished) store.onRefreshFinished();
    });
}

RefreshCounts MarketStore::refreshSynchronouslyForDiagnostics() {
    RefreshCounts counts;
    queue->sync([&] {
        syncEntries();
        counts = performRefresh();
    });
    return counts;
}

/// What one pass judges every entry by, fixed at its start.
struct MarketStore::PassTimes {
    Instant now;
    std::string today;
    double minutesTtl = 0;
    double flowTtl = 0;
    std::optional<std::set<std::string>> shown{}; // every code when absent
    int offScreenDaily = 0;

    int dailyDepth(const std::string& code) const {
        return !shown || shown->count(code) ? dailyBarCount : offScreenDaily;
    }
};

RefreshCounts MarketStore::performRefresh() {
    std::vector<Entry> work = entries();
    if (work.empty()) return {};

    // One consistent view of the settings for the whole pass.
    const AppConfig cfg = config();
    const std::optional<std::string> first = priorityCode();
    const Instant now = clock.now();

    std::vector<WatchItem> items;
    items.reserve(work.size());
    for (const Entry& e : work) items.push_back(e.item);
    const std::map<std::string, Quote> quotes =
        source.fetchQuotesBatch ? source.fetchQuotesBatch(items) : std::map<std::string, Quote>{};
    if (abandoned) return {};
    // The snapshot that finds a holiday already spares the series their trading-time TTLs.
    observeTradingDay(quotes, now);
    const MarketPhase phase = TradingDay::phase(now, tradingDay());
    const bool trading = TradingDay::usesTradingTTLs(phase);
    const double r = refreshSetting(cfg.refreshSeconds);
    // Before today's first quote the series can hold nothing new; only an empty one is fetched.
    const double never = std::numeric_limits<double>::infinity();
    PassTimes times{now, todayString(now), phase == MarketPhase::PreOpen ? never : minutesTTL(r, trading),
                    phase == MarketPhase::PreOpen ? never : flowTTL(r, trading)};
    times.offScreenDaily = offScreenDailyCount(cfg.alerts);
    {
        std::lock_guard guard(settingsLock);
        times.shown = shownCodes;
    }

    RefreshCounts counts;
    counts.batch = static_cast<int>(quotes.size());
    std::vector<AlertEvent> events;

    for (const std::size_t index : processingOrder(work, first)) {
        Entry& e = work[index];
        refreshEntry(e, quotes, times, counts);
        // An abandoned pass stops here: its data were cut short and are not to be judged or kept.
        if (abandoned) return counts;
        std::lock_guard guard(engineLock);
        auto fired = engine.evaluate(e, cfg.alerts, clock.now());
        events.insert(events.end(), fired.begin(), fired.end());
    }

    if (context.switches.traceRefresh) AppLog::write("INFO", traceLine(counts));

    writeBack(work);
    post([events = std::move(events)](MarketStore& store) {
        if (store.onChange) store.onChange();
        if (!events.empty() && store.onAlerts) store.onAlerts(events);
    });
    return counts;
}

void MarketStore::refreshEntry(Entry& e, const std::map<std::string, Quote>& quotes, const PassTimes& times,
                               RefreshCounts& counts) {
    const std::string& code = e.item.code;
    const auto quoted = quotes.find(code);
    if (quoted != quotes.end()) {
        e.quote = quoted->second;
        e.error.reset();
        e.updatedAt = times.now;
    }

    const std::string secid = SecID::secid(code);
    if (isDue(e.minutesLoadedAt, e.minutes.empty(), times.now, times.minutesTtl)) {
        ++counts.minutes;
        auto snapshot =
            source.fetchIntraday ? source.fetchIntraday(secid, code, e.item.name) : std::optional<IntradaySnapshot>{};
        if (snapshot) {
            if (!snapshot->minutes.empty()) {
                e.minutes = std::move(snapshot->minutes);
                e.minutesLoadedAt = times.now;
            }
            // A placeholder quote without a price never replaces a real one.
            if (quoted == quotes.end() && (snapshot->quote.price > 0 || !e.quote)) {
                e.quote = std::move(snapshot->quote);
                e.updatedAt = times.now;
            }
            e.error.reset();
        } else if (!e.quote) {
            e.error = minutesFailedMessage;
        }
    }

    if (!abandoned && isDue(e.flowLoadedAt, e.flow.empty(), times.now, times.flowTtl)) {
        ++counts.flow;
        auto points = source.fetchFlow ? source.fetchFlow(secid, SecID::tencentSymbol(code)) : std::vector<FlowPoint>{};
        if (!points.empty()) {
            e.flow = std::move(points);
            e.flowLoadedAt = times.now;
        }
    }

    const int depth = times.dailyDepth(code);
    if (!abandoned && isDailyDue(e, depth, times.today)) {
        ++counts.daily;
        loadDaily(e, depth, times.today);
    }
    // What nothing shows is let go; the alert rules read only the latest candles.
    if (e.dailyDepth > depth) {
        const std::vector<DailyBar>& bars = e.daily;
        const std::size_t keep = std::min(bars.size(), static_cast<std::size_t>(depth));
        e.daily = std::vector<DailyBar>(bars.end() - static_cast<std::ptrdiff_t>(keep), bars.end());
        e.dailyDepth = depth;
    }
}

bool MarketStore::isDailyDue(const Entry& e, int depth, const std::string& today) {
    return depth > 0 && (e.daily.empty() || e.dailyLoadedOn != today || e.dailyDepth < depth);
}

bool MarketStore::loadDaily(Entry& e, int depth, const std::string& today) {
    if (!source.fetchDaily) return false;
    std::vector<DailyBar> bars = source.fetchDaily(SecID::tencentSymbol(e.item.code), depth);
    if (bars.empty()) return false;
    e.daily = std::move(bars);
    e.dailyLoadedOn = today;
    e.dailyDepth = depth;
    return true;
}

int MarketStore::offScreenDailyCount(const AlertConfig& alerts) {
    if (!alerts.maTouchEnabled) return 0;
    int longest = 5;
    for (const int period : alerts.maTouchPeriods) longest = std::max(longest, period);
    return std::min(longest, dailyBarCount);
}

std::string MarketStore::traceLine(const RefreshCounts& counts) const {
    std::string line = "刷新 快照=" + std::to_string(counts.batch) + " 分时=" + std::to_string(counts.minutes) +
                       " 资金流=" + std::to_string(counts.flow) + " 日K=" + std::to_string(counts.daily);
    const auto cooling = context.health.coolingKeys(clock.now());
    if (!cooling.empty()) {
        line += " 冷却中=[";
        for (std::size_t i = 0; i < cooling.size(); ++i) line += (i ? "," : "") + cooling[i];
        line += "]";
    }
    return line;
}

void MarketStore::observeTradingDay(const std::map<std::string, Quote>& quotes, Instant now) {
    std::vector<std::string> dates;
    dates.reserve(quotes.size());
    for (const auto& [code, quote] : quotes) dates.push_back(quote.tradeDate);
    std::string line;
    {
        std::lock_guard guard(settingsLock);
        line = TradingDay::logLine(TradingDay::observe(day, now, dates), day);
    }
    if (!line.empty()) AppLog::write("INFO", line);
}

// A watch-list change that landed during the pass wins for membership, order and items; the pass's
// data go to the securities that are still there.
void MarketStore::writeBack(std::vector<Entry>& processed) {
    mergeByCode(processed, [](Entry& current, Entry& fresh) {
        WatchItem item = std::move(current.item);
        current = std::move(fresh);
        current.item = std::move(item);
    });
}

void MarketStore::mergeByCode(std::vector<Entry>& processed, const std::function<void(Entry&, Entry&)>& merge) {
    const std::unordered_map<std::string, std::size_t> fresh = indexByCode(processed);
    std::lock_guard guard(lock);
    for (Entry& current : entryList) {
        const auto found = fresh.find(current.item.code);
        if (found != fresh.end()) merge(current, processed[found->second]);
    }
}

bool MarketStore::isDue(const std::optional<Instant>& loadedAt, bool isEmpty, Instant now, double ttl) {
    return isEmpty || !loadedAt || secondsBetween(*loadedAt, now) >= ttl;
}

double MarketStore::pollInterval(double refreshSeconds) {
    return std::max(refreshSetting(refreshSeconds), 5.0);
}

double MarketStore::minutesTTL(double refreshSeconds, bool trading) {
    return trading ? std::max(2 * refreshSetting(refreshSeconds), 60.0) : 600.0;
}

double MarketStore::flowTTL(double refreshSeconds, bool trading) {
    return trading ? std::max(4 * refreshSetting(refreshSeconds), 120.0) : 600.0;
}

std::vector<std::size_t> MarketStore::processingOrder(const std::vector<Entry>& entries,
                                                      const std::optional<std::string>& priority) {
    std::vector<std::size_t> order;
    order.reserve(entries.size());
    std::optional<std::size_t> front;
    if (priority) {
        for (std::size_t i = 0; i < entries.size(); ++i) {
            if (entries[i].item.code == *priority) {
                front = i;
                break;
            }
        }
    }
    if (front) order.push_back(*front);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (!front || i != *front) order.push_back(i);
    }
    return order;
}

} // namespace glimmer
