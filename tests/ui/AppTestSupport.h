#pragma once

#include "app/AlertPresenter.h"
#include "app/AppContext.h"
#include "app/CardPresenter.h"
#include "app/PanelPlacement.h"
#include "app/SoundBackend.h"
#include "app/SoundPlayer.h"
#include "app/StatusBarController.h"
#include "app/StoreAccess.h"
#include "app/TaskScheduler.h"
#include "app/notify/AlertNotifier.h"
#include "card/FloatingPanel.h"
#include "card/StockCardView.h"
#include "ui/FakeScreenSource.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace glimmer::testing {

/// Delayed and repeating tasks on a clock the test advances.
class ManualScheduler final : public TaskScheduler {
public:
    TaskId schedule(double delaySeconds, std::function<void()> task) override {
        return scheduleRepeating(-delaySeconds, std::move(task));
    }
    /// A negative interval stands for a task that runs once, after its opposite.
    TaskId scheduleRepeating(double intervalSeconds, std::function<void()> task) override {
        tasks[nextId] = {clock + std::abs(intervalSeconds), intervalSeconds, std::move(task)};
        return nextId++;
    }
    void cancel(TaskId id) override { tasks.erase(id); }
    double now() const override { return clock; }

    void advance(double seconds);

private:
    struct Task {
        double due, interval;
        std::function<void()> run;
    };
    std::map<TaskId, Task> tasks;
    TaskId nextId = 1;
    double clock = 0;
};

class FakeStore final : public StoreAccess {
public:
    std::vector<MarketEntry> list;
    std::vector<std::optional<std::string>> priorityCodes;
    std::vector<std::string> refreshedNow;
    std::vector<std::vector<std::string>> shownCodes;

    std::vector<MarketEntry> entries() const override { return list; }
    void setPriorityCode(std::optional<std::string> code) override { priorityCodes.push_back(std::move(code)); }
    void refreshNow(const std::string& code) override { refreshedNow.push_back(code); }
    void requestRefresh() override {}
    void setShownCodes(const std::vector<std::string>& codes) override { shownCodes.push_back(codes); }
};

class RecordingSoundBackend final : public SoundBackend {
public:
    struct Played {
        std::string what;
        double volume, at;
    };
    explicit RecordingSoundBackend(const TaskScheduler& scheduler, std::vector<Played>& log)
        : scheduler(scheduler), log(log) {}
    /// Files ending in ".wav" play; those named "*.broken.wav" are rejected later, by `failLater`.
    bool playFile(const std::string& path, double volume, FailureHandler onFailure) override;
    bool playNamed(const std::string& name, double volume) override;

    /// The late decoder failure of the last broken file, empty once reported.
    FailureHandler failLater;

private:
    const TaskScheduler& scheduler;
    std::vector<Played>& log;
};

/// Every notification asked for ("code|title|body", "|replaces" when it replaces), and a screen
/// lock the test switches.
class RecordingNotifier final : public AlertNotifier {
public:
    void notify(const std::string& code, const std::string& title, const std::string& body, bool replace) override {
        sent.push_back(code + "|" + title + "|" + body + (replace ? "|replaces" : ""));
    }
    bool isScreenLocked() const override { return locked; }

    std::vector<std::string> sent;
    bool locked = false;
};

class FakeOverview final : public OverviewCoordinator {
public:
    using OverviewCoordinator::OverviewCoordinator;
    bool active = false, visible = true;
    std::vector<ChartView> views;
    std::vector<std::size_t> updates; // sizes of the lists handed over
    bool isActive() const override { return active; }
    bool isVisible() const override { return active && visible; }
    bool isHoveringAnyCard() const override { return false; }
    void setVisible(bool on) override { visible = on; }
    bool isHiddenByOwner() const override { return active && !visible; }
    void update(const std::vector<MarketEntry>& entries) override { updates.push_back(entries.size()); }
    void setView(ChartView view) override { views.push_back(view); }
};

class FakeExpander final : public ExpandCoordinator {
public:
    using ExpandCoordinator::ExpandCoordinator;
    bool expanded = false;
    int follows = 0;
    bool isExpanded() const override { return expanded; }
    bool isAnimating() const override { return false; }
    std::optional<Point> follow(FloatingPanel&) override {
        ++follows;
        return std::nullopt;
    }
    void update(const std::optional<MarketEntry>&) override {}
};

MarketEntry quotedEntry(const std::string& code, const std::string& name, double price, double prevClose);

/// The presenter, alert presentation and placement over fakes, with a real panel and card on the
/// given displays (Qt global coordinates). Saves and log lines are recorded.
class AppHarness {
public:
    explicit AppHarness(std::vector<ScreenGeometry> displays = {{QRect(0, 0, 1440, 900), QRect(0, 0, 1440, 900)}});
    ~AppHarness();

    /// Builds the panel at `frame` with the card in it, hands the card its settings and shows it.
    void buildPanel(const Rect& frame, bool show = true);
    bool logged(const std::string& line) const { return std::count(logLines.begin(), logLines.end(), line) > 0; }
    int loggedCount(const std::string& prefix) const;

    AppConfig config;
    FakeStore store;
    ManualScheduler scheduler;
    FakeScreenSource screens;
    FakeExpander expander{screens};
    FakeOverview overview{screens};
    std::vector<RecordingSoundBackend::Played> sounds;
    SoundPlayer sound{std::make_unique<RecordingSoundBackend>(scheduler, sounds), scheduler};
    AppContext context{config, store, scheduler, screens, expander, overview, sound};
    std::unique_ptr<StatusBarController> statusBar;
    CardPresenter presenter{context};
    AlertPresenter alerts{context, presenter};
    PanelPlacement placement{context, presenter};
    std::unique_ptr<FloatingPanel> panel;
    StockCardView* card = nullptr;

    int saves = 0;
    std::vector<std::string> logLines;
};

} // namespace glimmer::testing
