// glimmer-soak: the market store with the real fetchers against the simulated market on loopback,
// with random faults switched on and off every few seconds, for a set time. Exits non-zero when an
// entry lost data it had loaded, a pass threw, or resident memory grew beyond the allowance.

#include "FaultPlan.h"
#include "SoakLedger.h"

#include "doubles/ManualClock.h"
#include "doubles/ManualQueue.h"
#include "market/DailyKline.h"
#include "market/EastmoneyFlow.h"
#include "market/EastmoneyTrends.h"
#include "market/Endpoints.h"
#include "market/MarketAPI.h"
#include "market/MarketStore.h"
#include "model/AppLog.h"
#include "simmarket/SimMarket.h"
#include "simmarket/Universe.h"

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <iostream>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace glimmer;
using SteadyClock = std::chrono::steady_clock;

struct Settings {
    double seconds = 60;
    double timeout = 2;       // client time-out of the series fetchers
    double toggle = 3;        // real seconds between fault changes
    double step = 30;         // simulated seconds per pass
    double warmup = -1;       // real seconds before the memory baseline; negative: a fifth of the run
    long maxGrowthKb = 16384; // allowed resident growth from baseline to end
    bool checksMemory = true;
    std::size_t codes = 30;
    std::uint64_t seed = 1;
    bool verbose = false;
};

void usage() {
    std::cout << "usage: glimmer-soak [options]\n"
                 "  --seconds N | --minutes N   how long to run (default 60 s)\n"
                 "  --timeout S      client time-out of the series requests (default 2)\n"
                 "  --toggle S       real seconds between fault changes (default 3)\n"
                 "  --step S         simulated seconds per refresh pass (default 30)\n"
                 "  --warmup S       real seconds before the memory baseline (default a fifth of the run)\n"
                 "  --max-growth-kb N  allowed resident memory growth (default 16384)\n"
                 "  --codes N        watch-list size (default 30)\n"
                 "  --seed N         fault and market seed (default 1)\n"
                 "  --no-memory-check  report resident memory without judging it (sanitizer builds,\n"
                 "                   whose allocator holds freed memory back)\n"
                 "  --verbose        print every fault change and every loss\n";
}

bool parseArgs(int argc, char** argv, Settings& s) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto value = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
        const auto number = [&](double& out) {
            const char* v = value();
            if (!v) return false;
            char* end = nullptr;
            out = std::strtod(v, &end);
            return end && *end == '\0' && out >= 0;
        };
        double n = 0;
        if (arg == "--help" || arg == "-h") {
            usage();
            std::exit(0);
        } else if (arg == "--verbose") {
            s.verbose = true;
        } else if (arg == "--no-memory-check") {
            s.checksMemory = false;
        } else if (!number(n)) {
            std::cerr << "glimmer-soak: bad or missing value for " << arg << "\n";
            return false;
        } else if (arg == "--seconds") {
            s.seconds = n;
        } else if (arg == "--minutes") {
            s.seconds = n * 60;
        } else if (arg == "--timeout") {
            s.timeout = n;
        } else if (arg == "--toggle") {
            s.toggle = n;
        } else if (arg == "--step") {
            s.step = n;
        } else if (arg == "--warmup") {
            s.warmup = n;
        } else if (arg == "--max-growth-kb") {
            s.maxGrowthKb = static_cast<long>(n);
        } else if (arg == "--codes") {
            s.codes = static_cast<std::size_t>(n);
        } else if (arg == "--seed") {
            s.seed = static_cast<std::uint64_t>(n);
        } else {
            std::cerr << "glimmer-soak: unknown option " << arg << "\n";
            return false;
        }
    }
    if (s.toggle <= 0 || s.step <= 0 || s.timeout <= 0) {
        std::cerr << "glimmer-soak: --toggle, --step and --timeout must be positive\n";
        return false;
    }
    return true;
}

/// Stocks and funds of the simulated market, then generic codes up to `count`.
std::vector<WatchItem> watchList(std::size_t count) {
    std::vector<WatchItem> items;
    for (const auto& security : sim::Universe::listed()) {
        if (items.size() == count) break;
        if (security.kind == sim::SecurityKind::Index) continue;
        items.push_back(
            {security.code, "", security.kind == sim::SecurityKind::Etf ? InstrumentKind::etf : InstrumentKind::stock});
    }
    for (int n = 1; items.size() < count; ++n) {
        char code[16];
        std::snprintf(code, sizeof code, "%06d", 603000 + n);
        items.push_back({code, "", InstrumentKind::stock});
    }
    return items;
}

