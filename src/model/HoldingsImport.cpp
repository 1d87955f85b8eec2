// The first-start import of the companion portfolio tool's holdings (part of ConfigStore).
#include "model/ConfigStore.h"

#include "model/Holdings.h"

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <optional>
#include <string_view>

namespace glimmer::ConfigStore {

namespace {

std::string lowercasedAscii(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string columnText(sqlite3_stmt* statement, int column) {
    const auto* text = sqlite3_column_text(statement, column);
    const int length = sqlite3_column_bytes(statement, column);
    return text ? std::string(reinterpret_cast<const char*>(text), static_cast<std::size_t>(length)) : std::string{};
}

// Column names portfolio tools use, the likeliest first.
constexpr std::array<std::string_view, 4> sharesColumns{"shares", "quantity", "qty", "share_count"};
constexpr std::array<std::string_view, 5> costColumns{"avg_cost", "cost", "cost_price", "average_cost", "avg_price"};

template <std::size_t N>
std::optional<std::string> findColumn(const std::vector<std::string>& columns,
                                      const std::array<std::string_view, N>& candidates) {
    for (std::string_view wanted : candidates) {
        for (const std::string& column : columns) {
            if (lowercasedAscii(column) == wanted) return column;
        }
    }
    return std::nullopt;
}

std::vector<std::string> holdingsColumns(sqlite3* db) {
    std::vector<std::string> columns;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, "PRAGMA table_info(holdings)", -1, &statement, nullptr) == SQLITE_OK) {
        while (sqlite3_step(statement) == SQLITE_ROW) columns.push_back(columnText(statement, 1));
    }
    sqlite3_finalize(statement);
    return columns;
}

std::string quotedIdentifier(const std::string& name) {
    std::string quoted = "\"";
    for (char c : name) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

// A number stored as such, or as text that is a number and nothing else.
std::optional<double> columnNumber(sqlite3_stmt* statement, int column) {
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
        return sqlite3_column_double(statement, column);
    case SQLITE_TEXT: {
        const std::string text = columnText(statement, column);
        double value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
        return value;
    }
    default:
        return std::nullopt;
    }
}

} // namespace

std::vector<WatchItem> importHoldings(const std::filesystem::path& database) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(database, error)) return {};

    sqlite3* db = nullptr;
    if (sqlite3_open_v2(database.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return {};
    }
    // Share and cost columns are optional: a database without them imports the securities alone.
    const std::vector<std::string> columns = holdingsColumns(db);
    const std::optional<std::string> sharesColumn = findColumn(columns, sharesColumns);
    const std::optional<std::string> costColumn = findColumn(columns, costColumns);
    const std::string query = "SELECT code, name, type, " + (sharesColumn ? quotedIdentifier(*sharesColumn) : "NULL") +
                              ", " + (costColumn ? quotedIdentifier(*costColumn) : "NULL") +
                              " FROM holdings ORDER BY id";
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, query.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
        sqlite3_finalize(statement);
        sqlite3_close(db);
        return {};
    }

    std::vector<WatchItem> items;
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        if (sqlite3_column_type(statement, 0) == SQLITE_NULL || sqlite3_column_type(statement, 1) == SQLITE_NULL) {
            continue;
        }
        WatchItem item;
        item.code = columnText(statement, 0);
        item.name = columnText(statement, 1);
        const std::string type = sqlite3_column_type(statement, 2) == SQLITE_NULL
                                     ? std::string("stock")
                                     : lowercasedAscii(columnText(statement, 2));
        const bool etfCode = item.code.rfind("51", 0) == 0 || item.code.rfind("15", 0) == 0;
        item.kind = (type.find("etf") != std::string::npos || etfCode) ? InstrumentKind::etf : InstrumentKind::stock;
        if (const auto count = columnNumber(statement, 3)) item.shares = Holdings::sharesFrom(*count);
        if (const auto cost = columnNumber(statement, 4)) item.cost = Holdings::costFrom(*cost);
        items.push_back(std::move(item));
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    // A locked or damaged database ends the walk with an error: import nothing rather than half.
    if (rc != SQLITE_DONE) return {};
    return items;
}

} // namespace glimmer::ConfigStore
