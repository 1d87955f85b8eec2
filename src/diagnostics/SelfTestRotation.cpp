#include "card/StockCardView.h"
#include "diagnostics/SelfTest.h"
#include "diagnostics/SelfTestGui.h"
#include "diagnostics/SelfTestReport.h"

#include <optional>

namespace glimmer::SelfTest {

namespace {

std::string viewText(std::optional<ChartView> view) {
    return view ? std::to_string(ChartViews::stored(*view)) : std::string("nil");
}

void expect(CheckTally& tally, const std::string& name, std::optional<ChartView> expected,
            std::optional<ChartView> actual) {
    if (expected == actual) {
        tally.pass("  PASS  " + name);
    } else {
        tally.fail("  FAIL  " + name + "  期望 " + viewText(expected) + " 实际 " + viewText(actual));
    }
}

/// What the presenter would see after `view` with `views` enabled: the next view, or none when the
/// card has shown the last one and the next security is due.
std::optional<ChartView> nextAfter(StockCardView& card, const std::vector<ChartView>& views, ChartView view) {
    card.setEnabledViews(views);
    card.setView(view);
    return card.viewAfterCurrent();
}

} // namespace

void testRotation() {
    SelfTestGui::application();
    StockCardView card;
    card.resize(350, 216);
    CheckTally tally;

    using enum ChartView;
    const std::vector<ChartView> some{intraday, macd, dailyCandles};
    expect(tally, "启用[0,1,3] 0 → 1", macd, nextAfter(card, some, intraday));
    expect(tally, "启用[0,1,3] 1 → 3", dailyCandles, nextAfter(card, some, macd));
    expect(tally, "启用[0,1,3] 3 → nil（换下一只）", std::nullopt, nextAfter(card, some, dailyCandles));

    const std::vector<ChartView> fourViews{intraday, macd, fundFlow, dailyCandles};
    expect(tally, "全选 2 → 3", dailyCandles, nextAfter(card, fourViews, fundFlow));
    expect(tally, "全选 3 → nil", std::nullopt, nextAfter(card, fourViews, dailyCandles));

    const std::vector<ChartView> defaults = AppConfig{}.enabledViews;
    expect(tally, "默认全选 4(量能) → 3(日K)", dailyCandles, nextAfter(card, defaults, volume));
    expect(tally, "默认全选 3(日K) → nil", std::nullopt, nextAfter(card, defaults, dailyCandles));

    expect(tally, "只启用一个 → nil", std::nullopt, nextAfter(card, {fundFlow}, fundFlow));

    card.setEnabledViews(some);
    card.setView(dailyCandles);
    expect(tally, "点白点循环 最后一 → 第一", intraday, card.nextView());

    card.setEnabledViews({});
    const std::vector<ChartView>& stored = card.enabledViews();
    expect(tally, "空启用列表按 [0] 处理", intraday,
           stored.size() == 1 ? std::optional<ChartView>(stored.front()) : std::nullopt);

    tally.printCounted("轮播自测：");
}

} // namespace glimmer::SelfTest
