#include "layouts/OverviewCardView.h"
#include "card/CardButton.h"
#include "card/MinimalSlider.h"
#include "card/Theme.h"
#include "card/charts/IntradayView.h"
#include "card/charts/KLineView.h"
#include "ui/CardSamples.h"
#include "ui/ChartTestSupport.h"
#include "ui/LayoutSamples.h"
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
    void SetUp() override { testing::ensureApplication(); }

    // Shown as its own window, so clicks are routed to whatever control lies under them.
    void showCard(OverviewCardView& card, QSize size) {
        card.resize(size);
        card.show();
        ASSERT_TRUE(testing::waitForExposed(card));
    }
    void click(OverviewCardView& card, QPoint at) {
        QTest::mousePress(card.windowHandle(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(card.windowHandle(), Qt::LeftButton, {}, at);
    }
};

TEST_F(OverviewCardViewTest, HeaderCardIsLargerByItsStripAndGutterAndHasTheSameBody) {
    const QRectF plain = OverviewCardView::bodyRect(Style::plain, {350, 216});
    const QRectF header = OverviewCardView::bodyRect(Style::header, {376, 242});
    EXPECT_EQ(plain.size(), header.size());
    EXPECT_EQ(header.topLeft(), QPointF(26, 26));
    EXPECT_EQ(OverviewCardView::chartRect(plain), QRectF(8, 38, 334, 160));

    OverviewCardView card(Style::header);
    showCard(card, {376, 242});
    // The buttons sit in the transparent strip above the body, centred on the body.
    const double mid = header.center().x();
    EXPECT_EQ(card.closeButton()->geometry(), QRect(int(mid - 9), 4, 18, 18));
    EXPECT_EQ(card.overviewButton()->geometry().right() + 1, card.expandButton()->geometry().left() - 6);
    EXPECT_LT(card.closeButton()->geometry().bottom(), 26);
    EXPECT_EQ(card.opacitySlider()->geometry(), QRect(9, 38, 14, 192)) << "as wide as the main card's slider";
    EXPECT_EQ(card.eyeButton()->geometry(), QRect(376 - 24, 26 + 5, 16, 16));
    EXPECT_EQ(OverviewCardView(Style::plain).closeButton(), nullptr);
}

TEST_F(OverviewCardViewTest, FooterCountsFromOne) {
    EXPECT_EQ(OverviewCardView::positionText(2, 13), "3/13");
    EXPECT_EQ(OverviewCardView::positionText(0, 0), "");
}

TEST_F(OverviewCardViewTest, PricesShowAThirdDecimalOnlyBelowAThousandWhenTheyHaveOne) {
    auto quote = [](double price, double prevClose) {
        Quote q;
        q.price = price;
        q.prevClose = prevClose;
        return q;
    };
    EXPECT_EQ(OverviewCardView::priceText(quote(3.456, 3.4)), "3.456");
    EXPECT_EQ(OverviewCardView::changeText(quote(3.456, 3.4)), "+0.056  +1.65%");
    EXPECT_EQ(OverviewCardView::priceText(quote(12.5, 12.5)), "12.50");
    EXPECT_EQ(OverviewCardView::changeText(quote(12.5, 12.5)), "0.00  0.00%");
    EXPECT_EQ(OverviewCardView::priceText(quote(1234.567, 1240)), "1234.57");
    EXPECT_EQ(OverviewCardView::changeText(quote(1234.57, 1240)), "-5.43  -0.44%");
    EXPECT_EQ(OverviewCardView::changeText(quote(10.5, 0)), "+10.50  +0.00%") << "no previous close, no percent";
}

TEST_F(OverviewCardViewTest, OnlyTheChartOfTheViewShowsAndItHasTheEntrysData) {
    OverviewCardView card(Style::plain);
    showCard(card, {350, 216});
    card.setEntry(samples::watchList(1)[0]);
    EXPECT_FALSE(card.chart(intraday)->isHidden());
    EXPECT_TRUE(card.chart(dailyCandles)->isHidden());
    EXPECT_EQ(static_cast<IntradayView*>(card.chart(intraday))->minutes.size(), 241u);
    card.setView(dailyCandles);
    for (const ChartView view : ChartViews::order) EXPECT_EQ(card.chart(view)->isHidden(), view != dailyCandles);
    EXPECT_EQ(static_cast<KLineView*>(card.chart(dailyCandles))->bars.size(), 120u);
    EXPECT_EQ(card.chart(dailyCandles)->geometry(), QRect(8, 38, 334, 160));
}

TEST_F(OverviewCardViewTest, ClickOnAFadedEyeRequestsFocusInsteadOfHidingTheSecurity) {
    OverviewCardView card(Style::plain);
    card.setEntry(samples::watchList(1)[0]);
    std::vector<std::string> hidden;
    int focusRequests = 0;
    card.onHideItem = [&](const std::string& code) { hidden.push_back(code); };
    card.onFocusRequest = [&] { ++focusRequests; };
    showCard(card, {350, 216});
    const QPoint eye = card.eyeButton()->geometry().center();

    click(card, eye);
    EXPECT_TRUE(hidden.empty());
    EXPECT_EQ(focusRequests, 1);

    card.prepareForPreview(1.0); // the eye at full alpha, as under the pointer
    click(card, eye);
    EXPECT_EQ(hidden, std::vector<std::string>{"600519"});
    EXPECT_EQ(focusRequests, 1);
}

TEST_F(OverviewCardViewTest, HeaderButtonsReportTheirActionsOnlyWhenVisible) {
    OverviewCardView card(Style::header);
    card.setEntry(samples::watchList(1)[0]);
    int closes = 0, expands = 0, overviews = 0, focus = 0;
    std::vector<double> opacities;
    card.onClose = [&] { ++closes; };
    card.onToggleExpand = [&] { ++expands; };
    card.onToggleOverview = [&] { ++overviews; };
    card.onFocusRequest = [&] { ++focus; };
    card.onOpacityChange = [&](double v) { opacities.push_back(v); };
    showCard(card, {376, 242});
    click(card, card.closeButton()->geometry().center());
    EXPECT_EQ(closes, 0);
    EXPECT_EQ(focus, 1);

    card.prepareForPreview(0.7);
    EXPECT_DOUBLE_EQ(card.opacitySlider()->value(), 0.7);
    click(card, card.closeButton()->geometry().center());
    click(card, card.expandButton()->geometry().center());
    click(card, card.overviewButton()->geometry().center());
    click(card, card.opacitySlider()->geometry().center());
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(expands, 1);
    EXPECT_EQ(overviews, 1);
    ASSERT_FALSE(opacities.empty());
    EXPECT_GT(opacities.back(), 0.25);
    EXPECT_LT(opacities.back(), 1.0);
}

TEST_F(OverviewCardViewTest, WheelReportsVerticalPointsAndNotchesAsFortyPointsEach) {
    OverviewCardView card(Style::plain);
    std::vector<double> deltas;
    card.onScroll = [&](double delta) { deltas.push_back(delta); };
    card.resize(350, 216);
    auto wheel = [&](QPoint pixels, QPoint angle) {
        QWheelEvent event(QPointF(100, 100), QPointF(100, 100), pixels, angle, Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(&card, &event);
    };
    wheel({0, -200}, {0, -1600});
    wheel({}, {0, 240});
    wheel({}, {120, 0}); // sideways only: nothing to scroll
    EXPECT_EQ(deltas, (std::vector<double>{-200, 80}));
}

TEST_F(OverviewCardViewTest, HoverFadesTheControlsInAndOutAndReportsIt) {
    OverviewCardView card(Style::header);
    std::vector<bool> hovers;
    card.onHover = [&](bool inside) { hovers.push_back(inside); };
    card.resize(376, 242);
    QEnterEvent enter(QPointF(100, 100), QPointF(100, 100), QPointF(100, 100));
    QCoreApplication::sendEvent(&card, &enter);
    EXPECT_TRUE(card.isHovering());
    ASSERT_TRUE(testing::waitUntil([&] { return card.controlsAlpha() == 1.0; }, 1000));
    EXPECT_DOUBLE_EQ(card.closeButton()->alpha(), 1.0);
    EXPECT_DOUBLE_EQ(card.opacitySlider()->alpha(), 1.0);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&card, &leave);
    EXPECT_FALSE(card.isHovering());
    ASSERT_TRUE(testing::waitUntil([&] { return card.controlsAlpha() == 0.0; }, 1000));
    EXPECT_EQ(hovers, (std::vector<bool>{true, false}));
}

TEST_F(OverviewCardViewTest, HoverStrengthensTheBorder) {
    OverviewCardView card(Style::plain);
    card.resize(350, 216);
    // How far the outline at the left edge stands out from the body just inside it.
    const auto borderContrast = [&card] {
        QImage image(card.size(), QImage::Format_ARGB32);
        image.fill(QColor(128, 128, 128));
        card.render(&image);
        const int y = card.height() / 2;
        const int inside = qGray(image.pixel(4, y));
        return std::max(std::abs(qGray(image.pixel(0, y)) - inside), std::abs(qGray(image.pixel(1, y)) - inside));
    };
    const int resting = borderContrast();
    QEnterEvent enter(QPointF(100, 100), QPointF(100, 100), QPointF(100, 100));
    QCoreApplication::sendEvent(&card, &enter);
    EXPECT_GT(borderContrast(), resting);
}

TEST_F(OverviewCardViewTest, AnUnchangedPriceIsNeitherRedNorGreen) {
    OverviewCardView card(Style::plain);
    card.resize(350, 216);
    MarketEntry entry(WatchItem{"600519", "贵州茅台", InstrumentKind::stock});
    Quote quote;
    quote.code = "600519";
    quote.price = 1500;
    quote.prevClose = 1500;
    entry.quote = quote;
    const auto tinted = [&card](bool rising) {
        QImage image(card.size(), QImage::Format_ARGB32);
        image.fill(Qt::white);
        card.render(&image);
        int count = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                const int lead = rising ? c.red() - c.green() : c.green() - c.red();
                if (lead > 60) ++count;
            }
        }
        return count;
    };
    card.setEntry(entry);
    EXPECT_EQ(tinted(true), 0);
    EXPECT_EQ(tinted(false), 0);
    quote.price = 1490;
    entry.quote = quote;
    card.setEntry(entry);
    EXPECT_GT(tinted(false), 20) << "a fall is green";
}

