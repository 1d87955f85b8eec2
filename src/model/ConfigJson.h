#pragma once

#include "model/AppConfig.h"

#include <nlohmann/json.hpp>

#include <optional>

namespace glimmer::ConfigJson {

/// The JSON tree of a configuration: absent optionals are left out, integral numbers are written
/// as integers, the UUID as its 36-character string.
nlohmann::json encode(const AppConfig& config);
nlohmann::json encode(const WatchItem& item);

/// Strict decoding: a missing key, a value of the wrong type, a number out of range or an unknown
/// enumeration string fails the whole decode. Keys the decoder does not know are ignored.
std::optional<AppConfig> decode(const nlohmann::json& tree);
std::optional<WatchItem> decodeWatchItem(const nlohmann::json& tree);

/// Deep merge: objects merge key by key recursively, anything else (arrays included) is replaced.
nlohmann::json merged(nlohmann::json defaults, const nlohmann::json& stored);

} // namespace glimmer::ConfigJson
