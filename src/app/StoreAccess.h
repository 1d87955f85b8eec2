#pragma once

#include "model/AppConfig.h"
#include "model/MarketEntry.h"

#include <optional>
#include <string>
#include <vector>

namespace glimmer {

class MarketStore;

/// What the presenter and placement ask of the market store; tests supply a fake.
class StoreAccess {
public:
    virtual ~StoreAccess() = default;
    /// One snapshot of the entries, in watch-list order.
    virtual std::vector<MarketEntry> entries() const = 0;
    virtual void setPriorityCode(std::optional<std::string> code) = 0;
    virtual void refreshNow(const std::string& code) = 0;
    virtual void requestRefresh() = 0;
    /// The securities on screen, whose full daily candles the store keeps.
    virtual void setShownCodes(const std::vector<std::string>& codes) = 0;
};

/// The market store seen through StoreAccess.
class MarketStoreAccess final : public StoreAccess {
public:
    explicit MarketStoreAccess(MarketStore& store) : store(store) {}
    std::vector<MarketEntry> entries() const override;
    void setPriorityCode(std::optional<std::string> code) override;
    void refreshNow(const std::string& code) override;
    void requestRefresh() override;
    void setShownCodes(const std::vector<std::string>& codes) override;

private:
    MarketStore& store;
};

} // namespace glimmer
