#pragma once

#include "model/AppConfig.h"
#include "model/Clock.h"

#include <filesystem>
#include <string>
#include <vector>

namespace glimmer::ConfigStore {

/// Reads config.json, filling defaults for missing keys and running the one-time migrations.
/// Never fails: a file that cannot be read as a JSON object is kept aside as
/// "config.json.broken-<yyyyMMdd-HHmmss>" and replaced by a fresh configuration.
AppConfig load();

/// Writes config.json atomically (temporary file in the same folder, then renamed over). A file on
/// disk that would not load cleanly is kept aside first, so no save ever destroys a user's file.
/// Returns whether the new file is in place; callers may ignore it.
bool save(const AppConfig& config);

/// The pretty-printed, key-sorted JSON text of a configuration.
std::string encodedText(const AppConfig& config);

/// The holdings import when it yields at least one item, otherwise the built-in list.
std::vector<WatchItem> defaultWatchlist();
/// 600519 贵州茅台, 300750 宁德时代, 510300 沪深300ETF.
std::vector<WatchItem> builtInWatchlist();

/// Watch-list items from the companion portfolio tool's holdings table; empty on any failure. Share
/// counts and cost prices come along when the table has such columns (shares, quantity, qty,
/// share_count; avg_cost, cost, cost_price, average_cost, avg_price); unusable values are left out.
std::vector<WatchItem> importHoldings();
std::vector<WatchItem> importHoldings(const std::filesystem::path& database);

/// Where the companion tool keeps its database: the home folder followed by this path.
inline constexpr const char* holdingsRelativePath = ".portfolio-tracker/portfolio.sqlite";
std::filesystem::path holdingsDatabasePath();

/// The clock for the backup names (the system clock unless a test sets another). Not owned.
void setClock(const Clock* clock);

} // namespace glimmer::ConfigStore