/// The live fetchers with a short time-out, so hangs cost seconds rather than minutes.
MarketSource shortTimeoutSource(const FetchContext& context, double timeout) {
    MarketSource source = MarketSource::live(context);
    source.fetchIntraday = [context, timeout](const std::string& secid, const std::string& code,
                                              const std::string& fallbackName) {
        return EastmoneyTrends::fetchIntraday(secid, code, fallbackName, context, timeout);
    };
    source.fetchFlow = [context, timeout](const std::string& secid, const std::string& symbol) {
        return EastmoneyFlow::fetchFlow(secid, symbol, context, timeout);
    };
    source.fetchDaily = [context, timeout](const std::string& symbol, int count) {
        return DailyKline::fetchDaily(symbol, count, context, timeout);
    };
    return source;
}

/// Moves the simulated clock on by one pass; after the close it jumps to the next weekday's open.
void stepClock(ManualClock& clock, double step) {
    clock.advance(step);
    for (;;) {
        const CivilTime t = Clock::chinaTime(clock.now());
        const int minute = t.hour * 60 + t.minute;
        const bool weekend = t.weekday == 0 || t.weekday == 6;
        if (!weekend && minute >= 9 * 60 + 30 && minute <= 15 * 60) return;
        const double sinceMidnight = t.hour * 3600.0 + t.minute * 60.0 + t.second;
        const double toOpen = 9.5 * 3600 - sinceMidnight;
        clock.advance(toOpen > 0 ? toOpen : 86400 + toOpen);
    }
}

/// A scratch home so the program's log and files never land in the user's folders.
std::filesystem::path scratchHome() {
    std::string pattern = (std::filesystem::temp_directory_path() / "glimmer-soak-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return {};
    const std::filesystem::path home = pattern;
    for (const char* sub : {"data", "config", "cache", "state"}) std::filesystem::create_directories(home / sub);
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_DATA_HOME", (home / "data").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
    setenv("XDG_CACHE_HOME", (home / "cache").c_str(), 1);
    setenv("XDG_STATE_HOME", (home / "state").c_str(), 1);
    return home;
}

// The harness's own parts, checked before each run: a ledger that missed a loss, or a fault plan that
// never drew some misbehaviour, would let a run pass that proves nothing.
MarketEntry loadedEntry(const std::string& code) {
    MarketEntry e(WatchItem{code, "", InstrumentKind::stock});
    e.quote = Quote{};
    e.quote->price = 12.5;
    e.minutes.push_back(MinuteBar{});
    e.flow.push_back(FlowPoint{});
    e.daily.push_back(DailyBar{});
    return e;
}

bool ledgerNoticesLosses() {
    soak::SoakLedger ledger;
    MarketEntry partial = loadedEntry("000001");
    partial.flow.clear(); // never arrived: no loss
    MarketEntry dropped = loadedEntry("600519");
    dropped.minutes.clear();
    const bool quietStart = ledger.observe({loadedEntry("600519"), partial}).empty();
    const auto losses = ledger.observe({dropped, loadedEntry("000001")});
    ledger.observe({dropped, loadedEntry("000001")}); // still missing: lost again
    ledger.observeCooling({"a"});
    ledger.observeCooling({"a", "b"});
    ledger.observeCooling({});
    ledger.observeCooling({"b"});
    return quietStart && losses.size() == 1 && losses[0].code == "600519" && losses[0].what == "minutes" &&
           ledger.lostEntries() == 1 && ledger.lossCount() == 2 && ledger.loadedCount("flow") == 2 &&
           ledger.cooldownsEntered() == 3 && ledger.cooldownsByKey().at("b") == 2 && soak::residentKilobytes() > 0;
}

bool planDrawsEveryFault(std::uint64_t seed, const std::vector<std::string>& hosts, double timeout) {
    soak::FaultPlan plan(seed, hosts, timeout), twin(seed, hosts, timeout);
    std::set<std::string> kinds, families, seenHosts;
    int healthy = 0;
    bool slowBeyondTimeout = false;
    for (int i = 0; i < 2000; ++i) {
        const auto rules = plan.next();
        const auto same = twin.next();
        if (rules.size() > 3 || rules.size() != same.size()) return false;
        healthy += rules.empty() ? 1 : 0;
        for (std::size_t k = 0; k < rules.size(); ++k) {
            const auto& rule = rules[k];
            if (rule.family != same[k].family || rule.host != same[k].host || !(rule.fault == same[k].fault))
                return false;
            kinds.insert(sim::SimFaults::describe(rule.fault));
            families.insert(rule.family);
            seenHosts.insert(rule.host);
            slowBeyondTimeout |= rule.fault.kind == sim::SimFault::Kind::Delay && rule.fault.arg > timeout * 1000;
        }
    }
    return kinds.size() == plan.kinds().size() && families.size() == std::size(sim::SimFaults::families) + 1 &&
           seenHosts.size() == hosts.size() + 1 && healthy > 300 && slowBeyondTimeout;
}

} // namespace

