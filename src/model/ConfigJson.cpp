#include "model/ConfigJson.h"

#include "model/Holdings.h"

#include <array>
#include <cmath>
#include <limits>
#include <string_view>

namespace glimmer {

namespace {

using nlohmann::json;

// Doubles that hold whole numbers are written as integers, as files written on macOS have them.
json number(double value) {
    if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 9.0e15) {
        return static_cast<long long>(value);
    }
    return value;
}

/// Reads the keys of one object, failing the whole decode on the first fault.
class Reader {
public:
    explicit Reader(const json& object) : object(object), ok(object.is_object()) {}

    bool valid() const { return ok; }

    const json* field(const char* key) {
        if (!ok) return nullptr;
        const auto it = object.find(key);
        if (it == object.end()) return fail();
        return &*it;
    }

    double getDouble(const char* key) {
        const json* v = field(key);
        if (!v || !v->is_number()) return failValue<double>();
        const double d = v->get<double>();
        if (!std::isfinite(d)) return failValue<double>();
        return d;
    }

    std::optional<double> getOptionalDouble(const char* key) {
        if (!ok || !object.contains(key) || object.at(key).is_null()) return std::nullopt;
        return getDouble(key);
    }

    long long getInteger(const char* key, long long min, long long max) {
        const json* v = field(key);
        return v ? integerValue(*v, min, max) : 0;
    }

    long long integerValue(const json& v, long long min, long long max) {
        if (v.is_number_unsigned()) {
            const auto u = v.get<unsigned long long>();
            if (u > static_cast<unsigned long long>(max)) return failValue<long long>();
            return static_cast<long long>(u);
        }
        if (v.is_number_integer()) {
            const auto i = v.get<long long>();
            if (i < min || i > max) return failValue<long long>();
            return i;
        }
        if (v.is_number_float()) {
            // A whole number written with a fraction part (5.0) still counts as an integer. The bound
            // is max + 1 because a large max rounds up to it as a double, where the cast overflows.
            const double d = v.get<double>();
            if (!std::isfinite(d) || d != std::trunc(d) || d < static_cast<double>(min) ||
                d >= static_cast<double>(max) + 1.0) {
                return failValue<long long>();
            }
            return static_cast<long long>(d);
        }
        return failValue<long long>();
    }

