#include "ui/AppTestSupport.h"

#include "ui/TestApplication.h"

#include <algorithm>

namespace glimmer::testing {

void ManualScheduler::advance(double seconds) {
    const double target = clock + seconds;
    for (;;) {
        const auto next = std::min_element(tasks.begin(), tasks.end(),
                                           [](const auto& a, const auto& b) { return a.second.due < b.second.due; });
        if (next == tasks.end() || next->second.due > target + 1e-9) break;
        clock = std::max(clock, next->second.due);
        const std::function<void()> run = next->second.run;
        if (next->second.interval > 0)
            next->second.due += next->second.interval;
        else
            tasks.erase(next);
        if (run) run();
    }
    clock = target;
}

bool RecordingSoundBackend::playFile(const std::string& path, double volume, FailureHandler onFailure) {
    if (!path.ends_with(".wav")) return false;
    log.push_back({path, volume, scheduler.now()});
    if (path.ends_with(".broken.wav")) failLater = std::move(onFailure);
    return true;
}

bool RecordingSoundBackend::playNamed(const std::string& name, double volume) {
    static const char* const known[] = {"Glass", "Ping", "Tink", "Sosumi", "Pop", "Funk", "Hero"};
    if (std::find(std::begin(known), std::end(known), name) == std::end(known)) return false;
    log.push_back({name, volume, scheduler.now()});
    return true;
}

MarketEntry quotedEntry(const std::string& code, const std::string& name, double price, double prevClose) {
    MarketEntry entry(WatchItem{code, name});
    entry.quote = Quote{.code = code, .name = name, .price = price, .prevClose = prevClose};
    entry.updatedAt = Instant{} + std::chrono::hours(24 * 365 * 50);
    return entry;
}

AppHarness::AppHarness(std::vector<ScreenGeometry> displays) : screens(std::move(displays)) {
    ensureApplication();
    context.saveConfig = [this] { ++saves; };
    context.log = [this](const std::string& level, const std::string& text) { logLines.push_back(level + " " + text); };
    statusBar = std::make_unique<StatusBarController>(scheduler);
    context.statusBar = statusBar.get();
    placement.moveAnimated = [](FloatingPanel& p, Point origin, double, std::function<void()> done) {
        p.setFrameOrigin(origin);
        if (done) done();
    };
}

AppHarness::~AppHarness() {
    context.cardView = nullptr;
    context.panel = nullptr;
}

void AppHarness::buildPanel(const Rect& frame, bool show) {
    panel = std::make_unique<FloatingPanel>(frame, screens);
    card = new StockCardView(nullptr, Clock::system(), screens);
    card->resize(static_cast<int>(frame.width), static_cast<int>(frame.height));
    panel->setContentView(card);
    context.panel = panel.get();
    context.cardView = card;
    presenter.configureCard();
    if (show) panel->orderFront();
}

int AppHarness::loggedCount(const std::string& prefix) const {
    return static_cast<int>(
        std::count_if(logLines.begin(), logLines.end(), [&](const std::string& l) { return l.rfind(prefix, 0) == 0; }));
}

} // namespace glimmer::testing
