#include "ui/SettingsTestSupport.h"

#include "settings/SettingsRootView.h"
#include "ui/TestApplication.h"

namespace glimmer::testing {

using enum ChartView;

AppConfig livedInConfig() {
    AppConfig config;
    config.width = 380;
    config.height = 228;
    config.opacity = 0.8;
    config.themeMode = ThemeMode::system;
    config.watchlist = {
        {"600519", "贵州茅台", InstrumentKind::stock}, {"300750", "宁德时代", InstrumentKind::stock},
        {"510300", "沪深300ETF", InstrumentKind::etf}, {"002003", "伟星股份", InstrumentKind::stock},
        {"588000", "科创50ETF", InstrumentKind::etf},
    };
    config.hiddenCodes = {"300750"};
    config.refreshSeconds = 20;
    config.autoRotateSeconds = 30;
    config.viewRotateSeconds = 6;
    config.enabledViews = {intraday, fundFlow, dailyCandles};
    config.volumeViewAdded = true;
    config.didImportHoldings = true;
    config.hotkey = {15, 0x1100, "⌘⌃R", true};

    const PriceAlertDirection below = PriceAlertDirection::below;
    config.alerts.priceAlerts = {{.code = "002003", .direction = below, .price = 10, .note = {}},
                                 {.code = "002003", .direction = PriceAlertDirection::above, .price = 12.5, .note = {}},
                                 {.code = "600519", .direction = below, .price = 1380, .enabled = false, .note = {}}};
    config.alerts.fastRisePercent = 2.5;
    config.alerts.cooldownMinutes = 15;
    config.alerts.maTouchPeriods = {10, 20, 60};
    config.sound.enabled = true;
    config.sound.volume = 0.45;
    config.sound.systemSoundName = "Glass";
    return config;
}

SettingsHarness::SettingsHarness(const AppConfig& config, SymbolSearch::Lookup search) {
    if (!search) search = [](const std::string&) { return std::vector<SymbolHit>{}; };
    ensureApplication();
    owner = config;
    settings = std::make_unique<SettingsWindow>(
        config,
        [this](const ConfigEdit& edit) {
            edit(owner);
            saves.push_back(owner);
            return owner;
        },
        [this] { ++testSoundPresses; }, [this] { ++resetPresses; }, std::move(search));
}

SettingsHarness::~SettingsHarness() = default;

SettingsRootView& SettingsHarness::root() {
    return settings->rootView();
}

const AppConfig& SettingsHarness::config() {
    return settings->rootView().config();
}

std::vector<std::string> codesOf(const AppConfig& config) {
    std::vector<std::string> codes;
    for (const WatchItem& item : config.watchlist) codes.push_back(item.code);
    return codes;
}

} // namespace glimmer::testing
