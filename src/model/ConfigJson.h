#pragma once

#include "model/AppConfig.h"

#include <nlohmann/json.hpp>

#include <optional>
#include <string>
#include <vector>

namespace glimmer::ConfigJson {

/// A holdings value the decoder left out because it was unusable: the item's code and the key.
struct DroppedValue {
    std::string code;
    std::string key;

    bool operator==(const DroppedValue&) const = default;
};

/// The JSON tree of a configuration: absent optionals are left out, integral numbers are written
/// as integers, the UUID as its 36-character string.
nlohmann::json encode(const AppConfig& config);
nlohmann::json encode(const WatchItem& item);
nlohmann::json encode(const HotKeySpec& hotkey);

/// Strict decoding: a missing key, a value of the wrong type, a number out of range or an unknown
/// enumeration string fails the whole decode. Keys the decoder does not know are ignored, except
/// inside watch items, which keep them for the next save. The optional holdings of an item are
/// the one lenient part: an unusable `shares` or `cost` is left out and listed in `dropped`.
std::optional<AppConfig> decode(const nlohmann::json& tree, std::vector<DroppedValue>* dropped = nullptr);
std::optional<WatchItem> decodeWatchItem(const nlohmann::json& tree, std::vector<DroppedValue>* dropped = nullptr);

/// Deep merge: objects merge key by key recursively, anything else (arrays included) is replaced.
nlohmann::json merged(nlohmann::json defaults, const nlohmann::json& stored);

} // namespace glimmer::ConfigJson
