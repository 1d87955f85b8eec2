#include "FuzzSupport.h"
#include "market/QQIntraday.h"

void glimmer::fuzz::check(std::string_view text) {
    ReplyJson json;
    (void)json.parse(text);
    for (const std::string& symbol : fuzz::dataSymbols(json)) {
        const std::string code = symbol.size() > 2 ? symbol.substr(2) : symbol;
        const auto snapshot = QQIntraday::parse(json, symbol, code, "自选名", fuzz::stamp);
        if (!snapshot) continue;
        fuzz::expect(!snapshot->minutes.empty(), "a snapshot holds at least one minute");
        fuzz::checkQuote(snapshot->quote);
        for (const auto& minute : snapshot->minutes) fuzz::checkMinute(minute);
    }
}