TEST_F(OverviewCardViewTest, HeaderSliderShowsItsWholeKnobInEitherTheme) {
    for (const ThemeMode mode : {ThemeMode::light, ThemeMode::dark}) {
        OverviewCardView card(Style::header);
        card.resize(376, 242);
        Theme::applyMode(&card, mode);
        card.prepareForPreview(0.55);
        for (const double ratio : {1.0, 2.0}) {
            QImage image((QSizeF(card.size()) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
            image.setDevicePixelRatio(ratio);
            image.fill(Qt::transparent);
            card.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
            const QRect slider = card.opacitySlider()->geometry();
            const double y = slider.top() + MinimalSlider::knobY(slider.size(), MinimalSlider::fraction(0.55, 0.25, 1));
            // Across the knob's middle: near-white, nearly opaque pixels over its whole 11-point width.
            int knob = 0;
            for (int x = int((slider.center().x() - 7) * ratio); x <= int((slider.center().x() + 7) * ratio); ++x) {
                const QColor pixel = image.pixelColor(x, int(y * ratio));
                knob += pixel.alpha() > 220 && pixel.lightness() > 220;
            }
            EXPECT_GE(knob, int(10 * ratio)) << "ratio " << ratio << " dark " << (mode == ThemeMode::dark);
        }
    }
}

TEST_F(OverviewCardViewTest, HoldingsStripBesideTheChangeOrInTheFooterNeverOnTheChart) {
    const struct {
        QSize size;
        bool inHeader;
    } cases[] = {{QSize(350, 216), true}, {QSize(240, 150), false}};
    for (const auto& c : cases) {
        OverviewCardView card(Style::plain);
        card.resize(c.size);
        card.setEntry(samples::cardEntry(true));
        const QImage without = samples::renderWidget(card, 1);
        card.setEntry(samples::heldEntry(true));
        const QImage with = samples::renderWidget(card, 1);

        const QRectF body = OverviewCardView::bodyRect(Style::plain, QSizeF(c.size));
        const QRect changed = testing::differingPixels(without, with);
        ASSERT_FALSE(changed.isEmpty()) << c.size.width();
        EXPECT_FALSE(changed.intersects(OverviewCardView::chartRect(body).toAlignedRect())) << c.size.width();
        if (c.inHeader) {
            EXPECT_GE(changed.top(), body.top() + 20) << "second line, under the price";
            EXPECT_LE(changed.bottom(), body.top() + OverviewCardView::headerHeight);
        } else {
            EXPECT_GE(changed.top(), body.bottom() - OverviewCardView::footerHeight);
        }
    }
}

TEST_F(OverviewCardViewTest, PrivacyModeDrawsNoAmountButKeepsThePercent) {
    OverviewCardView card(Style::header);
    card.resize(376, 242);
    card.setEntry(samples::heldEntry(true));
    EXPECT_TRUE(testing::TextRecorder::textsOf(card).join(QLatin1Char('|')).contains(QStringLiteral("+2,451.00")));
    card.setPrivacyMode(true);
    const QString masked = testing::TextRecorder::textsOf(card).join(QLatin1Char('|'));
    EXPECT_FALSE(masked.contains(QStringLiteral("2,451"))) << masked.toStdString();
    EXPECT_FALSE(masked.contains(QStringLiteral("万"))) << masked.toStdString();
    EXPECT_TRUE(masked.contains(QStringLiteral("****"))) << masked.toStdString();
    EXPECT_TRUE(masked.contains(QStringLiteral("+20.22%"))) << masked.toStdString();
}

} // namespace
} // namespace glimmer
