#include "model/ConfigJson.h"

#include <gtest/gtest.h>

namespace glimmer {
namespace {

using nlohmann::json;

TEST(ConfigJson, MergeRecursesIntoObjectsAWatchItemNeedsAllThreeKeysAndItsHoldingsAreOptionalAndUnusableOnesListed) {
    const json defaults = {{"a", 1}, {"list", {1, 2, 3}}, {"nested", {{"x", 1}, {"y", {{"z", 2}, {"w", 3}}}}}};
    const json stored = {{"list", {9}}, {"nested", {{"y", {{"z", 5}}}}}, {"extra", "kept"}};
    EXPECT_EQ(ConfigJson::merged(defaults, stored),
              json({{"a", 1}, {"list", {9}}, {"nested", {{"x", 1}, {"y", {{"z", 5}, {"w", 3}}}}}, {"extra", "kept"}}));

    // A stored scalar where the default is an object replaces it (and later fails the decode).
    EXPECT_EQ(ConfigJson::merged(defaults, json{{"nested", 4}})["nested"], 4);
    EXPECT_TRUE(ConfigJson::decodeWatchItem(json{{"code", "510300"}, {"name", "沪深300ETF"}, {"kind", "etf"}}));
    for (const json& bad : {json{{"code", "510300"}, {"name", "沪深300ETF"}}, json::array(),
                            json{{"code", "510300"}, {"name", "x"}, {"kind", "ETF"}},
                            json{{"code", 510300}, {"name", "x"}, {"kind", "etf"}}}) {
        EXPECT_FALSE(ConfigJson::decodeWatchItem(bad)) << bad;
    }

    const json base{{"code", "510300"}, {"name", "沪深300ETF"}, {"kind", "etf"}};
    std::vector<ConfigJson::DroppedValue> dropped;
    const auto plain = ConfigJson::decodeWatchItem(base, &dropped);
    ASSERT_TRUE(plain);
    EXPECT_FALSE(plain->shares || plain->cost);

    json full = base;
    full["shares"] = 12300.0;
    full["cost"] = 3.9125;
    full["shares_note"] = "a key of a newer version";
    const auto held = ConfigJson::decodeWatchItem(full, &dropped);
    ASSERT_TRUE(held);
    EXPECT_EQ(held->shares, 12300);
    EXPECT_EQ(held->cost, 3.9125);
    EXPECT_TRUE(dropped.empty());
    const json encoded = ConfigJson::encode(*held);
    EXPECT_EQ(encoded, full) << "the other key is kept";
    EXPECT_TRUE(encoded["shares"].is_number_integer());

    const std::pair<const char*, json> unusable[] = {
        {"shares", -100}, {"shares", 10.5}, {"shares", "100"}, {"shares", 2e12}, {"shares", json::array()},
        {"cost", 0},      {"cost", -3.5},   {"cost", "3.5"},   {"cost", true},
    };
    for (const auto& [key, value] : unusable) {
        json tree = base;
        tree[key] = value;
        dropped.clear();
        const auto item = ConfigJson::decodeWatchItem(tree, &dropped);
        ASSERT_TRUE(item) << key << " " << value << ": the item stays";
        EXPECT_FALSE(item->shares || item->cost) << key << " " << value;
        EXPECT_EQ(dropped, (std::vector<ConfigJson::DroppedValue>{{"510300", key}})) << key << " " << value;
        EXPECT_FALSE(ConfigJson::encode(*item).contains(key)) << "a dropped value is not written back";
    }
}

TEST(ConfigJson, EncodedDefaultsDecodeToTheDefaultsAndEveryKeyIsRequired) {
    const json full = ConfigJson::encode(AppConfig{});
    EXPECT_EQ(ConfigJson::decode(full), AppConfig{});
    EXPECT_FALSE(full.contains("dockSide") || full.contains("lockedViewType"));
    for (const auto& [key, value] : full.items()) {
        json without = full;
        without.erase(key);
        EXPECT_FALSE(ConfigJson::decode(without)) << key;
    }
    for (const char* section : {"hotkey", "privacyHotkey", "alerts", "sound"}) {
        for (const auto& [key, value] : full[section].items()) {
            json without = full;
            without[section].erase(key);
            EXPECT_FALSE(ConfigJson::decode(without)) << section << "." << key;
        }
    }
    json tree = full;
    tree["alerts"]["mainFallingSamples"] = 1e12;
    EXPECT_FALSE(ConfigJson::decode(tree));
    tree = full;
    tree["width"] = std::numeric_limits<double>::infinity();
    EXPECT_FALSE(ConfigJson::decode(tree));
}

} // namespace
} // namespace glimmer
