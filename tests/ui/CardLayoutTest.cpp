#include "card/CardLayout.h"
#include "card/HoldingStrip.h"

#include <gtest/gtest.h>

namespace glimmer {
namespace {

using enum ChartView;
using E = ResizeEdge;
constexpr int l = E::left, r = E::right, t = E::top, b = E::bottom;

// The default panel: a 350 x 216 card plus the 26-point gutter and strip.
const CardLayout layout(QSizeF(376, 242));

TEST(CardLayout, PlacesCardControlsChartsAndDockBarsAroundTheMarginsAndTinyViewsKeepPositiveSizes) {
    const CardLayout& c = layout;
    EXPECT_EQ((std::vector{c.card, c.closeButton, c.expandButton, c.overviewButton, c.slider, c.charts, c.pin}),
              (std::vector<QRectF>{QRectF(26, 26, 350, 216), QRectF(192, 2, 18, 18), QRectF(168, 2, 18, 18),
                                   QRectF(144, 2, 18, 18), QRectF(9, 34, 14, 200), QRectF(33, 75, 336, 149),
                                   QRectF(35, 34, 17, 17)}));
    EXPECT_EQ(
        (std::vector{c.dockPreviewBar(DockSide::left), c.dockPreviewBar(DockSide::right),
                     c.dockPreviewHalo(DockSide::left)}),
        (std::vector{QRectF(26.75, 27.75, 3, 212.5), QRectF(372.25, 27.75, 3, 212.5), QRectF(25.25, 27.75, 6, 212.5)}));
    const CardLayout tiny(QSizeF(20, 10));
    EXPECT_EQ(tiny.card.size(), QSizeF(1, 1));
    EXPECT_EQ(tiny.charts.size(), QSizeF(10, 10));
    EXPECT_EQ(tiny.slider.height(), 30);
}

TEST(CardLayout, DotsAreCentredResizeEdgesUseCornerZonesThenEdgeBandsAndClicksCountOnlyOnTheCard) {
    const std::vector<ChartView> views{intraday, macd, fundFlow, volume, dailyCandles};
    // (14 x 4 + 4) / 2 = 30 left of the card's middle at 201.
    EXPECT_DOUBLE_EQ(layout.firstDotX(5), 171);
    EXPECT_EQ(layout.dot(3, 5), QRectF(171 + 42, 231, 4, 4));
    // The corner of the fourth square; the squares end before their edge.
    const std::tuple<double, double, std::optional<ChartView>> cases[] = {
        {173, 233, intraday}, {208, 226, volume}, {235.5, 239.5, dailyCandles}, {236, 233, {}}, {173, 224, {}}};
    for (const auto& [x, y, view] : cases) EXPECT_EQ(layout.dotView({x, y}, views), view) << x << "," << y;
    EXPECT_EQ(layout.dotView({173, 233}, {}), std::nullopt);

    // The gutter and strip are part of the bands, which is why a press on the pin must not resize.
    const auto pin = layout.pin.center();
    const std::tuple<double, double, int> edges[] = {
        {30, 30, l | t},  {44, 44, l | t},          {30, 224, l | b}, {30, 230, l | b},
        {370, 30, r | t}, {370, 238, r | b},        {5, 120, l},      {120, 10, t},
        {120, 33, t},     {120, 33.5, 0},           {369, 120, r},    {200, 236, b},
        {200, 120, 0},    {pin.x(), pin.y(), l | t}};
    for (const auto& [x, y, edge] : edges) EXPECT_EQ(layout.resizeEdge({x, y}), E{edge}) << x << "," << y;
    EXPECT_TRUE(layout.resizeEdge({30, 30}).isCorner());
    EXPECT_FALSE(layout.resizeEdge({5, 120}).isCorner());
    EXPECT_TRUE(layout.acceptsClick({26, 26}));
    EXPECT_FALSE(layout.acceptsClick({25.9, 100}));
    EXPECT_FALSE(layout.acceptsClick({100, 25.9}));
}

TEST(ResizedFrame, GrowsFromTheDraggedEdgesKeepsTheOthersAndNeverShrinksBelowTheMinimumPanel) {
    // Screen space: y grows upward, so dragging the top edge up by 30 adds 30. Far edges stay.
    const std::tuple<int, double, double, Rect> cases[] = {
        {t, 0, 30, {100, 100, 376, 272}},  {b, 0, -20, {100, 80, 376, 262}},         {l, -24, 0, {76, 100, 400, 242}},
        {r, 24, 5, {100, 100, 400, 242}},  {l | b, 10, 10, {110, 110, 366, 232}},    {l, 500, 0, {210, 100, 266, 242}},
        {b, 0, 500, {100, 166, 376, 176}}, {t | r, -500, -500, {100, 100, 266, 176}}};
    for (const auto& [edge, dx, dy, frame] : cases)
        EXPECT_EQ(resizedFrame({100, 100, 376, 242}, E{edge}, {dx, dy}), frame) << edge << " " << dx << "," << dy;
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
