#include "layouts/OverviewCardView.h"
#include "card/CardButton.h"
#include "card/MinimalSlider.h"
#include "card/charts/KLineView.h"
#include "ui/CardSamples.h"
#include "ui/TestApplication.h"
#include "ui/TextRecorder.h"

#include <QImage>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace glimmer {
namespace {

using enum ChartView;
using Style = OverviewCardView::Style;

class OverviewCardViewTest : public ::testing::Test {
protected:
    void click(QWidget* control) {
        QTest::mousePress(card.windowHandle(), Qt::LeftButton, {}, control->geometry().center());
        QTest::mouseRelease(card.windowHandle(), Qt::LeftButton, {}, control->geometry().center());
    }
    bool hasApplication = (testing::ensureApplication(), true);
    OverviewCardView card{Style::header};
};

TEST_F(OverviewCardViewTest, HeaderLaysOutItsControlsDrawsItsChartUntintedWhenUnchangedMasksAmountsAndReportsClicks) {
    EXPECT_EQ(OverviewCardView::positionText(2, 13) + OverviewCardView::positionText(0, 0), "3/13");
    const Quote quote{.price = 3.456, .prevClose = 3.4};
    EXPECT_EQ(OverviewCardView::priceText(quote) + " " + OverviewCardView::changeText(quote), "3.456 +0.056  +1.65%");
    const QRectF header = OverviewCardView::bodyRect(Style::header, {376, 242});
    EXPECT_EQ(header, QRectF(26, 26, 350, 216));
    card.resize(376, 242);
    MarketEntry entry(WatchItem{"600519", "贵州茅台", InstrumentKind::stock});
    entry.quote = Quote{.price = 1500, .prevClose = 1500};
    const auto tinted = [&](bool rising) {
        QImage drawn(card.size(), QImage::Format_ARGB32);
        drawn.fill(Qt::white);
        card.render(&drawn);
        int count = 0;
        for (int i = 0; i < drawn.width() * drawn.height(); ++i) {
            const QColor c = drawn.pixelColor(i % drawn.width(), i / drawn.width());
            count += (rising ? c.red() - c.green() : c.green() - c.red()) > 60;
        }
        return count;
    };
    card.setEntry(entry);
    EXPECT_EQ(tinted(true) + tinted(false), 0);
    entry.quote->price = 1490;
    card.setEntry(entry);
    EXPECT_GT(tinted(false), 20) << "a fall is green";

    card.setEntry(samples::heldEntry(true));
    ASSERT_TRUE(testing::TextRecorder::textsOf(card).join('|').contains(QStringLiteral("+2,451.00")));
    card.setPrivacyMode(true);
    const QString masked = testing::TextRecorder::textsOf(card).join('|');
    EXPECT_TRUE(!masked.contains(QStringLiteral("2,451")) && !masked.contains(QStringLiteral("万")) &&
                masked.contains(QStringLiteral("****")) && masked.contains(QStringLiteral("+20.22%")))
        << masked.toStdString();

    card.setEntry(samples::cardEntry());
    std::string calls;
    std::vector<double> opacities;
    card.onHideItem = [&](const std::string& code) { calls += "hide " + code + " "; };
    card.onClose = [&] { calls += "close "; };
    card.onToggleExpand = [&] { calls += "expand "; };
    card.onToggleOverview = [&] { calls += "overview "; };
    card.onFocusRequest = [&] { calls += "focus "; };
    card.onOpacityChange = [&](double v) { opacities.push_back(v); };
    card.show(); // as its own window, so clicks are routed to whatever control lies under them
    ASSERT_TRUE(testing::waitForExposed(card));
    using Controls = std::initializer_list<QWidget*>;
    for (QWidget* control : Controls{card.closeButton(), card.eyeButton(), card.opacitySlider()}) click(control);
    EXPECT_EQ(calls, "focus focus focus ");
    EXPECT_TRUE(opacities.empty());
    card.prepareForPreview(0.7); // the controls at full alpha, as under the pointer
    EXPECT_DOUBLE_EQ(card.opacitySlider()->value(), 0.7);
    calls.clear();
    for (QWidget* control : Controls{card.closeButton(), card.expandButton(), card.overviewButton(), card.eyeButton(),
                                     card.opacitySlider()})
        click(control);
    EXPECT_EQ(calls, "close expand overview hide 600519 ");
    ASSERT_FALSE(opacities.empty());
    EXPECT_TRUE(opacities.back() > 0.25 && opacities.back() < 1.0) << opacities.back();
    std::vector<double> deltas;
    card.onScroll = [&](double delta) { deltas.push_back(delta); };
    const auto wheel = [&](QPoint pixels, QPoint angle) {
        QWheelEvent event({9, 9}, {9, 9}, pixels, angle, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(&card, &event);
    };
    wheel({0, -200}, {0, -1600});
    wheel({}, {0, 240});
    wheel({}, {120, 0}); // sideways only: nothing to scroll
    EXPECT_EQ(deltas, (std::vector<double>{-200, 80}));
    // The buttons sit in the transparent strip above the body, centred on the body.
    EXPECT_EQ(card.closeButton()->geometry(), QRect(int(header.center().x() - 9), 4, 18, 18));
    EXPECT_EQ(card.overviewButton()->geometry().right() + 1, card.expandButton()->geometry().left() - 6);
    EXPECT_EQ(card.opacitySlider()->geometry(), QRect(9, 38, 14, 192)) << "as wide as the main card's slider";
    EXPECT_EQ(card.eyeButton()->geometry(), QRect(376 - 24, 26 + 5, 16, 16));
    OverviewCardView plainCard(Style::plain);
    EXPECT_EQ(plainCard.closeButton(), nullptr);
    plainCard.resize(350, 216);
    plainCard.show();
    plainCard.setEntry(samples::cardEntry());
    plainCard.setView(dailyCandles);
    for (const ChartView view : ChartViews::order) EXPECT_EQ(plainCard.chart(view)->isHidden(), view != dailyCandles);
    EXPECT_EQ(static_cast<KLineView*>(plainCard.chart(dailyCandles))->bars.size(), 120u);
    EXPECT_EQ(plainCard.chart(dailyCandles)->geometry(), QRect(8, 38, 334, 160));
}

} // namespace
} // namespace glimmer
