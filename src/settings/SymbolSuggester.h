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
    using SearchFunction = std::function<std::vector<SymbolHit>(const std::string& query)>;

    static constexpr int debounceMs = 300;
    static constexpr int hitLimit = 8;

    explicit SymbolSuggester(QObject* parent = nullptr);
    ~SymbolSuggester() override;

    /// Replaces the lookup (blocking, called on a worker thread). The default asks `SymbolSearch`.
    void setSearchFunction(SearchFunction function);

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
