#include "card/FloatingPanel.h"
#include "card/StockCardView.h"
#include "card/Theme.h"
#include "card/ViewSequence.h"
#include "diagnostics/SelfTest.h"
#include "diagnostics/SelfTestGui.h"
#include "diagnostics/SelfTestReport.h"
#include "layouts/ExpandCoordinator.h"
#include "layouts/OverviewCardView.h"
#include "layouts/OverviewCoordinator.h"

#include <QWidget>

#include <cmath>
#include <cstdint>
#include <optional>

namespace glimmer::SelfTest {

namespace {

using SelfTestReport::format;

struct NamedScreen {
    const char* name;
    Rect visible;
};

bool near(double a, double b) {
    return std::fabs(a - b) < 0.01;
}

std::string origin(const Rect& frame) {
    return format("origin=(%.0f, %.0f)", frame.x, frame.y);
}

void expandChecks(CheckTally& tally, const NamedScreen& screen) {
    const AppConfig defaults;
    const double mainWidth = defaults.width + StockCardView::leftGutter;
    const double mainHeight = defaults.height + StockCardView::topStrip;
    const Rect& v = screen.visible;
    const std::string prefix = std::string(screen.name) + " ";
    const ExpandLayout::Plan plan = ExpandCoordinator::layout(mainWidth, mainHeight, defaults.width, v);

    bool mainFirst = plan.subs.size() == 4 && near(plan.main.maxX(), v.maxX() - ExpandLayout::margin) &&
                     near(plan.main.maxY(), v.maxY() - ExpandLayout::topInset);
    for (const Rect& sub : plan.subs) mainFirst = mainFirst && sub.maxY() < plan.main.minY();
    tally.check(mainFirst, prefix + "主卡为第一块", origin(plan.main));

    const double bodyLeft = plan.main.minX() + StockCardView::leftGutter;
    bool aligned = !plan.subs.empty();
    for (const Rect& sub : plan.subs)
        aligned = aligned && near(sub.minX(), bodyLeft) && near(sub.maxX(), plan.main.maxX());
    tally.check(aligned, prefix + "副图与主卡片体左对齐",
                format("minX=%.0f 片体=%.0f", plan.subs.empty() ? 0.0 : plan.subs.front().minX(), bodyLeft));

    bool stacked = !plan.subs.empty() && near(plan.subs.front().maxY(), plan.main.minY() - ExpandLayout::gap);
    for (std::size_t k = 1; k < plan.subs.size(); ++k) {
        stacked = stacked && near(plan.subs[k].maxY(), plan.subs[k - 1].minY() - ExpandLayout::gap);
    }
    const double bottom = plan.subs.empty() ? 0 : plan.subs.back().minY();
    tally.check(stacked && bottom >= v.minY(), prefix + "副图自上而下排列且不出屏幕底部", format("minY=%.0f", bottom));

    // A drag inside the screen moves the group by exactly the drag.
    const Point dragged{plan.main.x - 300, plan.main.y - 120};
    const Point kept = ExpandLayout::clampedOrigin(dragged, mainWidth, mainHeight, v);
    bool follows = kept == dragged;
    for (const Rect& sub : plan.subs) {
        const Point offset{sub.x - plan.main.x, sub.y - plan.main.y};
        const Point moved{kept.x + offset.x, kept.y + offset.y};
        follows = follows && near(moved.x - sub.x, -300) && near(moved.y - sub.y, -120);
    }
    tally.check(follows, prefix + "拖动整组平移、副图跟随主卡",
                format("offset=(%.0f, %.0f)", kept.x - plan.main.x, kept.y - plan.main.y));

    const Point toBottom = ExpandLayout::clampedOrigin({plan.main.x, v.minY() - 400}, mainWidth, mainHeight, v);
    tally.check(near(toBottom.y, v.minY()), prefix + "主卡拖到底部仍在屏幕内",
                format("origin=(%.0f, %.0f)", toBottom.x, toBottom.y));
    const Point toLeft = ExpandLayout::clampedOrigin({v.minX() - 250, plan.main.y}, mainWidth, mainHeight, v);
    const Point toRight = ExpandLayout::clampedOrigin({v.maxX() - 40, plan.main.y}, mainWidth, mainHeight, v);
    tally.check(near(toLeft.x, v.minX()) && near(toRight.x + mainWidth, v.maxX()), prefix + "主卡拖到边缘仍在屏幕内",
                format("minX=%.0f maxX=%.0f", toLeft.x, toRight.x + mainWidth));
}

void overviewChecks(CheckTally& tally, const NamedScreen& screen) {
    const AppConfig defaults;
    const double w = defaults.width;
    const double h = defaults.height;
    const Rect& v = screen.visible;
    const std::string prefix = std::string(screen.name) + " 全览";

    const OverviewLayout many = OverviewCoordinator::layout(13, w, h, v);
    const Rect& header = many.headerFrame;
    tally.check(near(header.maxY(), v.maxY() - OverviewLayout::topInset), prefix + "13只 顶卡在屏幕顶部",
                origin(header));
    tally.check(near(header.width, w + OverviewLayout::leftGutter) && near(header.height, h + OverviewLayout::topStrip),
                prefix + "13只 顶卡窗口比卡片多出透明条", format("size=%.0fx%.0f", header.width, header.height));
    const bool listStarts = !many.listFrames.empty() && near(many.listFrames.front().maxY(), header.minY() - 8);
    tally.check(listStarts, prefix + "13只 列表从顶卡下方 8pt 开始",
                format("gap=%.0f", listStarts ? header.minY() - many.listFrames.front().maxY() : -1.0));
    bool gaps = many.listFrames.size() == 12;
    for (std::size_t i = 1; i < many.listFrames.size(); ++i) {
        gaps = gaps && near(many.listFrames[i - 1].minY() - many.listFrames[i].maxY(), 8);
    }
    tally.check(gaps, prefix + "13只 卡片间距 8pt", format("count=%zu", many.listFrames.size()));
    bool centred = near(header.minX() + OverviewLayout::leftGutter, many.listFrames.front().minX());
    for (const Rect& frame : many.listFrames) centred = centred && std::fabs(frame.midX() - v.midX()) <= 0.5;
    tally.check(centred, prefix + "13只 卡片体居中，顶卡让出左侧滑条位",
                format("minX=%.0f 顶卡minX=%.0f", many.listFrames.front().minX(), header.minX()));
    tally.check(many.maxScroll > 0, prefix + "13只 内容超出一屏可滚动", format("maxScroll=%.0f", many.maxScroll));
    const Rect lastAtEnd = many.scrolledListFrame(many.listFrames.size() - 1, many.maxScroll);
    tally.check(near(lastAtEnd.minY(), v.minY() + OverviewLayout::bottomInset), prefix + "13只 滚到底时末卡落在列底",
                format("minY=%.0f", lastAtEnd.minY()));

    const OverviewLayout few = OverviewCoordinator::layout(3, w, h, v);
    const bool underHeader =
        few.listFrames.size() == 2 && near(few.listFrames.front().maxY(), few.headerFrame.minY() - 8);
    tally.check(underHeader && few.maxScroll == 0, prefix + "3只 不足一屏从顶卡下方开始、不居中、不滚动",
                format("maxScroll=%.0f", few.maxScroll));

    const OverviewLayout single = OverviewCoordinator::layout(1, w, h, v);
    tally.check(single.listFrames.empty() && single.maxScroll == 0, prefix + "1只 只显示顶卡",
                format("count=%zu", single.listFrames.size()));
}

std::string workspaceText(const FloatingPanel::WorkspaceState& state) {
    return format("sticky=%d desktop=%s", state.sticky ? 1 : 0,
                  state.desktop ? format("0x%X", *state.desktop).c_str() : "none");
}

/// Reads back from the real window where the window system keeps a panel among workspaces.
void workspaceChecks(CheckTally& tally) {
    constexpr uint32_t allDesktops = 0xFFFFFFFF;
    for (const bool onTop : {false, true}) {
        FloatingPanel panel(Rect{SelfTestGui::offscreenPosition, SelfTestGui::offscreenPosition, 376, 242});
        panel.setAllowsOffscreenFrame(true);
        panel.setAlwaysOnTop(onTop);
        panel.orderFront();
        SelfTestGui::settle(0.1);
        const std::optional<FloatingPanel::WorkspaceState> state = panel.workspaceState();
        panel.orderOut();
        if (!state) {
            SelfTestReport::line("  跳过  窗口工作区属性：当前窗口系统无从读取");
            return;
        }
        const bool everywhere = state->sticky && state->desktop == allDesktops;
        if (onTop) {
            tally.check(everywhere, "开启置顶：窗口在所有工作区", workspaceText(*state));
        } else {
            tally.check(!state->sticky && state->desktop != allDesktops, "关闭置顶：窗口只在当前工作区",
                        workspaceText(*state));
        }
    }
}

void windowAndThemeChecks(CheckTally& tally) {
    FloatingPanel panel(Rect{SelfTestGui::offscreenPosition, SelfTestGui::offscreenPosition, 376, 242});
    panel.setAllowsOffscreenFrame(true);
    panel.setAlwaysOnTop(false);
    const Qt::WindowFlags normal = panel.windowFlags();
    tally.check(!normal.testFlag(Qt::WindowStaysOnTopHint) && !panel.alwaysOnTop(),
                "关闭置顶：normal 层级且不进全屏辅助层", format("flags=0x%x", static_cast<unsigned>(normal.toInt())));
    panel.setAlwaysOnTop(true);
    const Qt::WindowFlags floating = panel.windowFlags();
    tally.check(floating.testFlag(Qt::WindowStaysOnTopHint) && panel.alwaysOnTop(),
                "开启置顶：floating 层级且跨全屏空间", format("flags=0x%x", static_cast<unsigned>(floating.toInt())));
    workspaceChecks(tally);

    tally.check(AppConfig{}.themeMode == ThemeMode::system, "主题默认跟随系统");
    QWidget window;
    Theme::applyMode(&window, ThemeMode::dark);
    const bool dark = Theme::isDark(&window);
    Theme::applyMode(&window, ThemeMode::light);
    const bool light = !Theme::isDark(&window);
    Theme::applyMode(&window, ThemeMode::system);
    const bool system = Theme::isDark(&window) == Theme::systemIsDark();
    tally.check(dark && light && system, "主题外观映射：system=nil / dark=darkAqua / light=aqua");
}

void steppingChecks(CheckTally& tally) {
    using enum ChartView;
    const std::vector<ChartView> views{ChartViews::order.begin(), ChartViews::order.end()};
    auto text = [](std::optional<ChartView> view) {
        return view ? std::to_string(ChartViews::stored(*view)) : std::string("nil");
    };
    auto step = ViewSequence::stepView(intraday, views, 1);
    tally.check(step == macd, "右键后移到下一视图", "0 → " + text(step));
    step = ViewSequence::stepView(macd, views, -1);
    tally.check(step == intraday, "左键回退到上一视图", "1 → " + text(step));
    step = ViewSequence::stepView(dailyCandles, views, 1);
    tally.check(step == intraday, "末尾右键回到第一个视图", "3 → " + text(step));
    step = ViewSequence::stepView(intraday, views, -1);
    tally.check(step == dailyCandles, "开头左键回到最后一个视图", "0 → " + text(step));
    step = ViewSequence::stepView(intraday, {}, 1);
    tally.check(!step, "空启用序列返回 nil", "→ " + text(step));
}

} // namespace

void testExpandLayout() {
    SelfTestGui::application();
    CheckTally tally;
    const NamedScreen screens[] = {{"14 寸 1512x950", {0, 0, 1512, 950}}, {"小屏 1280x800", {0, 0, 1280, 800}}};
    for (const NamedScreen& screen : screens) expandChecks(tally, screen);
    for (const NamedScreen& screen : screens) overviewChecks(tally, screen);
    windowAndThemeChecks(tally);
    steppingChecks(tally);
    tally.printVerdict("展开/全览布局自测：");
}

} // namespace glimmer::SelfTest
