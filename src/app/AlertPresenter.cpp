#include "app/AlertPresenter.h"

#include "app/CardPresenter.h"
#include "app/Rotation.h"
#include "app/SoundPlayer.h"
#include "app/StatusBarController.h"
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

    const bool overview = context.overview.isActive();
    const std::vector<std::string>& hidden = context.config.hiddenCodes;
    const bool isHidden = std::find(hidden.begin(), hidden.end(), first.code) != hidden.end();
    if (!overview && !isHidden) {
        const std::vector<MarketEntry> entries = context.store.entries();
        for (int i = 0; i < static_cast<int>(entries.size()); ++i) {
            if (entries[i].item.code != first.code) continue;
            presenter.focusAlerted(i);
            break;
        }
    }

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
    scheduleAlertClear(presentationSeconds);
}

void AlertPresenter::scheduleAlertClear(double seconds) {
    if (alertClearWorkItem) context.scheduler.cancel(*alertClearWorkItem);
    alertClearWorkItem = context.scheduler.schedule(seconds, [this] {
        alertClearWorkItem.reset();
        clearAlert();
    });
}

void AlertPresenter::clearAlert() {
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
