// Pixel probes of the card in its panel: each painted part where the layout puts it, in its colour.
#include "card/CardLayout.h"
#include "card/CardPainter.h"
#include "card/FloatingPanel.h"
#include "card/StockCardView.h"
#include "card/Theme.h"
#include "ui/CardSamples.h"
#include "ui/ChartTestSupport.h"
#include "ui/TextRecorder.h"

#include <QLayout>

#include <gtest/gtest.h>

namespace glimmer {
namespace {

using samples::panelHeight;
using samples::panelWidth;
using testing::countLike;

class CardRender : public ::testing::Test {
protected:
    void SetUp() override {
        testing::ensureApplication();
        reset(false);
    }

    /// A fresh panel showing a rising stock, second of six, then `apply`.
    void reset(bool dark, const std::function<void(StockCardView&)>& apply = {}) {
        panel = std::make_unique<FloatingPanel>(Rect{100, 100, panelWidth, panelHeight});
        owner = new StockCardView;
        owner->resize(panelWidth, panelHeight);
        owner->setEntry(samples::cardEntry(true));
        owner->setTotal(6);
        owner->setIndex(1);
        panel->setContentView(owner);
        Theme::applyMode(panel.get(), dark ? ThemeMode::dark : ThemeMode::light);
        if (apply) apply(*owner);
    }
    QImage shot(bool dark, const std::function<void(StockCardView&)>& apply = {}) {
        reset(dark, apply);
        return samples::renderWidget(*panel, 2);
    }

