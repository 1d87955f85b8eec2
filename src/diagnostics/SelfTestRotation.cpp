#include "card/StockCardView.h"
#include "diagnostics/SelfTest.h"
#include "diagnostics/SelfTestGui.h"
#include "diagnostics/SelfTestReport.h"

#include <optional>

namespace glimmer::SelfTest {

namespace {

std::string indexText(std::optional<int> value) {
    return value ? std::to_string(*value) : std::string("nil");
}

void expect(CheckTally& tally, const std::string& name, std::optional<int> expected, std::optional<int> actual) {
    if (expected == actual) {
        tally.pass("  PASS  " + name);
    } else {
        tally.fail("  FAIL  " + name + "  期望 " + indexText(expected) + " 实际 " + indexText(actual));
    }
}

/// What the presenter would see after `mode` with `views` enabled: the next view, or none when the
/// card has shown the last one and the next security is due.
std::optional<int> nextAfter(StockCardView& card, const std::vector<int>& views, int mode) {
    card.setEnabledViews(views);
    card.setMode(mode);
    return card.modeAfterCurrent();
}

} // namespace

void testRotation() {
    SelfTestGui::application();
    StockCardView card;
    card.resize(350, 216);
    CheckTally tally;

    const std::vector<int> some{0, 1, 3};
    expect(tally, "启用[0,1,3] 0 → 1", 1, nextAfter(card, some, 0));
    expect(tally, "启用[0,1,3] 1 → 3", 3, nextAfter(card, some, 1));
    expect(tally, "启用[0,1,3] 3 → nil（换下一只）", std::nullopt, nextAfter(card, some, 3));

    const std::vector<int> fourViews{0, 1, 2, 3};
    expect(tally, "全选 2 → 3", 3, nextAfter(card, fourViews, 2));
    expect(tally, "全选 3 → nil", std::nullopt, nextAfter(card, fourViews, 3));

    const std::vector<int> defaults = AppConfig{}.enabledViews;
    expect(tally, "默认全选 4(量能) → 3(日K)", 3, nextAfter(card, defaults, 4));
    expect(tally, "默认全选 3(日K) → nil", std::nullopt, nextAfter(card, defaults, 3));

    expect(tally, "只启用一个 → nil", std::nullopt, nextAfter(card, {2}, 2));

    card.setEnabledViews(some);
    card.setMode(3);
    expect(tally, "点白点循环 最后一 → 第一", 0, card.nextEnabledMode());

    card.setEnabledViews({});
    const std::vector<int>& stored = card.enabledViews();
    expect(tally, "空启用列表按 [0] 处理", 0, stored.size() == 1 ? std::optional<int>(stored.front()) : std::nullopt);

    tally.printCounted("轮播自测：");
}

} // namespace glimmer::SelfTest
