#include "diagnostics/RenderStage.h"
#include "diagnostics/SelfTest.h"
#include "diagnostics/SelfTestGui.h"
#include "diagnostics/SelfTestReport.h"
#include "layouts/ExpandLayout.h"
#include "layouts/OverviewCardView.h"
#include "layouts/OverviewLayout.h"
#include "layouts/SubChartView.h"

#include <QColor>
#include <QPalette>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace glimmer::SelfTest {

namespace {

int whole(double points) {
    return static_cast<int>(std::lround(points));
}

OverviewCardView* overviewCard(OverviewCardView::Style style, const MarketEntry& entry, ChartView view, int index,
                               int total, double opacity) {
    auto* card = new OverviewCardView(style);
    card->setEntry(entry);
    card->setView(view);
    card->setPosition(index, total);
    card->setOverviewActive(style == OverviewCardView::Style::header);
    card->prepareForPreview(opacity);
    return card;
}

/// The first four watched securities with their data; the list repeats when it is shorter.
std::vector<MarketEntry> screenEntries(const RenderInput& input) {
    std::vector<MarketEntry> entries{input.entry};
    const std::vector<WatchItem>& items = input.config.watchlist;
    for (std::size_t i = 1; i < items.size() && entries.size() < 4; ++i) {
        MarketEntry entry = RenderInput::fetchEntry(items[i]);
        if (entry.quote) entries.push_back(std::move(entry));
    }
    for (std::size_t i = 0; entries.size() < 4; ++i) entries.push_back(entries[i]);
    return entries;
}

void renderScreen(const RenderInput& input, double cardWidth, double cardHeight) {
    const std::vector<MarketEntry> entries = screenEntries(input);
    const int count = static_cast<int>(entries.size());
    const double screenHeight = 975;
    const double screenWidth = cardWidth + OverviewLayout::leftGutter + 2 * 40;
    const Rect screen{0, 0, screenWidth, screenHeight};
    const OverviewLayout plan = OverviewLayout::make(count, cardWidth, cardHeight, screen);

    // A flipped stage: y grows downwards, so screen frames (y up) are turned over.
    auto* stage = new QWidget;
    stage->setAutoFillBackground(true);
    QPalette palette = stage->palette();
    palette.setColor(QPalette::Window, QColor::fromRgbF(0.16f, 0.17f, 0.19f));
    stage->setPalette(palette);
    RenderStage host(stage, whole(screenWidth), whole(screenHeight));
    auto place = [&](QWidget* card, const Rect& frame) {
        card->setParent(stage);
        card->setGeometry(whole(frame.x), whole(screenHeight - frame.maxY()), whole(frame.width), whole(frame.height));
    };
    const double opacity = input.config.opacity;
    place(overviewCard(OverviewCardView::Style::header, entries[0], ChartView::intraday, 0, count, opacity),
          plan.headerFrame);
    for (std::size_t i = 0; i < plan.listFrames.size(); ++i) {
        const int index = static_cast<int>(i) + 1;
        place(overviewCard(OverviewCardView::Style::plain, entries[i + 1], ChartView::intraday, index, count, opacity),
              plan.listFrames[i]);
    }
    host.show();
    SelfTestGui::settle(0.2);
    SelfTestGui::writePNG(stage, "overview-screen.png");
}

} // namespace

void renderOverview() {
    SelfTestGui::application();
    const std::optional<RenderInput> input = RenderInput::load();
    if (!input) return;
    const double w = std::max(input->config.width, 240.0);
    const double h = std::max(input->config.height, 120.0);
    const int total = static_cast<int>(input->config.watchlist.size());
    const double opacity = input->config.opacity;

    for (const ChartView view : ChartViews::byNumber) {
        OverviewCardView* card = overviewCard(OverviewCardView::Style::plain, input->entry, view, 0, total, opacity);
        RenderStage stage(card, whole(w), whole(h));
        stage.show();
        card->prepareForPreview(opacity);
        SelfTestGui::settle(0.2);
        SelfTestGui::writePNG(card, "overview-view" + std::to_string(ChartViews::stored(view)) + ".png");
    }
    {
        OverviewCardView* card =
            overviewCard(OverviewCardView::Style::header, input->entry, ChartView::intraday, 0, total, opacity);
        RenderStage stage(card, whole(w + OverviewCardView::leftGutter), whole(h + OverviewCardView::topStrip));
        stage.show();
        card->prepareForPreview(opacity);
        SelfTestGui::settle(0.2);
        SelfTestGui::writePNG(card, "overview-header.png");
    }
    renderScreen(*input, w, h);
    SelfTestReport::line("全览预览渲染完成");
}

void renderExpand() {
    SelfTestGui::application();
    const std::optional<RenderInput> input = RenderInput::load();
    if (!input) return;
    const double width = std::max(input->config.width, 320.0);
    for (std::size_t k = 0; k < ExpandLayout::subViews.size(); ++k) {
        const ChartView view = ExpandLayout::subViews[k];
        auto* panel = new SubChartView(view);
        RenderStage stage(panel, whole(width), whole(ExpandLayout::heights[k]));
        panel->setEntry(input->entry);
        panel->push();
        stage.show();
        SelfTestGui::settle(0.2);
        SelfTestGui::writePNG(panel, "sub" + std::to_string(ChartViews::stored(view)) + ".png");
    }
    SelfTestReport::line("副图预览渲染完成");
}

} // namespace glimmer::SelfTest
