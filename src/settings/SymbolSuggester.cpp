#include "settings/SymbolSuggester.h"

#include "settings/WatchlistEditing.h"

#include <QMetaObject>
#include <QThreadPool>

#include <exception>

namespace glimmer {

namespace {

// Lookups of their own: a slow provider (up to 6 s) holding a few threads must neither wait behind
// nor hold up other work on the global pool.
QThreadPool& lookupPool() {
    static QThreadPool pool;
    [[maybe_unused]] static const bool configured = [] {
        pool.setMaxThreadCount(4);
        return true;
    }();
    return pool;
}

} // namespace

SymbolSuggester::SymbolSuggester(SearchFunction search, QObject* parent)
    : QObject(parent), channel(std::make_shared<Channel>()),
      search(std::make_shared<SearchFunction>(std::move(search))) {
    channel->target = this;
    debounce.setSingleShot(true);
    debounce.setTimerType(Qt::PreciseTimer); // a coarse timer may fire up to 5 % early
    debounce.setInterval(debounceMs);
    connect(&debounce, &QTimer::timeout, this, &SymbolSuggester::launch);
}

SymbolSuggester::~SymbolSuggester() {
    std::lock_guard guard(channel->lock);
    channel->target = nullptr;
    ++channel->latest;
}

void SymbolSuggester::cancel() {
    debounce.stop();
    ++channel->latest;
}

void SymbolSuggester::schedule(const QString& text) {
    cancel();
    pendingQuery = WatchlistEditing::trimmed(text.toStdString());
    if (pendingQuery.empty()) {
        if (onHits) onHits({});
        return;
    }
    debounce.start();
}

void SymbolSuggester::launch() {
    const std::uint64_t generation = channel->latest.load();
    auto shared = channel;
    auto lookup = search;
    lookupPool().start([shared, lookup, generation, query = pendingQuery] {
        // Superseded while waiting for a thread: skip the request altogether.
        if (shared->latest.load() != generation) return;
        std::vector<SymbolHit> hits;
        try {
            hits = (*lookup)(query);
        } catch (const std::exception&) {
            hits.clear(); // a failed lookup is just no suggestions
        }
        std::lock_guard guard(shared->lock);
        if (!shared->target || shared->latest.load() != generation) return;
        // Posted while the lock keeps the target alive; Qt drops it if the target dies first.
        SymbolSuggester* target = shared->target;
        QMetaObject::invokeMethod(
            target, [target, generation, hits = std::move(hits)] { target->deliver(generation, hits); },
            Qt::QueuedConnection);
    });
}

void SymbolSuggester::deliver(std::uint64_t generation, const std::vector<SymbolHit>& hits) {
    if (generation != channel->latest.load()) return;
    if (onHits) onHits(hits);
}

} // namespace glimmer
