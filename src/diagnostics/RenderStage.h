#pragma once

#include "model/AppConfig.h"
#include "model/MarketEntry.h"

#include <optional>

class QWidget;

namespace glimmer {

/// What every render starts from: the configuration and the first security's data, fetched through
/// the same fetchers the store uses. Prints the reason and yields nothing when there is nothing to
/// draw.
struct RenderInput {
    AppConfig config;
    MarketEntry entry;

    static std::optional<RenderInput> load();
    /// One security's quote, minutes, fund flow and daily candles; without a quote when none came.
    static MarketEntry fetchEntry(const WatchItem& item);
};

/// A borderless, opaque top-level window far off screen that holds one view at a fixed size, with
/// the forced appearance applied to the window and the view.
class RenderStage {
public:
    RenderStage(QWidget* view, int width, int height);
    ~RenderStage();
    RenderStage(const RenderStage&) = delete;
    RenderStage& operator=(const RenderStage&) = delete;

    QWidget* window() const { return host; }
    /// Shows the window and lets it settle for the first capture.
    void show();

private:
    QWidget* host;
};

} // namespace glimmer
