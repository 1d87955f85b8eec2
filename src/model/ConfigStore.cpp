#include "model/ConfigStore.h"

#include "model/AppLog.h"
#include "model/AppPaths.h"
#include "model/ConfigJson.h"
#include "model/FileSync.h"
#include "model/TextFormat.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace glimmer::ConfigStore {

namespace {

using nlohmann::json;

std::atomic<const Clock*> storeClock{nullptr};

const Clock& clock() {
    const Clock* c = storeClock.load();
    return c ? *c : Clock::system();
}

enum class FileState { missing, unreadable, notAnObject, undecodable, clean };

// A configuration nests four levels deep. Copying and printing a JSON value recurse once per level,
// so a file nested far deeper would overflow the stack on every start: it counts as unusable.
constexpr int maxNesting = 64;

/// The JSON value of `text`, discarded when it is malformed or nests deeper than `maxNesting`.
json parsedWithinNesting(const std::string& text) {
    bool isTooDeep = false;
    // The parser itself does not recurse; values past the limit are never built.
    json tree = json::parse(
        text,
        [&isTooDeep](int depth, json::parse_event_t, const json&) {
            isTooDeep = isTooDeep || depth > maxNesting;
            return !isTooDeep;
        },
        false);
    return isTooDeep ? json(json::value_t::discarded) : tree;
}

struct StoredFile {
    FileState state = FileState::missing;
    json tree;
};

StoredFile readStored(const std::filesystem::path& path) {
    StoredFile file;
    std::error_code error;
    if (!std::filesystem::exists(path, error)) return file;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        file.state = FileState::unreadable;
        return file;
    }
    std::ostringstream buffer;
    buffer << in.rdbuf();
    if (in.bad()) {
        file.state = FileState::unreadable;
        return file;
    }
    json tree = parsedWithinNesting(buffer.str());
    if (tree.is_discarded() || !tree.is_object()) {
        file.state = FileState::notAnObject;
        return file;
    }
    file.tree = std::move(tree);
    file.state = FileState::clean;
    return file;
}

std::optional<AppConfig> decodeMerged(const json& stored, std::vector<ConfigJson::DroppedValue>* dropped = nullptr) {
    return ConfigJson::decode(ConfigJson::merged(ConfigJson::encode(AppConfig{}), stored), dropped);
}

/// One line for every unusable holdings value of a load; the values themselves stay out of the
/// log, as they may be amounts the user keeps private.
void warnAboutDropped(const std::vector<ConfigJson::DroppedValue>& dropped) {
    if (dropped.empty()) return;
    std::string list;
    for (const ConfigJson::DroppedValue& value : dropped) {
        if (!list.empty()) list += "、";
        list += value.code + (value.key == "shares" ? " 持股" : " 成本");
    }
    AppLog::write("WARN", "配置文件中的持仓数值无效，已忽略：" + list);
}

// A hand-edited size can be anything; outside these bounds the card can neither be seen nor
// grabbed. The lower bounds are the smallest card a resize makes; no screen needs more than 4096.
constexpr double minCardWidth = 240;
constexpr double minCardHeight = 150;
constexpr double maxCardSide = 4096;

double usableSide(double side, double minimum, double fallback) {
    return std::isfinite(side) ? std::clamp(side, minimum, maxCardSide) : fallback;
}

/// Brings a stored card size into the range a card can be shown at, saying so once.
void keepCardSizeUsable(AppConfig& config) {
    const double width = usableSide(config.width, minCardWidth, AppConfig{}.width);
    const double height = usableSide(config.height, minCardHeight, AppConfig{}.height);
    if (width == config.width && height == config.height) return;
    AppLog::write("WARN", "配置文件中的卡片尺寸 " + TextFormat::whole(config.width) + "x" +
                              TextFormat::whole(config.height) + " 无法显示，改用 " + TextFormat::whole(width) + "x" +
                              TextFormat::whole(height));
    config.width = width;
    config.height = height;
}

std::string backupStamp() {
    const CivilTime t = clock().localTime(clock().now());
    char text[32];
    std::snprintf(text, sizeof text, "%04d%02d%02d-%02d%02d%02d", t.year, t.month, t.day, t.hour, t.minute, t.second);
    return text;
}

