#pragma once

#include "app/AppContext.h"
#include "app/TaskScheduler.h"
#include "model/AlertEvent.h"

#include <optional>
#include <set>
#include <string>
#include <vector>

namespace glimmer {

class CardPresenter;

/// Brings an alerted security onto the card with its glow and banner, sounds the alert, blinks the
/// tray item and sends desktop notifications while the panel is hidden, and clears all of it 25 s
/// after the latest alert.
class AlertPresenter {
public:
    AlertPresenter(AppContext& context, CardPresenter& presenter);
    ~AlertPresenter();
    AlertPresenter(const AlertPresenter&) = delete;
    AlertPresenter& operator=(const AlertPresenter&) = delete;

    /// The events of one evaluation, in the engine's order.
    void handleAlerts(const std::vector<AlertEvent>& events);
    void scheduleAlertClear(double seconds);
    /// Moves the card to `code` unless the overview shows or the security is hidden from the card.
    void focusSecurity(const std::string& code);

    bool isPresenting() const { return alertClearWorkItem.has_value(); }

    static constexpr double presentationSeconds = 25;

private:
    void clearAlert();
    /// One notification per event while the panel is hidden or the screen locked; a security
    /// notified earlier in this presentation has its notification replaced.
    void notifyDesktop(const std::vector<AlertEvent>& events);

    AppContext& context;
    CardPresenter& presenter;
    std::optional<TaskScheduler::TaskId> alertClearWorkItem;
    std::set<std::string> notifiedCodes;
};

} // namespace glimmer
