// The first-start import of the companion portfolio tool's holdings (part of ConfigStore).
#include "model/ConfigStore.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>

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

} // namespace

std::vector<WatchItem> importHoldings(const std::filesystem::path& database) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(database, error)) return {};

    sqlite3* db = nullptr;
    if (sqlite3_open_v2(database.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return {};
    }
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT code, name, type FROM holdings ORDER BY id", -1, &statement, nullptr) !=
        SQLITE_OK) {
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
        items.push_back(std::move(item));
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    // A locked or damaged database ends the walk with an error: import nothing rather than half.
    if (rc != SQLITE_DONE) return {};
    return items;
}

} // namespace glimmer::ConfigStore
