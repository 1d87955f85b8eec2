#include "card/CardLayout.h"
#include "card/HoldingStrip.h"

#include <gtest/gtest.h>

namespace glimmer {
namespace {

using enum ChartView;

// The default panel: a 350 x 216 card plus the 26-point gutter and strip.
const CardLayout layout(QSizeF(376, 242));

TEST(CardLayout, PlacesCardControlsAndChartsAroundTheMarginsAndTinyViewsKeepPositiveSizes) {
    EXPECT_EQ(layout.card, QRectF(26, 26, 350, 216));
    EXPECT_EQ(layout.closeButton, QRectF(201 - 9, 2, 18, 18));
    EXPECT_EQ(layout.expandButton, QRectF(201 - 33, 2, 18, 18));
    EXPECT_EQ(layout.overviewButton, QRectF(201 - 57, 2, 18, 18));
    EXPECT_EQ(layout.slider, QRectF(9, 34, 14, 200));
    EXPECT_EQ(layout.charts, QRectF(33, 75, 336, 149));
    EXPECT_EQ(layout.pin, QRectF(35, 34, 17, 17));
    const CardLayout tiny(QSizeF(20, 10));
    EXPECT_EQ(tiny.card.size(), QSizeF(1, 1));
    EXPECT_EQ(tiny.charts.size(), QSizeF(10, 10));
    EXPECT_EQ(tiny.slider.height(), 30);
}

TEST(CardLayout, DotsAreCentredAndAnswerOnLargerSquares) {
    const std::vector<ChartView> views{intraday, macd, fundFlow, volume, dailyCandles};
    // (14 x 4 + 4) / 2 = 30 left of the card's middle at 201.
    EXPECT_DOUBLE_EQ(layout.firstDotX(5), 171);
    EXPECT_EQ(layout.dot(3, 5), QRectF(171 + 42, 231, 4, 4));
    EXPECT_EQ(layout.dotView({173, 233}, views), intraday);
    EXPECT_EQ(layout.dotView({171 + 42 - 5, 226}, views), volume); // corner of the fourth square
    EXPECT_EQ(layout.dotView({171 + 56 + 8.5, 239.5}, views), dailyCandles);
    EXPECT_EQ(layout.dotView({171 + 56 + 9, 233}, views), std::nullopt); // squares end before their edge
    EXPECT_EQ(layout.dotView({173, 224}, views), std::nullopt);
    EXPECT_EQ(layout.dotView({173, 233}, {}), std::nullopt);
}

TEST(CardLayout, ResizeEdgesUseCornerZonesThenEdgeBandsAndClicksCountOnlyOnTheCard) {
    using E = ResizeEdge;
    const std::pair<QPointF, int> cases[] = {{{30, 30}, E::left | E::top},
                                             {{44, 44}, E::left | E::top},
                                             {{30, 224}, E::left | E::bottom}, // still inside 18 points
                                             {{30, 230}, E::left | E::bottom},
                                             {{370, 30}, E::right | E::top},
                                             {{370, 238}, E::right | E::bottom},
                                             // The gutter and strip are part of the bands.
                                             {{5, 120}, E::left},
                                             {{120, 10}, E::top},
                                             {{120, 33}, E::top},
                                             {{120, 33.5}, 0},
                                             {{369, 120}, E::right},
                                             {{200, 236}, E::bottom},
                                             {{200, 120}, 0},
                                             // Which is why a press on the pin has to be kept from resizing.
                                             {layout.pin.center(), E::left | E::top}};
    for (const auto& [point, edge] : cases)
        EXPECT_EQ(layout.resizeEdge(point), E{edge}) << point.x() << "," << point.y();
    EXPECT_TRUE(layout.resizeEdge({30, 30}).isCorner());
    EXPECT_FALSE(layout.resizeEdge({5, 120}).isCorner());
    EXPECT_TRUE(layout.acceptsClick({26, 26}));
    EXPECT_FALSE(layout.acceptsClick({25.9, 100}));
    EXPECT_FALSE(layout.acceptsClick({100, 25.9}));
}

TEST(CardLayout, DockPreviewBarHugsTheChosenSide) {
    EXPECT_EQ(layout.dockPreviewBar(DockSide::left), QRectF(26.75, 27.75, 3, 212.5));
    EXPECT_EQ(layout.dockPreviewBar(DockSide::right), QRectF(375.25 - 3, 27.75, 3, 212.5));
    EXPECT_EQ(layout.dockPreviewHalo(DockSide::left), QRectF(25.25, 27.75, 6, 212.5));
}

TEST(ResizedFrame, GrowsFromTheDraggedEdgesKeepsTheOthersAndNeverShrinksBelowTheMinimumPanel) {
    const Rect start{100, 100, 376, 242};
    using E = ResizeEdge;
    // Screen space: y grows upward, so dragging the top edge up by 30 adds 30.
    EXPECT_EQ(resizedFrame(start, {E::top}, {0, 30}), (Rect{100, 100, 376, 272}));
    EXPECT_EQ(resizedFrame(start, {E::bottom}, {0, -20}), (Rect{100, 80, 376, 262}));
    EXPECT_EQ(resizedFrame(start, {E::left}, {-24, 0}), (Rect{76, 100, 400, 242}));
    EXPECT_EQ(resizedFrame(start, {E::right}, {24, 5}), (Rect{100, 100, 400, 242}));
    EXPECT_EQ(resizedFrame(start, {E::left | E::bottom}, {10, 10}), (Rect{110, 110, 366, 232}));
    // The far edges stay where they were.
    EXPECT_EQ(resizedFrame(start, {E::left}, {500, 0}), (Rect{210, 100, 266, 242}));
    EXPECT_EQ(resizedFrame(start, {E::bottom}, {0, 500}), (Rect{100, 166, 376, 176}));
    EXPECT_EQ(resizedFrame(start, {E::top | E::right}, {-500, -500}), (Rect{100, 100, 266, 176}));
}

TEST(HoldingStripPlace, TheMostDetailedLineThatFitsTakesTheHeaderOrElseTheFooter) {
    using HoldingStrip::place;
    using enum HoldingStrip::Slot;
    const auto at = [](const std::optional<HoldingStrip::Placement>& p) {
        return p ? std::optional(std::pair(p->slot, p->line)) : std::nullopt;
    };
    EXPECT_EQ(at(place({120, 80}, 100, 130)), std::pair(footer, std::size_t(0)));
    EXPECT_EQ(at(place({120, 80}, 100, 110)), std::pair(header, std::size_t(1)));
    EXPECT_EQ(at(place({100}, 100, 0)), std::pair(header, std::size_t(0))) << "an exact fit fits";
    EXPECT_EQ(at(place({90}, 80, 90)), std::pair(footer, std::size_t(0)));
    EXPECT_EQ(at(place({120, 110}, 100, 105)), std::nullopt);
}

} // namespace
} // namespace glimmer