/// Moves an unusable config.json aside under a name that does not exist yet.
bool keepBrokenFile(const std::filesystem::path& path) {
    const std::string base = path.string() + ".broken-" + backupStamp();
    std::filesystem::path target = base;
    std::error_code error;
    for (int n = 1; std::filesystem::exists(target, error) && n < 1000; ++n) {
        target = base + "-" + std::to_string(n);
    }
    std::filesystem::rename(path, target, error);
    if (error) {
        AppLog::write("ERR ", "配置文件无法解析，且未能另存备份，保留原文件不覆盖：" + path.string());
        return false;
    }
    AppLog::write("ERR ", "配置文件无法解析，已另存为 " + target.string());
    return true;
}

bool writeAtomically(const std::filesystem::path& path, const std::string& text) {
    AppPaths::ensureAppSupportDir();
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    const std::string tempPrefix = path.filename().string() + ".tmp-";
    // A save killed part-way leaves its temporary file behind; clear those first so they never pile
    // up. A concurrent writer losing its file only fails its rename, never tears config.json.
    for (std::filesystem::directory_iterator it(path.parent_path(), error), end; !error && it != end;
         it.increment(error)) {
        if (it->path().filename().string().rfind(tempPrefix, 0) == 0) {
            std::error_code ignored;
            std::filesystem::remove(it->path(), ignored);
        }
    }
    error.clear();
    const std::filesystem::path temp = path.string() + ".tmp-" + std::to_string(FileSync::processId());
    std::FILE* handle = std::fopen(temp.c_str(), "wb");
    if (!handle) return false;
    bool ok = std::fwrite(text.data(), 1, text.size(), handle) == text.size();
    ok = std::fflush(handle) == 0 && ok;
    ok = FileSync::syncToDisk(handle) && ok;
    ok = std::fclose(handle) == 0 && ok;
    if (ok) {
        std::filesystem::rename(temp, path, error);
        ok = !error;
    }
    if (!ok) std::filesystem::remove(temp, error);
    return ok;
}

AppConfig freshConfig() {
    AppConfig config;
    config.watchlist = defaultWatchlist();
    config.didImportHoldings = true;
    return config;
}

} // namespace

std::string encodedText(const AppConfig& config) {
    // Invalid UTF-8 (a name from a foreign database, say) is replaced rather than failing the save.
    return ConfigJson::encode(config).dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

bool save(const AppConfig& config) {
    const std::filesystem::path path = AppPaths::configFile();
    const StoredFile existing = readStored(path);
    bool mustKeep = existing.state == FileState::unreadable || existing.state == FileState::notAnObject;
    if (existing.state == FileState::clean && !decodeMerged(existing.tree)) mustKeep = true;
    if (mustKeep && !keepBrokenFile(path)) return false;
    return writeAtomically(path, encodedText(config));
}

AppConfig load() {
    const std::filesystem::path path = AppPaths::configFile();
    const StoredFile stored = readStored(path);
    if (stored.state != FileState::clean) {
        if (stored.state != FileState::missing && !keepBrokenFile(path)) return freshConfig();
        AppConfig config = freshConfig();
        save(config);
        return config;
    }

    std::vector<ConfigJson::DroppedValue> dropped;
    const auto decoded = decodeMerged(stored.tree, &dropped);
    if (!decoded) return AppConfig{};
    warnAboutDropped(dropped);
    AppConfig config = *decoded;
    keepCardSizeUsable(config);

    if (!stored.tree.contains("viewRotateSeconds")) {
        config.autoRotateSeconds = 25;
        config.viewRotateSeconds = 5;
        save(config);
    }
    if (!config.volumeViewAdded) {
        if (std::find(config.enabledViews.begin(), config.enabledViews.end(), ChartView::volume) ==
            config.enabledViews.end()) {
            config.enabledViews.push_back(ChartView::volume);
        }
        config.volumeViewAdded = true;
        save(config);
    }
    if (config.watchlist.empty() && !config.didImportHoldings) {
        config.watchlist = defaultWatchlist();
        config.didImportHoldings = true;
        save(config);
    }
    return config;
}

std::vector<WatchItem> builtInWatchlist() {
    return {{"600519", "贵州茅台", InstrumentKind::stock},
            {"300750", "宁德时代", InstrumentKind::stock},
            {"510300", "沪深300ETF", InstrumentKind::etf}};
}

std::vector<WatchItem> defaultWatchlist() {
    auto imported = importHoldings();
    return imported.empty() ? builtInWatchlist() : imported;
}

std::filesystem::path holdingsDatabasePath() {
    return AppPaths::homeDir() / holdingsRelativePath;
}

std::vector<WatchItem> importHoldings() {
    return importHoldings(holdingsDatabasePath());
}

void setClock(const Clock* c) {
    storeClock = c;
}

} // namespace glimmer::ConfigStore
