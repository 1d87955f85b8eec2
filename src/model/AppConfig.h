#pragma once

#include "model/ChartView.h"
#include "model/MarketRecords.h"
#include "model/Uuid.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace glimmer {

enum class ThemeMode { system, dark, light };
enum class DockSide { left, right };
enum class PriceAlertDirection { below, above };

const char* rawValue(ThemeMode mode);
const char* rawValue(DockSide side);
const char* rawValue(PriceAlertDirection direction);
std::optional<ThemeMode> themeModeFromRaw(const std::string& raw);
std::optional<DockSide> dockSideFromRaw(const std::string& raw);
std::optional<PriceAlertDirection> priceAlertDirectionFromRaw(const std::string& raw);

/// Global show/hide hot key. Key code and modifiers use the macOS virtual key codes and the Carbon
/// modifier mask (command 0x100, shift 0x200, option 0x800, control 0x1000) so files move between
/// machines; each platform backend maps them.
struct HotKeySpec {
    std::uint32_t keyCode = 3;
    std::uint32_t modifiers = 0x900;
    std::string displayName = "⌥⌘F";
    bool enabled = true;

    bool operator==(const HotKeySpec&) const = default;
};

struct PriceAlert {
    Uuid id = Uuid::random();
    std::string code{};
    PriceAlertDirection direction = PriceAlertDirection::above;
    double price = 0; // 0 or less disables the alert
    bool enabled = true;
    std::string note{};

    bool operator==(const PriceAlert&) const = default;
};

struct AlertConfig {
    std::vector<PriceAlert> priceAlerts{};
    bool fastRiseEnabled = true;
    double fastRiseWindowMinutes = 3;
    double fastRisePercent = 2;
    bool fastDropEnabled = true;
    double fastDropWindowMinutes = 3;
    double fastDropPercent = 2;
    bool scissorsEnabled = true;
    double scissorsThresholdYi = 1;
    bool mainFallingEnabled = true;
    int mainFallingSamples = 5;
    bool maTouchEnabled = true;
    std::vector<int> maTouchPeriods{5, 10, 20, 60};
    double maTouchTolerancePercent = 0.35;
    double cooldownMinutes = 10;

    bool operator==(const AlertConfig&) const = default;
};

struct SoundConfig {
    bool enabled = false;
    double volume = 0.6;
    std::string systemSoundName{};
    std::string customFilePath{};
    /// A desktop notification for each alert while the card is hidden or the screen locked.
    bool desktopNotifications = true;

    bool operator==(const SoundConfig&) const = default;
};

/// Every user setting; persisted as one JSON document.
struct AppConfig {
    double width = 350;
    double height = 216;
    double opacity = 0.55;
    std::optional<double> originX{};
    std::optional<double> originY{};
    bool alwaysOnTop = true;
    bool hoverOpacitySlider = true;
    ThemeMode themeMode = ThemeMode::system;
    bool dockPinned = false;
    std::optional<DockSide> dockSide{};
    std::vector<WatchItem> watchlist{};
    double refreshSeconds = 30;
    double autoRotateSeconds = 25;
    double viewRotateSeconds = 5;
    bool pauseRotateOnHover = true;
    bool pinPaused = false;
    std::optional<ChartView> lockedViewType{};
    std::vector<ChartView> enabledViews{ChartViews::order.begin(), ChartViews::order.end()};
    bool volumeViewAdded = false;
    std::vector<std::string> hiddenCodes{};
    bool autoLaunch = true;
    HotKeySpec hotkey{};
    AlertConfig alerts{};
    SoundConfig sound{};
    bool didImportHoldings = false;
    /// Amounts and share counts show as "****" everywhere; percentages stay.
    bool privacyMode = false;
    /// Switches the privacy mode; off until the user turns it on.
    HotKeySpec privacyHotkey{35, 0x900, "⌥⌘P", false};

    bool operator==(const AppConfig&) const = default;
};

} // namespace glimmer
