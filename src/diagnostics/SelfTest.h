#pragma once

#include "market/FetchContext.h"
#include "model/AppConfig.h"

#include <optional>
#include <string>

namespace glimmer {

/// Diagnostic entry points run instead of the application when an environment switch is on. Each
/// exercises the real code, prints a report to standard output and returns; failures are printed,
/// never turned into an exit status.
namespace SelfTest {

/// Data-chain check: snapshot, search, intraday, fallbacks, fund flow, daily candles, MACD.
void run();
/// Refresh-throttle diagnostic: TTL gate cases and two synchronous store passes.
void runRefreshTrace();
void testAlerts();
void testRotation();
void testExpandLayout();
void testDock();
void testExpandFollowWithWindows();
void testOverviewWithWindows();
void renderPreview();
void renderOverview();
void renderExpand();
void renderSettings();

/// GLIMMERBOX_FORCE_THEME: "dark" or "light"; anything else leaves the system appearance.
std::optional<ThemeMode> forcedAppearance();

/// What the diagnostic modes fetch with: one client and health table on the system clock, with the
/// endpoints and switches of the environment, made at first use and kept to the end of the process.
const FetchContext& fetchContext();

/// Runs the mode of a diagnostic switch ("GLIMMERBOX_DOCK_TEST", ...); false for an unknown name.
bool runSwitch(const std::string& name);

} // namespace SelfTest
} // namespace glimmer
