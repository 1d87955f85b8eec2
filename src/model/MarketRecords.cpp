#include "model/MarketRecords.h"

namespace glimmer {

const char* rawValue(InstrumentKind kind) {
    return kind == InstrumentKind::etf ? "etf" : "stock";
}

std::optional<InstrumentKind> instrumentKindFromRaw(const std::string& raw) {
    if (raw == "stock") return InstrumentKind::stock;
    if (raw == "etf") return InstrumentKind::etf;
    return std::nullopt;
}

std::string displayName(const Quote* quote, const WatchItem& item) {
    if (quote && !quote->name.empty()) return quote->name;
    return item.name;
}

} // namespace glimmer
