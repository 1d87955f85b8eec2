#include "diagnostics/RenderStage.h"

#include "card/Theme.h"
#include "diagnostics/SelfTest.h"
#include "diagnostics/SelfTestGui.h"
#include "diagnostics/SelfTestReport.h"
#include "market/MarketSource.h"
#include "market/SecID.h"
#include "model/ConfigStore.h"

#include <QWidget>

namespace glimmer {

MarketEntry RenderInput::fetchEntry(const WatchItem& item) {
    const MarketSource source = MarketSource::live(SelfTest::fetchContext());
    const std::string secid = SecID::secid(item.code);
    const Instant now = Clock::system().now();
    MarketEntry entry(item);
    std::optional<IntradaySnapshot> intraday = source.fetchIntraday(secid, item.code, item.name);
    if (intraday) {
        if (intraday->quote.price > 0) entry.quote = intraday->quote;
        entry.minutes = std::move(intraday->minutes);
        entry.minutesLoadedAt = now;
    }
    if (!entry.quote) {
        // The snapshot may still price a security whose minute series is missing.
        const auto quotes = source.fetchQuotesBatch({item});
        const auto found = quotes.find(item.code);
        if (found != quotes.end() && found->second.price > 0) entry.quote = found->second;
    }
    if (!entry.quote) return entry;
    entry.flow = source.fetchFlow(secid, SecID::tencentSymbol(item.code));
    entry.flowLoadedAt = now;
    entry.daily = source.fetchDaily(SecID::tencentSymbol(item.code), 320);
    entry.updatedAt = now;
    return entry;
}

std::optional<RenderInput> RenderInput::load() {
    RenderInput input;
    input.config = ConfigStore::load();
    if (input.config.watchlist.empty()) {
        SelfTestReport::line("股票池为空，无法渲染");
        return std::nullopt;
    }
    input.entry = fetchEntry(input.config.watchlist.front());
    if (!input.entry.quote) {
        SelfTestReport::line("行情为空，无法渲染");
        return std::nullopt;
    }
    return input;
}

RenderStage::RenderStage(QWidget* view, int width, int height) {
    SelfTestGui::application();
    host = new QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint);
    host->setAttribute(Qt::WA_DontShowOnScreen, false);
    host->setAutoFillBackground(true);
    host->setFixedSize(width, height);
    host->move(SelfTestGui::offscreenPosition, SelfTestGui::offscreenPosition);
    view->setParent(host);
    view->setGeometry(0, 0, width, height);
    if (const auto mode = SelfTest::forcedAppearance()) Theme::applyMode(host, *mode);
}

RenderStage::~RenderStage() {
    delete host;
}

void RenderStage::show() {
    host->show();
    host->move(SelfTestGui::offscreenPosition, SelfTestGui::offscreenPosition);
    SelfTestGui::settle(0.25);
}

} // namespace glimmer