    std::optional<int> getOptionalInt(const char* key) {
        if (!ok || !object.contains(key) || object.at(key).is_null()) return std::nullopt;
        return static_cast<int>(getInteger(key, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
    }

    bool getBool(const char* key) {
        const json* v = field(key);
        if (!v || !v->is_boolean()) return failValue<bool>();
        return v->get<bool>();
    }

    std::string getString(const char* key) {
        const json* v = field(key);
        if (!v || !v->is_string()) return failValue<std::string>();
        return v->get<std::string>();
    }

    std::vector<int> getIntArray(const char* key) {
        std::vector<int> out;
        const json* v = field(key);
        if (!v || !v->is_array()) return failValue<std::vector<int>>();
        for (const json& element : *v) {
            out.push_back(static_cast<int>(
                integerValue(element, std::numeric_limits<int>::min(), std::numeric_limits<int>::max())));
        }
        return ok ? out : std::vector<int>{};
    }

    std::vector<std::string> getStringArray(const char* key) {
        std::vector<std::string> out;
        const json* v = field(key);
        if (!v || !v->is_array()) return failValue<std::vector<std::string>>();
        for (const json& element : *v) {
            if (!element.is_string()) return failValue<std::vector<std::string>>();
            out.push_back(element.get<std::string>());
        }
        return out;
    }

    template <typename T, typename Parse> T getEnum(const char* key, Parse parse) {
        const std::string raw = getString(key);
        if (!ok) return T{};
        const auto value = parse(raw);
        if (!value) return failValue<T>();
        return *value;
    }

    template <typename T> T failValue() {
        ok = false;
        return T{};
    }

    std::nullptr_t fail() {
        ok = false;
        return nullptr;
    }

    const json& object;
    bool ok;
};

constexpr std::array<std::string_view, 5> watchItemKeys{"code", "name", "kind", "shares", "cost"};

bool isWatchItemKey(const std::string& key) {
    for (std::string_view known : watchItemKeys)
        if (key == known) return true;
    return false;
}

// Numbers only: "100" written as text is as unusable as -5. Share counts stay far below 2^53, so
// reading them as doubles loses nothing.
std::optional<std::int64_t> sharesValue(const json& v) {
    return v.is_number() ? Holdings::sharesFrom(v.get<double>()) : std::nullopt;
}

std::optional<double> costValue(const json& v) {
    return v.is_number() ? Holdings::costFrom(v.get<double>()) : std::nullopt;
}

/// Reads one optional holdings value; a present but unusable one is listed and left out.
template <typename T>
std::optional<T> holdingsValue(const json& tree, const char* key, std::optional<T> (*parse)(const json&),
                               const std::string& code, std::vector<ConfigJson::DroppedValue>* dropped) {
    const auto it = tree.find(key);
    if (it == tree.end() || it->is_null()) return std::nullopt;
    std::optional<T> value = parse(*it);
    if (!value && dropped) dropped->push_back({code, key});
    return value;
}

std::optional<PriceAlert> decodePriceAlert(const json& tree) {
    Reader r(tree);
    PriceAlert alert;
    const auto id = Uuid::parse(r.getString("id"));
    if (!id) return std::nullopt;
    alert.id = *id;
    alert.code = r.getString("code");
    alert.direction = r.getEnum<PriceAlertDirection>("direction", priceAlertDirectionFromRaw);
    alert.price = r.getDouble("price");
    alert.enabled = r.getBool("enabled");
    alert.note = r.getString("note");
    if (!r.valid()) return std::nullopt;
    return alert;
}

std::optional<AlertConfig> decodeAlerts(const json& tree) {
    Reader r(tree);
    AlertConfig a;
    const json* list = r.field("priceAlerts");
    if (!list || !list->is_array()) return std::nullopt;
    for (const json& element : *list) {
        auto alert = decodePriceAlert(element);
        if (!alert) return std::nullopt;
        a.priceAlerts.push_back(std::move(*alert));
    }
    a.fastRiseEnabled = r.getBool("fastRiseEnabled");
    a.fastRiseWindowMinutes = r.getDouble("fastRiseWindowMinutes");
    a.fastRisePercent = r.getDouble("fastRisePercent");
    a.fastDropEnabled = r.getBool("fastDropEnabled");
    a.fastDropWindowMinutes = r.getDouble("fastDropWindowMinutes");
    a.fastDropPercent = r.getDouble("fastDropPercent");
    a.scissorsEnabled = r.getBool("scissorsEnabled");
    a.scissorsThresholdYi = r.getDouble("scissorsThresholdYi");
    a.mainFallingEnabled = r.getBool("mainFallingEnabled");
    a.mainFallingSamples = static_cast<int>(
        r.getInteger("mainFallingSamples", std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
    a.maTouchEnabled = r.getBool("maTouchEnabled");
    a.maTouchPeriods = r.getIntArray("maTouchPeriods");
    a.maTouchTolerancePercent = r.getDouble("maTouchTolerancePercent");
    a.cooldownMinutes = r.getDouble("cooldownMinutes");
    if (!r.valid()) return std::nullopt;
    return a;
}

std::optional<HotKeySpec> decodeHotKey(const json& tree) {
    Reader r(tree);
    HotKeySpec h;
    h.keyCode = static_cast<std::uint32_t>(r.getInteger("keyCode", 0, std::numeric_limits<std::uint32_t>::max()));
    h.modifiers = static_cast<std::uint32_t>(r.getInteger("modifiers", 0, std::numeric_limits<std::uint32_t>::max()));
    h.displayName = r.getString("displayName");
    h.enabled = r.getBool("enabled");
    if (!r.valid()) return std::nullopt;
    return h;
}

std::optional<SoundConfig> decodeSound(const json& tree) {
    Reader r(tree);
    SoundConfig s;
    s.enabled = r.getBool("enabled");
    s.volume = r.getDouble("volume");
    s.systemSoundName = r.getString("systemSoundName");
    s.customFilePath = r.getString("customFilePath");
    s.desktopNotifications = r.getBool("desktopNotifications");
    if (!r.valid()) return std::nullopt;
    return s;
}

// Views travel as ChartView inside the program and as their numbers in the file; a number that
// names no chart is dropped, so a file from a newer version still loads.
std::optional<ChartView> storedView(std::optional<int> number) {
    return number ? ChartViews::fromStored(*number) : std::nullopt;
}

std::vector<ChartView> storedViews(const std::vector<int>& numbers) {
    std::vector<ChartView> views;
    for (const int number : numbers)
        if (const auto view = ChartViews::fromStored(number)) views.push_back(*view);
    return views;
}

std::vector<int> viewNumbers(const std::vector<ChartView>& views) {
    std::vector<int> numbers;
    for (const ChartView view : views) numbers.push_back(ChartViews::stored(view));
    return numbers;
}

json encodePriceAlert(const PriceAlert& a) {
    return json{{"id", a.id.string()},      {"code", a.code},       {"direction", rawValue(a.direction)},
                {"price", number(a.price)}, {"enabled", a.enabled}, {"note", a.note}};
}

} // namespace

const char* rawValue(ThemeMode mode) {
    switch (mode) {
    case ThemeMode::dark:
        return "dark";
    case ThemeMode::light:
        return "light";
    case ThemeMode::system:
        break;
    }
    return "system";
}

const char* rawValue(DockSide side) {
    return side == DockSide::left ? "left" : "right";
}

const char* rawValue(PriceAlertDirection direction) {
    return direction == PriceAlertDirection::below ? "below" : "above";
}

std::optional<ThemeMode> themeModeFromRaw(const std::string& raw) {
    if (raw == "system") return ThemeMode::system;
    if (raw == "dark") return ThemeMode::dark;
    if (raw == "light") return ThemeMode::light;
    return std::nullopt;
}

std::optional<DockSide> dockSideFromRaw(const std::string& raw) {
    if (raw == "left") return DockSide::left;
    if (raw == "right") return DockSide::right;
    return std::nullopt;
}

std::optional<PriceAlertDirection> priceAlertDirectionFromRaw(const std::string& raw) {
    if (raw == "below") return PriceAlertDirection::below;
    if (raw == "above") return PriceAlertDirection::above;
    return std::nullopt;
}

namespace ConfigJson {

json encode(const WatchItem& item) {
    json tree = json::object();
    for (const auto& [key, text] : item.otherKeys) {
        json value = json::parse(text, nullptr, false);
        if (!value.is_discarded() && !isWatchItemKey(key)) tree[key] = std::move(value);
    }
    tree["code"] = item.code;
    tree["name"] = item.name;
    tree["kind"] = rawValue(item.kind);
    if (item.shares) tree["shares"] = *item.shares;
    if (item.cost) tree["cost"] = number(*item.cost);
    return tree;
}

json encode(const HotKeySpec& hotkey) {
    return json{{"keyCode", hotkey.keyCode},
                {"modifiers", hotkey.modifiers},
                {"displayName", hotkey.displayName},
                {"enabled", hotkey.enabled}};
}

json encode(const AppConfig& c) {
    json root = json::object();
    root["width"] = number(c.width);
    root["height"] = number(c.height);
    root["opacity"] = number(c.opacity);
    if (c.originX) root["originX"] = number(*c.originX);
    if (c.originY) root["originY"] = number(*c.originY);
    root["alwaysOnTop"] = c.alwaysOnTop;
    root["hoverOpacitySlider"] = c.hoverOpacitySlider;
    root["themeMode"] = rawValue(c.themeMode);
    root["dockPinned"] = c.dockPinned;
    if (c.dockSide) root["dockSide"] = rawValue(*c.dockSide);
    root["watchlist"] = json::array();
    for (const auto& item : c.watchlist) root["watchlist"].push_back(encode(item));
    root["refreshSeconds"] = number(c.refreshSeconds);
    root["autoRotateSeconds"] = number(c.autoRotateSeconds);
    root["viewRotateSeconds"] = number(c.viewRotateSeconds);
    root["pauseRotateOnHover"] = c.pauseRotateOnHover;
    root["pinPaused"] = c.pinPaused;
    if (c.lockedViewType) root["lockedViewType"] = ChartViews::stored(*c.lockedViewType);
    root["enabledViews"] = viewNumbers(c.enabledViews);
    root["volumeViewAdded"] = c.volumeViewAdded;
    root["hiddenCodes"] = c.hiddenCodes;
    root["autoLaunch"] = c.autoLaunch;
    root["hotkey"] = encode(c.hotkey);
    const AlertConfig& a = c.alerts;
    json alerts = json::object();
    alerts["priceAlerts"] = json::array();
    for (const auto& alert : a.priceAlerts) alerts["priceAlerts"].push_back(encodePriceAlert(alert));
    alerts["fastRiseEnabled"] = a.fastRiseEnabled;
    alerts["fastRiseWindowMinutes"] = number(a.fastRiseWindowMinutes);
    alerts["fastRisePercent"] = number(a.fastRisePercent);
    alerts["fastDropEnabled"] = a.fastDropEnabled;
    alerts["fastDropWindowMinutes"] = number(a.fastDropWindowMinutes);
    alerts["fastDropPercent"] = number(a.fastDropPercent);
    alerts["scissorsEnabled"] = a.scissorsEnabled;
    alerts["scissorsThresholdYi"] = number(a.scissorsThresholdYi);
    alerts["mainFallingEnabled"] = a.mainFallingEnabled;
    alerts["mainFallingSamples"] = a.mainFallingSamples;
    alerts["maTouchEnabled"] = a.maTouchEnabled;
    alerts["maTouchPeriods"] = a.maTouchPeriods;
    alerts["maTouchTolerancePercent"] = number(a.maTouchTolerancePercent);
    alerts["cooldownMinutes"] = number(a.cooldownMinutes);
    root["alerts"] = std::move(alerts);
    root["sound"] = json{{"enabled", c.sound.enabled},
                         {"volume", number(c.sound.volume)},
                         {"systemSoundName", c.sound.systemSoundName},
                         {"customFilePath", c.sound.customFilePath},
                         {"desktopNotifications", c.sound.desktopNotifications}};
    root["didImportHoldings"] = c.didImportHoldings;
    root["privacyMode"] = c.privacyMode;
    root["privacyHotkey"] = encode(c.privacyHotkey);
    return root;
}

std::optional<WatchItem> decodeWatchItem(const json& tree, std::vector<DroppedValue>* dropped) {
    Reader r(tree);
    WatchItem item;
    item.code = r.getString("code");
    item.name = r.getString("name");
    item.kind = r.getEnum<InstrumentKind>("kind", instrumentKindFromRaw);
    if (!r.valid()) return std::nullopt;
    item.shares = holdingsValue<std::int64_t>(tree, "shares", sharesValue, item.code, dropped);
    item.cost = holdingsValue<double>(tree, "cost", costValue, item.code, dropped);
    for (auto it = tree.begin(); it != tree.end(); ++it) {
        if (!isWatchItemKey(it.key())) {
            item.otherKeys[it.key()] = it->dump(-1, ' ', false, json::error_handler_t::replace);
        }
    }
    return item;
}

std::optional<AppConfig> decode(const json& tree, std::vector<DroppedValue>* dropped) {
    Reader r(tree);
    if (!r.valid()) return std::nullopt;
    AppConfig c;
    c.width = r.getDouble("width");
    c.height = r.getDouble("height");
    c.opacity = r.getDouble("opacity");
    c.originX = r.getOptionalDouble("originX");
    c.originY = r.getOptionalDouble("originY");
    c.alwaysOnTop = r.getBool("alwaysOnTop");
    c.hoverOpacitySlider = r.getBool("hoverOpacitySlider");
    c.themeMode = r.getEnum<ThemeMode>("themeMode", themeModeFromRaw);
    c.dockPinned = r.getBool("dockPinned");
    if (tree.contains("dockSide") && !tree.at("dockSide").is_null()) {
        c.dockSide = r.getEnum<DockSide>("dockSide", dockSideFromRaw);
    }
    const json* list = r.field("watchlist");
    if (!list || !list->is_array()) return std::nullopt;
    std::vector<DroppedValue> droppedHere;
    for (const json& element : *list) {
        auto item = decodeWatchItem(element, &droppedHere);
        if (!item) return std::nullopt;
        c.watchlist.push_back(std::move(*item));
    }
    c.refreshSeconds = r.getDouble("refreshSeconds");
    c.autoRotateSeconds = r.getDouble("autoRotateSeconds");
    c.viewRotateSeconds = r.getDouble("viewRotateSeconds");
    c.pauseRotateOnHover = r.getBool("pauseRotateOnHover");
    c.pinPaused = r.getBool("pinPaused");
    c.lockedViewType = storedView(r.getOptionalInt("lockedViewType"));
    c.enabledViews = storedViews(r.getIntArray("enabledViews"));
    c.volumeViewAdded = r.getBool("volumeViewAdded");
    c.hiddenCodes = r.getStringArray("hiddenCodes");
    c.autoLaunch = r.getBool("autoLaunch");
    c.didImportHoldings = r.getBool("didImportHoldings");
    c.privacyMode = r.getBool("privacyMode");
    if (!r.valid()) return std::nullopt;

    const auto hotkey = tree.contains("hotkey") ? decodeHotKey(tree.at("hotkey")) : std::nullopt;
    const auto privacyHotkey = tree.contains("privacyHotkey") ? decodeHotKey(tree.at("privacyHotkey")) : std::nullopt;
    const auto alerts = tree.contains("alerts") ? decodeAlerts(tree.at("alerts")) : std::nullopt;
    const auto sound = tree.contains("sound") ? decodeSound(tree.at("sound")) : std::nullopt;
    if (!hotkey || !privacyHotkey || !alerts || !sound) return std::nullopt;
    c.hotkey = *hotkey;
    c.privacyHotkey = *privacyHotkey;
    c.alerts = *alerts;
    c.sound = *sound;
    // Only a configuration that is used reports what it left out.
    if (dropped) dropped->insert(dropped->end(), droppedHere.begin(), droppedHere.end());
    return c;
}

json merged(json defaults, const json& stored) {
    if (!defaults.is_object() || !stored.is_object()) return stored;
    for (auto it = stored.begin(); it != stored.end(); ++it) {
        auto target = defaults.find(it.key());
        if (target != defaults.end() && target->is_object() && it->is_object()) {
            *target = merged(std::move(*target), *it);
        } else {
            defaults[it.key()] = *it;
        }
    }
    return defaults;
}

} // namespace ConfigJson

} // namespace glimmer
