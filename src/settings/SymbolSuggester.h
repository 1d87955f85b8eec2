#pragma once

#include "market/SymbolSearch.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace glimmer {

/// The suggestion lookup of the watch-list field. Each text change supersedes the previous one:
/// the lookup runs on a worker thread once the typing has paused, and only the newest lookup's
/// result is ever delivered, so a slow old reply cannot replace newer suggestions.
class SymbolSuggester : public QObject {
    Q_OBJECT

public:
    using SearchFunction = SymbolSearch::Lookup;

    static constexpr int debounceMs = 300;
    static constexpr int hitLimit = 8;

    /// `search` runs on a worker thread and is asked for at most `hitLimit` hits.
    explicit SymbolSuggester(SearchFunction search, QObject* parent = nullptr);
    ~SymbolSuggester() override;

    /// Called on every text change. Empty text clears the suggestions at once.
    void schedule(const QString& text);
    /// Drops the pending lookup and anything still running.
    void cancel();
    bool isPending() const { return debounce.isActive(); }

    /// The suggestions to show, on the UI thread.
    std::function<void(const std::vector<SymbolHit>&)> onHits;

private:
    // Shared with worker threads, which may outlive this object.
    struct Channel {
        std::mutex lock;
        SymbolSuggester* target = nullptr;
        std::atomic<std::uint64_t> latest{0};
    };

    void launch();
    void deliver(std::uint64_t generation, const std::vector<SymbolHit>& hits);

    QTimer debounce;
    std::string pendingQuery;
    std::shared_ptr<Channel> channel;
    std::shared_ptr<SearchFunction> search;
};

} // namespace glimmer
