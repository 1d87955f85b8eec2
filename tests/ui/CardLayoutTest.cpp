#include "card/CardLayout.h"
#include "card/CardText.h"
#include "card/HoldingStrip.h"
#include "card/ViewSequence.h"

#include <QList>

#include <gtest/gtest.h>

namespace glimmer {
namespace {

using enum ChartView;
using E = ResizeEdge;
constexpr int l = E::left, r = E::right, t = E::top, b = E::bottom;

const CardLayout layout(QSizeF(376, 242));

TEST(CardLayout, PlacesEveryPartAroundTheMarginsCentresTheDotsAndResizesFromCornerZonesThenEdgeBands) {
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

using Views = std::vector<ChartView>;

TEST(CardText, BannersLoseWholeCharactersButKeepFourChangeLinesSignOnlyRisesAndTimesPreferTheLastMinute) {
    // Ten points a character; a cut through a four-byte emoji or three-byte Chinese character would break the text.
    const auto tenPerCharacter = [](const QString& text) { return 10.0 * double(text.toUcs4().size()); };
    const std::tuple<std::string, double, QString> cases[] = {
        {"放量突破", 300, QStringLiteral("⚠ 放量突破")},
        {"", 300, QStringLiteral("⚠ ")},
        {"贵州茅台5分钟内快速拉升2.35%现价1712.50主力净流入3.21亿注意风险", 120,
         QStringLiteral("⚠ 贵州茅台5分钟内快速拉升")},
        {"主力资金持续流出", 5, QStringLiteral("⚠ 主力资金")},
        {"急跌", 5, QStringLiteral("⚠ 急跌")},
        {"🚀🚀快速拉升🔥🔥", 55, QStringLiteral("⚠ 🚀🚀快速拉")},
    };
    for (const auto& [message, width, shown] : cases)
        EXPECT_EQ(CardText::banner(message, width, tenPerCharacter), shown);

    const auto line = [](double price, double prevClose, int decimals) {
        return CardText::changeLine(Quote{.price = price, .prevClose = prevClose}, decimals);
    };
    EXPECT_EQ(line(1683.67, 1675.50, 2), QStringLiteral("+8.17  +0.49%"));
    EXPECT_EQ(line(3.852, 3.901, 3), QStringLiteral("-0.049  -1.26%"));
    EXPECT_EQ(line(10.5, 0, 2), QStringLiteral("+10.50  +0.00%"));
    EXPECT_EQ(line(10.5, 10.5, 2), QStringLiteral("0.00  0.00%"));
    MarketEntry entry(WatchItem{"510300", "沪深300", InstrumentKind::etf});
    entry.quote = Quote{};
    EXPECT_EQ(CardText::name(entry), QStringLiteral("沪深300"));
    entry.quote->name = "沪深300ETF";
    EXPECT_EQ(CardText::name(entry), QStringLiteral("沪深300ETF"));
    EXPECT_EQ(CardText::counter(0, 0), QString());
    EXPECT_EQ(CardText::counter(11, 12), QStringLiteral("12/12"));
    EXPECT_EQ(CardText::placeholder("股票池已全部隐藏"), QStringLiteral("股票池已全部隐藏"));
    EXPECT_EQ(CardText::lockLabel(std::nullopt), QString());
    entry.quote.reset();
    EXPECT_EQ(CardText::timeText(entry), QString());
    entry.quote = Quote{.tradeDate = "2026-12-04", .quoteTime = "14:57:03"};
    EXPECT_EQ(CardText::timeText(entry), QStringLiteral("12-04 14:57:03"));
    entry.minutes.push_back({"15:00", 1683.67, 1680.41, 320, 5.4e7});
    EXPECT_EQ(CardText::timeText(entry), QStringLiteral("12-04 15:00"));
    entry.minutes.back().time.clear(); // an empty minute time falls back to the quote's
    EXPECT_EQ(CardText::timeText(entry), QStringLiteral("12-04 14:57:03"));
    entry.quote->tradeDate.clear();
    entry.quote->quoteTime.reset();
    EXPECT_EQ(CardText::timeText(entry), QString());
    entry.quote->tradeDate = "1204";
    EXPECT_EQ(CardText::timeText(entry), QStringLiteral("1204"));
}

TEST(ViewSequence, KeepsDotOrderAndViewAfterStopsAtTheEndSoThePresenterSwitchesSecurityWhileNextAndStepWrap) {
    using namespace ViewSequence;
    const Views all{intraday, macd, fundFlow, volume, dailyCandles};
    EXPECT_EQ(enabledSequence({dailyCandles, volume, fundFlow, macd, intraday}), all);
    EXPECT_EQ(enabledSequence({dailyCandles, intraday, macd}), (Views{intraday, macd, dailyCandles}));
    EXPECT_EQ(enabledSequence({}), all);
    const Views seq = enabledSequence({intraday, macd, dailyCandles});
    EXPECT_EQ(viewAfter(dailyCandles, seq), std::nullopt);
    EXPECT_EQ(viewAfter(intraday, Views{}), std::nullopt);
    EXPECT_EQ(viewAfter(fundFlow, seq), intraday); // a view outside the sequence starts it over
    EXPECT_EQ(nextView(dailyCandles, seq), intraday);
    EXPECT_EQ(nextView(macd, seq), dailyCandles);
    EXPECT_EQ(nextView(volume, seq), intraday);
    EXPECT_EQ(nextView(fundFlow, Views{}), intraday);
    const Views three{intraday, macd, fundFlow};
    EXPECT_EQ(stepView(volume, three, +1), macd);
    EXPECT_EQ(stepView(intraday, three, -4), fundFlow);
    EXPECT_EQ(stepView(macd, three, 7), fundFlow);
}

} // namespace
} // namespace glimmer
