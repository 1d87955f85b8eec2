#include "ui/SettingsTestSupport.h"

#include "settings/SettingsRootView.h"
#include "ui/TestApplication.h"

namespace glimmer::testing {

AppConfig livedInConfig() {
    const PriceAlertDirection below = PriceAlertDirection::below;
    return {.watchlist = {{"600519", "贵州茅台"},
                          {"300750", "宁德时代"},
                          {"510300", "沪深300ETF", InstrumentKind::etf},
                          {"002003", "伟星股份"},
                          {"588000", "科创50ETF", InstrumentKind::etf}},
            .hiddenCodes = {"300750"},
            .hotkey = {15, 0x1100, "⌘⌃R", true},
            .alerts =
                {.priceAlerts = {{.code = "002003", .direction = below, .price = 10, .note = {}},
                                 {.code = "002003", .direction = PriceAlertDirection::above, .price = 12.5, .note = {}},
                                 {.code = "600519", .direction = below, .price = 1380, .enabled = false, .note = {}}},
                 .fastRisePercent = 2.5,
                 .maTouchPeriods = {10, 20, 60},
                 .cooldownMinutes = 15},
            .sound = {.enabled = true, .volume = 0.45, .systemSoundName = "Glass"}};
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

const AppConfig& SettingsHarness::config() {
    return settings->rootView().config();
}

} // namespace glimmer::testing