int main(int argc, char** argv) {
    Settings settings;
    if (!parseArgs(argc, argv, settings)) {
        usage();
        return 2;
    }
    const std::filesystem::path home = scratchHome();
    if (home.empty()) {
        std::cerr << "glimmer-soak: cannot create a scratch home folder\n";
        return 2;
    }
    AppLog::setEchoToStdout(false);

    ManualClock clock;
    clock.setChinaTime(2024, 11, 4, 9, 30); // a Monday at the open
    sim::SimMarket::Options marketOptions;
    marketOptions.clock = &clock;
    marketOptions.seed = settings.seed;
    sim::SimMarket market(marketOptions);
    std::string error;
    if (!market.start(&error)) {
        std::cerr << "glimmer-soak: the simulated market did not start: " << error << "\n";
        return 2;
    }
    MarketAPI http;
    SourceHealth health;
    const FetchContext context{http, health, clock, market.endpoints()};
    PostedTasks mainTasks;
    auto queue = std::make_shared<ManualQueue>(clock);
    AppConfig config;
    config.watchlist = watchList(settings.codes);
    auto store = std::make_unique<MarketStore>(
        config, mainTasks.poster(), context, MarketStoreOptions{queue, shortTimeoutSource(context, settings.timeout)});
    store->syncEntries();

    // Faults change on their own thread in real time while passes run.
    std::mutex faultLock;
    std::condition_variable faultWake;
    bool finished = false;
    std::size_t toggles = 0;
    std::map<std::string, std::size_t> faultKinds;
    std::vector<std::string> hosts;
    for (std::size_t i = 0; i < market.listenerCount(); ++i) hosts.push_back(market.hostKey(i));
    hosts.push_back("eastmoney.main");
    hosts.push_back("tencent.chart");
    if (!ledgerNoticesLosses() || !planDrawsEveryFault(settings.seed, hosts, settings.timeout)) {
        std::cerr << "glimmer-soak: the harness's own check failed\n";
        return 2;
    }
    std::thread faults([&] {
        soak::FaultPlan plan(settings.seed, hosts, settings.timeout);
        std::unique_lock guard(faultLock);
        while (!faultWake.wait_for(guard, std::chrono::duration<double>(settings.toggle), [&] { return finished; })) {
            const auto rules = plan.next();
            market.clearFaults();
            for (const auto& rule : rules) {
                market.setFault(rule);
                ++faultKinds[sim::SimFaults::describe(rule.fault)];
                if (settings.verbose)
                    std::cout << "fault " << rule.family << "@" << (rule.host.empty() ? "*" : rule.host) << "="
                              << sim::SimFaults::describe(rule.fault) << "\n";
            }
            if (rules.empty()) ++faultKinds["(none)"];
            ++toggles;
        }
        market.clearFaults();
    });

    soak::SoakLedger ledger;
    std::map<std::string, std::size_t> requests;
    RefreshCounts totals;
    std::size_t passes = 0;
    std::size_t crashes = 0;
    const auto start = SteadyClock::now();
    const double warmup = settings.warmup >= 0 ? settings.warmup : settings.seconds / 5;
    const long rssStart = soak::residentKilobytes();
    long rssBaseline = 0;
    long rssPeak = rssStart;
    std::vector<long> rssTrend; // one sample per tenth of the run

    const auto elapsed = [&] { return std::chrono::duration<double>(SteadyClock::now() - start).count(); };
    while (elapsed() < settings.seconds) {
        try {
            RefreshCounts counts;
            queue->sync([&] { counts = store->performRefresh(); });
            totals.batch += counts.batch;
            totals.minutes += counts.minutes;
            totals.flow += counts.flow;
            totals.daily += counts.daily;
        } catch (const std::exception& e) {
            ++crashes;
            std::cerr << "pass " << passes << " threw: " << e.what() << "\n";
        } catch (...) {
            ++crashes;
            std::cerr << "pass " << passes << " threw an unknown exception\n";
        }
        ++passes;
        mainTasks.drain();
        for (const auto& loss : ledger.observe(store->entries())) {
            if (settings.verbose || ledger.lossCount() <= 10)
                std::cerr << "pass " << passes << ": " << loss.code << " lost its " << loss.what << "\n";
        }
        ledger.observeCooling(health.coolingKeys(clock.now()));
        for (const auto& r : market.requests()) ++requests[r.family];
        market.clearRequests();

        if (!rssBaseline && elapsed() >= warmup) rssBaseline = soak::residentKilobytes();
        rssPeak = std::max(rssPeak, soak::residentKilobytes());
        if (elapsed() >= settings.seconds * static_cast<double>(rssTrend.size() + 1) / 10)
            rssTrend.push_back(soak::residentKilobytes());
        stepClock(clock, settings.step);
    }
    const long rssEnd = soak::residentKilobytes();
    if (!rssBaseline) rssBaseline = rssEnd;

    {
        std::lock_guard guard(faultLock);
        finished = true;
    }
    faultWake.notify_all();
    faults.join();
    store.reset();
    market.stop();

    const long growth = rssEnd - rssBaseline;
    std::size_t requestTotal = 0;
    for (const auto& [family, count] : requests) requestTotal += count;

    std::cout << "soak: " << elapsed() << " s, " << config.watchlist.size() << " securities, client time-out "
              << settings.timeout << " s, faults changed every " << settings.toggle << " s\n";
    std::cout << "simulated time reached  " << sim::SimMarket::formatChinaTime(clock.now()) << "\n";
    std::cout << "passes completed        " << passes << "\n";
    std::cout << "fetches (store counts)  quotes " << totals.batch << ", minutes " << totals.minutes << ", flow "
              << totals.flow << ", daily " << totals.daily << "\n";
    std::cout << "requests per source     " << requestTotal << " in all\n";
    for (const auto& [family, count] : requests) std::cout << "  " << family << " " << count << "\n";
    std::cout << "fault changes           " << toggles << "\n";
    for (const auto& [kind, count] : faultKinds) std::cout << "  " << kind << " " << count << "\n";
    std::cout << "cool-downs entered      " << ledger.cooldownsEntered() << "\n";
    for (const auto& [key, count] : ledger.cooldownsByKey()) std::cout << "  " << key << " " << count << "\n";
    std::cout << "entries ever loaded     quote " << ledger.loadedCount("quote") << ", minutes "
              << ledger.loadedCount("minutes") << ", flow " << ledger.loadedCount("flow") << ", daily "
              << ledger.loadedCount("daily") << " of " << config.watchlist.size() << "\n";
    std::cout << "crashes                 " << crashes << "\n";
    std::cout << "entries that lost data  " << ledger.lostEntries() << " (" << ledger.lossCount() << " losses)\n";
    std::cout << "resident memory         start " << rssStart << " kB, after warm-up " << rssBaseline << " kB, end "
              << rssEnd << " kB, peak " << rssPeak << " kB, growth " << growth << " kB ";
    if (settings.checksMemory) {
        std::cout << "(allowed " << settings.maxGrowthKb << ")\n";
    } else {
        std::cout << "(not checked)\n";
    }
    std::cout << "resident memory by tenth";
    for (const long kb : rssTrend) std::cout << " " << kb;
    std::cout << " kB\n";

    std::error_code ignored;
    std::filesystem::remove_all(home, ignored);

    bool ok = true;
    if (crashes) ok = false;
    if (ledger.lostEntries()) ok = false;
    if (settings.checksMemory && growth > settings.maxGrowthKb) {
        std::cout << "memory grew beyond the allowance\n";
        ok = false;
    }
    if (passes == 0) ok = false;
    std::cout << (ok ? "soak passed\n" : "soak FAILED\n");
    return ok ? 0 : 1;
}