    std::unique_ptr<FloatingPanel> panel;
    StockCardView* owner = nullptr;
};

TEST_F(CardRender, ShadowFallsOutsideTheBodyAndFadesOutInTheWindowMargin) {
    int nearRight[2] = {};
    for (bool dark : {false, true}) {
        const QImage image = shot(dark);
        const QMargins m = panel->shadowMargins();
        const QRectF body = owner->layout().card;
        const auto alpha = [&](double x, double y) { return qAlpha(image.pixel(QPointF(2 * x, 2 * y).toPoint())); };
        const double midX = body.center().x(), midY = body.center().y();
        // Beside and below the body the shadow shows, weaker with distance, gone at the window's edge.
        EXPECT_GT(alpha(body.right() + 1, midY), alpha(body.right() + 5, midY));
        EXPECT_LE(alpha(body.right() + m.right() - 0.5, midY), 2);
        EXPECT_GT(alpha(midX, body.bottom() + 1), alpha(body.right() + 1, midY)) << "it falls downwards";
        EXPECT_LE(alpha(midX, body.bottom() + m.bottom() - 0.5), 2);
        // Round under the rounded corner, and the transparent gutter takes the left-hand shadow.
        EXPECT_LT(alpha(body.right() + 3, body.bottom() + 3), alpha(midX, body.bottom() + 3));
        EXPECT_GT(alpha(body.left() - 2, midY), 0);
        EXPECT_EQ(alpha(2, midY), 0) << "the slider's side of the gutter stays clear";
        nearRight[dark] = alpha(body.right() + 2, midY);
    }
    EXPECT_GT(nearRight[true], nearRight[false]) << "a dark desktop needs a deeper shadow";
}

TEST_F(CardRender, DirectionAlertAndDockPreviewShowInTheirColours) {
    for (bool dark : {false, true}) {
        const CardLayout l = owner->layout();
        const QColor up = Theme::up().resolve(dark), down = Theme::down().resolve(dark),
                     alert = Theme::alert().resolve(dark);
        const QImage rising = shot(dark);
        const QImage falling = shot(dark, [](StockCardView& card) { card.setEntry(samples::cardEntry(false)); });
        const QImage unchanged = shot(dark, [](StockCardView& card) {
            MarketEntry entry = samples::cardEntry(true);
            entry.quote->price = entry.quote->prevClose;
            card.setEntry(entry);
        });
        const QImage alerted = shot(dark, [](StockCardView& card) {
            card.setAlertActive(true);
            card.setAlertMessage("贵州茅台 5分钟内快速拉升 2.35%");
        });
        const QImage docked = shot(dark, [](StockCardView& card) { card.setDockPreviewSide(DockSide::right); });
        const QRectF ring(l.glow.left(), l.card.center().y() - 20, 2, 40);
        const QRectF bar = l.dockPreviewBar(DockSide::right);
        EXPECT_GT(countLike(rising, l.headerArea(), up), 500) << "the last price and change of a rising stock";
        EXPECT_EQ(countLike(rising, l.headerArea(), down), 0);
        EXPECT_GT(countLike(falling, l.headerArea(), down), 500);
        EXPECT_EQ(countLike(falling, l.headerArea(), up), 0);
        EXPECT_EQ(countLike(unchanged, l.headerArea(), up) + countLike(unchanged, l.headerArea(), down), 0);
        EXPECT_GT(countLike(alerted, l.banner(), alert), 4 * countLike(rising, l.banner(), alert)) << "the banner";
        EXPECT_GT(countLike(alerted, ring, alert), 100) << "the glow ring";
        EXPECT_EQ(countLike(rising, ring, alert), 0);
        EXPECT_GT(countLike(docked, bar, Theme::accent().resolve(dark)), 1000) << "the dock preview bar";
        EXPECT_EQ(countLike(rising, bar, Theme::accent().resolve(dark)), 0);
    }
}

TEST_F(CardRender, HoldingsStripTakesTheHeaderLineWhenWideTheFooterWhenSmallNeverTheChartAndHidesAmountsInPrivacy) {
    const std::pair<QSize, HoldingStrip::Slot> cases[] = {
        {QSize(panelWidth, panelHeight), HoldingStrip::Slot::header},
        {QSize(int(CardLayout::minimumPanelWidth), int(CardLayout::minimumPanelHeight)), HoldingStrip::Slot::footer},
    };
    for (const auto& [size, slot] : cases) {
        reset(false);
        panel->setFrame({100, 100, double(size.width()), double(size.height())});
        panel->layout()->activate();
        ASSERT_EQ(owner->size(), size);
        const QImage without = samples::renderWidget(*owner, 1);
        owner->setEntry(samples::heldEntry(true));
        const QImage with = samples::renderWidget(*owner, 1);

        const CardLayout layout{QSizeF(size)};
        const auto strip = CardPainter::holdingsStrip(layout, *owner->entry(), 5, false, &with);
        ASSERT_TRUE(strip);
        EXPECT_EQ(strip->slot, slot) << size.width();
        const QRect changed = testing::differingPixels(without, with);
        ASSERT_FALSE(changed.isEmpty()) << "the strip is drawn";
        EXPECT_FALSE(changed.intersects(layout.charts.toAlignedRect())) << "chart untouched at " << size.width();
        if (slot == HoldingStrip::Slot::header) {
            // The second header line, between the change line and the time.
            EXPECT_GE(changed.top(), layout.card.top() + 26);
            EXPECT_LE(changed.bottom(), layout.headerArea().bottom());
            EXPECT_LT(changed.right(), layout.card.right() - 60) << "clear of the time";
        } else {
            EXPECT_GE(changed.top(), layout.footerArea().top());
            EXPECT_LT(changed.right(), layout.dot(0, 5).left() - 4) << "clear of the dots";
        }
    }
    reset(false); // privacy mode draws no amount but keeps the percent
    owner->setEntry(samples::heldEntry(true));
    owner->setPrivacyMode(true);
    const QString masked = testing::TextRecorder::textsOf(*owner).join(QLatin1Char('|'));
    EXPECT_EQ((std::tuple(masked.contains("2,451"), masked.count("****"), masked.contains("+20.22%"),
                          masked.contains("1683.67"))),
              (std::tuple(false, 2, true, true)))
        << masked.toStdString();
}

} // namespace
} // namespace glimmer
