#include "app/StoreAccess.h"

#include "market/MarketStore.h"

namespace glimmer {

std::vector<MarketEntry> MarketStoreAccess::entries() const {
    return store.entries();
}

void MarketStoreAccess::setPriorityCode(std::optional<std::string> code) {
    store.setPriorityCode(std::move(code));
}

void MarketStoreAccess::refreshNow(const std::string& code) {
    store.refreshNow(code);
}

void MarketStoreAccess::requestRefresh() {
    store.requestRefresh();
}

void MarketStoreAccess::setShownCodes(const std::vector<std::string>& codes) {
    store.setShownCodes(codes);
}

} // namespace glimmer
