#include "card/DockGeometry.h"
#include "card/FloatingPanel.h"
#include "card/ScreenSpace.h"
#include "card/StockCardView.h"
#include "diagnostics/SelfTest.h"
#include "diagnostics/SelfTestGui.h"
#include "diagnostics/SelfTestReport.h"
#include "diagnostics/SelfTestWindows.h"
#include "layouts/ExpandCoordinator.h"
#include "layouts/SubChartView.h"

#include <cmath>

namespace glimmer::SelfTest {

namespace {

using SelfTestReport::format;
using SelfTestWindows::originText;
using SelfTestWindows::waitUntil;

bool near(double a, double b) {
    return std::fabs(a - b) < 0.51;
}

/// Every sub panel sits at the main panel's origin plus its planned offset.
bool keepsOffsets(const FloatingPanel& main, const std::vector<Rect>& subs, const std::vector<Point>& offsets) {
    if (subs.size() != offsets.size() || subs.empty()) return false;
    const Rect frame = main.frame();
    for (std::size_t k = 0; k < subs.size(); ++k) {
        if (!near(subs[k].x - frame.x, offsets[k].x) || !near(subs[k].y - frame.y, offsets[k].y)) return false;
    }
    return true;
}

} // namespace

void testExpandFollowWithWindows() {
    SelfTestGui::application();
    CheckTally tally;
    const AppConfig defaults;
    const double mainWidth = defaults.width + StockCardView::leftGutter;
    const double mainHeight = defaults.height + StockCardView::topStrip;
    const Rect screen = SelfTestWindows::mainVisibleFrame();
    const Rect start{screen.maxX() - mainWidth - 20, screen.minY() + 20, mainWidth, mainHeight};
    const MarketEntry entry = SelfTestWindows::sampleEntries(1).front();

    FloatingPanel main(start);
    auto* card = new StockCardView;
    main.setContentView(card);
    card->setEntry(entry);
    card->setExpandMode(true);
    main.orderFront();
    SelfTestGui::settle(0.25);

    ExpandCoordinator expand;
    // The application's panel-moved handler in expand mode.
    main.onMove = [&expand, &main] { expand.follow(main); };
    const Rect visible = DockGeometry::visibleFrame(main.frame(), currentScreens());
    const ExpandLayout::Plan plan = ExpandCoordinator::layout(mainWidth, mainHeight, defaults.width, visible);
    std::vector<Point> planned;
    for (const Rect& sub : plan.subs) planned.push_back({sub.x - plan.main.x, sub.y - plan.main.y});

    bool expanded = false;
    expand.expand(main, mainWidth, mainHeight, defaults.width, 1.0, true, entry, [&expanded] { expanded = true; });
    waitUntil([&expanded] { return expanded; }, 3);
    SelfTestGui::settle(0.2);
    const Rect placed = main.frame();
    bool inPlace = expanded && expand.panels().size() == 4 && near(placed.x, plan.main.x) && near(placed.y, plan.main.y);
    const std::vector<Rect> subs = expand.subPanelFrames();
    for (std::size_t k = 0; inPlace && k < subs.size(); ++k) {
        inPlace = near(subs[k].x, plan.subs[k].x) && near(subs[k].y, plan.subs[k].y) &&
                  near(subs[k].height, plan.subs[k].height);
    }
    tally.check(inPlace, "展开完成：主卡到右上角，四块副图落位",
                originText(placed) + format(" count=%zu", expand.panels().size()));

    // A drag inside the screen: every panel moves by the same offset.
    const Point dragged{placed.x - 200, placed.y - 150};
    main.setFrameOrigin(dragged);
    waitUntil([&] { return keepsOffsets(main, expand.subPanelFrames(), planned); }, 2);
    const Rect afterDrag = main.frame();
    bool together = near(afterDrag.x, dragged.x) && near(afterDrag.y, dragged.y);
    const std::vector<Rect> movedSubs = expand.subPanelFrames();
    for (std::size_t k = 0; together && k < movedSubs.size() && k < subs.size(); ++k) {
        together = near(movedSubs[k].x - subs[k].x, -200) && near(movedSubs[k].y - subs[k].y, -150);
    }
    tally.check(together && movedSubs.size() == 4, "拖动主卡：主卡与四块副图同偏移",
                format("offset=(%.0f, %.0f)", afterDrag.x - placed.x, afterDrag.y - placed.y));

    // Past the left edge: the main card is held at the edge and the column keeps its offsets.
    main.setFrameOrigin({visible.minX() - 300, afterDrag.y});
    waitUntil([&] { return near(main.frame().x, visible.minX()) && keepsOffsets(main, expand.subPanelFrames(), planned); },
              2);
    const Rect clamped = main.frame();
    tally.check(near(clamped.x, visible.minX()) && keepsOffsets(main, expand.subPanelFrames(), planned),
                "拖出左边缘：主卡夹在屏幕内，副图保持相对位置", format("minX=%.0f", clamped.x));

    bool collapsed = false;
    expand.collapse(main, start, [&collapsed] { collapsed = true; });
    waitUntil([&collapsed] { return collapsed; }, 3);
    SelfTestGui::settle(0.2);
    tally.check(collapsed && expand.panels().empty() && SelfTestWindows::visiblePanelCount() == 1,
                "收起后四块副图全部关闭", format("count=%d", SelfTestWindows::visiblePanelCount()));

    main.orderOut();
    tally.printVerdict("真窗口跟随自测：");
}

} // namespace glimmer::SelfTest
