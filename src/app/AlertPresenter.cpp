#include "app/AlertPresenter.h"

#include "app/CardPresenter.h"
#include "app/Rotation.h"
#include "app/SoundPlayer.h"
#include "app/StatusBarController.h"
#include "app/notify/AlertNotifier.h"
#include "card/StockCardView.h"

#include <algorithm>

namespace glimmer {

AlertPresenter::AlertPresenter(AppContext& context, CardPresenter& presenter) : context(context), presenter(presenter) {
}

AlertPresenter::~AlertPresenter() {
    if (alertClearWorkItem) context.scheduler.cancel(*alertClearWorkItem);
}

void AlertPresenter::handleAlerts(const std::vector<AlertEvent>& events) {
    if (events.empty()) return;
    const AlertEvent& first = events.front();
    context.info("预警触发 " + first.code + " " + rawValue(first.kind) + " " + first.message);

    presenter.alertCode = first.code;
    presenter.alertText =
        events.size() == 1 ? first.message : first.message + "（另 " + std::to_string(events.size() - 1) + " 条）";

    focusSecurity(first.code);
    const bool overview = context.overview.isActive();

    const std::vector<MarketEntry> entries = context.store.entries();
    bool active = false;
    if (!overview && !entries.empty()) {
        const int at = std::clamp(presenter.currentIndex(), 0, static_cast<int>(entries.size()) - 1);
        active = entries[at].item.code == first.code;
    }
    if (StockCardView* card = context.cardView) {
        card->setAlertActive(active);
        card->setAlertMessage(active ? presenter.alertText : std::nullopt);
    }

    context.sound.play();
    if (!presenter.isPanelVisible() && context.statusBar) {
        context.statusBar->startAlertBlink(first.name + " " + first.message);
    }
    notifyDesktop(events);
    scheduleAlertClear(presentationSeconds);
}

void AlertPresenter::focusSecurity(const std::string& code) {
    if (context.overview.isActive()) return;
    const std::vector<std::string>& hidden = context.config.hiddenCodes;
    if (std::find(hidden.begin(), hidden.end(), code) != hidden.end()) return;
    const std::vector<MarketEntry> entries = context.store.entries();
    for (int i = 0; i < static_cast<int>(entries.size()); ++i) {
        if (entries[i].item.code != code) continue;
        presenter.focusAlerted(i);
        return;
    }
}

void AlertPresenter::notifyDesktop(const std::vector<AlertEvent>& events) {
    AlertNotifier* notifier = context.notifier;
    if (notifier == nullptr || !context.config.sound.desktopNotifications) return;
    if (presenter.isPanelVisible() && !notifier->isScreenLocked()) return;
    for (const AlertEvent& event : events) {
        notifier->notify(event.code, event.name + " " + event.code, event.message, notifiedCodes.contains(event.code));
        notifiedCodes.insert(event.code);
    }
}

void AlertPresenter::scheduleAlertClear(double seconds) {
    if (alertClearWorkItem) context.scheduler.cancel(*alertClearWorkItem);
    alertClearWorkItem = context.scheduler.schedule(seconds, [this] {
        alertClearWorkItem.reset();
        clearAlert();
    });
}

void AlertPresenter::clearAlert() {
    notifiedCodes.clear();
    presenter.alertCode.reset();
    presenter.alertText.reset();
    if (StockCardView* card = context.cardView) {
        card->setAlertActive(false);
        card->setAlertMessage(std::nullopt);
    }
    if (context.statusBar) context.statusBar->stopAlertBlink();
    presenter.updateStatusText();
}

} // namespace glimmer
