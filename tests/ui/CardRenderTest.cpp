// Pictures of the card as a user sees it, in its panel with the shadow, and pixel probes that the
// painted parts land where the layout puts them.
#include "card/CardLayout.h"
#include "card/CardPainter.h"
#include "card/FloatingPanel.h"
#include "card/StockCardView.h"
#include "card/Theme.h"
#include "ui/CardSamples.h"
#include "ui/ChartSamples.h"
#include "ui/ChartTestSupport.h"
#include "ui/TextRecorder.h"

#include <QLayout>
#include <QPainter>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>

namespace glimmer {
namespace {

using enum ChartView;

using samples::panelHeight;
using samples::panelWidth;

class CardRender : public ::testing::Test {
protected:
    void SetUp() override {
        testing::ensureChartApplication();
        reset();
    }

    void reset() {
        panel = std::make_unique<FloatingPanel>(Rect{100, 100, panelWidth, panelHeight});
        owner = new StockCardView;
        owner->resize(panelWidth, panelHeight);
        owner->setEntry(samples::cardEntry(true));
        owner->setTotal(6);
        owner->setIndex(1);
        panel->setContentView(owner);
    }

    void setDark(bool dark) { Theme::applyMode(panel.get(), dark ? ThemeMode::dark : ThemeMode::light); }

    std::unique_ptr<FloatingPanel> panel;
    StockCardView* owner = nullptr;
};

/// The picture on a desktop-like backdrop, so the transparent margins and the shadow read as they
/// would on screen.
QImage onBackdrop(const QImage& card, bool dark) {
    QImage picture(card.size(), QImage::Format_ARGB32_Premultiplied);
    picture.setDevicePixelRatio(card.devicePixelRatio());
    QPainter painter(&picture);
    QLinearGradient backdrop(0, 0, picture.width(), picture.height());
    backdrop.setColorAt(0, dark ? QColor(38, 44, 58) : QColor(196, 210, 228));
    backdrop.setColorAt(1, dark ? QColor(20, 22, 30) : QColor(232, 226, 240));
    painter.fillRect(QRectF(QPointF(0, 0), QSizeF(card.size()) / card.devicePixelRatio()), backdrop);
    painter.drawImage(QPointF(0, 0), card);
    return picture;
}

TEST_F(CardRender, ShadowFallsOutsideTheBodyAndFadesOutInTheWindowMargin) {
    std::map<bool, int> nearRight;
    for (bool dark : {false, true}) {
        reset();
        setDark(dark);
        const QImage image = samples::renderWidget(*panel, 2);
        const QMargins m = panel->shadowMargins();
        ASSERT_GT(m.right(), 6);
        ASSERT_GT(m.bottom(), 6);
        const QRectF body = owner->layout().card;
        ASSERT_EQ(image.size(), QSize(2 * (panelWidth + m.right()), 2 * (panelHeight + m.bottom())));
        const auto alpha = [&](double x, double y) { return qAlpha(image.pixel(QPointF(2 * x, 2 * y).toPoint())); };
        const double midY = body.center().y();
        const double midX = body.center().x();
        // Beside and below the body the shadow shows, weaker with distance, gone at the window's edge.
        EXPECT_GT(alpha(body.right() + 1, midY), 15) << "dark " << dark;
        EXPECT_GT(alpha(body.right() + 1, midY), alpha(body.right() + 5, midY));
        EXPECT_GT(alpha(body.right() + 5, midY), alpha(body.right() + 9, midY));
        EXPECT_LE(alpha(body.right() + m.right() - 0.5, midY), 2);
        EXPECT_GT(alpha(midX, body.bottom() + 1), alpha(body.right() + 1, midY)) << "it falls downwards";
        EXPECT_GT(alpha(midX, body.bottom() + 5), alpha(midX, body.bottom() + 9));
        EXPECT_LE(alpha(midX, body.bottom() + m.bottom() - 0.5), 2);
        // Round under the rounded corner, and the transparent gutter takes the left-hand shadow.
        EXPECT_GT(alpha(body.right() - 2, body.bottom() + 1), 0);
        EXPECT_LT(alpha(body.right() + 3, body.bottom() + 3), alpha(midX, body.bottom() + 3));
        EXPECT_GT(alpha(body.left() - 2, midY), 0);
        EXPECT_EQ(alpha(2, midY), 0) << "the slider's side of the gutter stays clear";
        nearRight[dark] = alpha(body.right() + 2, midY);
    }
    EXPECT_GT(nearRight[true], nearRight[false]) << "a dark desktop needs a deeper shadow";
}

// Pictures for the README (scripts/pictures); the colour probes below are what the suite checks.
TEST_F(CardRender, WritesEveryViewAndStateInLightAndDark) {
    const char* wanted = std::getenv("GLIMMER_CARD_ARTIFACTS");
    if (wanted == nullptr || *wanted == 0) GTEST_SKIP() << "writes pictures only when GLIMMER_CARD_ARTIFACTS is set";
    const std::filesystem::path folder(wanted);
    std::filesystem::create_directories(folder);

    // Each state starts from a fresh card showing a rising stock, second of six.
    const std::vector<std::pair<std::string, std::function<void(StockCardView&)>>> states{
        {"intraday", [](StockCardView& card) { card.setView(intraday); }},
        {"macd", [](StockCardView& card) { card.setView(macd); }},
        {"flow", [](StockCardView& card) { card.setView(fundFlow); }},
        {"kline", [](StockCardView& card) { card.setView(dailyCandles); }},
        {"volume", [](StockCardView& card) { card.setView(volume); }},
        {"falling-locked",
         [](StockCardView& card) {
             card.setEntry(samples::cardEntry(false));
             card.setView(intraday);
             card.setLockedView(intraday);
             card.setPinPaused(true);
         }},
        {"alert",
         [](StockCardView& card) {
             card.setView(intraday);
             card.setAlertActive(true);
             card.setAlertMessage("贵州茅台 5分钟内快速拉升 2.35%，现价 1712.50，主力净流入 3.21亿");
         }},
        {"docked-preview",
         [](StockCardView& card) {
             card.setView(dailyCandles);
             card.setDockPreviewSide(DockSide::right);
         }},
        {"hover", [](StockCardView& card) { card.prepareForPreview(0.85); }},
        {"expand-mode",
         [](StockCardView& card) {
             card.setView(fundFlow);
             card.setAlertMessage("主力资金 30 分钟净流出 1.05亿");
             card.setExpandMode(true);
             card.setOverviewMode(true);
             card.prepareForPreview(0.85);
         }},
        {"fund",
         [](StockCardView& card) {
             const samples::Day day = samples::fundDay();
             MarketEntry entry(WatchItem{"510300", "沪深300ETF", InstrumentKind::etf});
             entry.quote = day.quote;
             entry.minutes = day.minutes;
             card.setEntry(entry);
             card.setView(intraday);
         }},
        {"loading",
         [](StockCardView& card) {
             MarketEntry entry(WatchItem{"510300", "沪深300ETF", InstrumentKind::etf});
             card.setEntry(entry);
         }},
        {"placeholder", [](StockCardView& card) { card.setEntry(std::nullopt); }},
        {"holdings-default", [](StockCardView& card) { card.setEntry(samples::heldEntry(true)); }},
        {"holdings-falling", [](StockCardView& card) { card.setEntry(samples::heldEntry(false)); }},
        {"holdings-minimum",
         [](StockCardView& card) {
             qobject_cast<FloatingPanel*>(card.window())
                 ->setFrame({100, 100, CardLayout::minimumPanelWidth, CardLayout::minimumPanelHeight});
             card.setEntry(samples::heldEntry(true));
         }},
        {"holdings-private",
         [](StockCardView& card) {
             card.setEntry(samples::heldEntry(true));
             card.setPrivacyMode(true);
         }},
    };
    for (bool dark : {false, true}) {
        for (const auto& [name, apply] : states) {
            reset();
            StockCardView& card = *owner;
            setDark(dark);
            apply(card);
            const QImage image = onBackdrop(samples::renderWidget(*panel, 2), dark);
            const auto file = folder / ("card-" + name + (dark ? "-dark.png" : "-light.png"));
            ASSERT_TRUE(image.save(QString::fromStdString(file.string())));
        }
    }
}

/// How many pixels of `area` (card points, drawn at 2x) are close to `colour`.
int pixelsLike(const QImage& image, const QRectF& area, const QColor& colour) {
    int count = 0;
    const QRect box = QRectF(area.topLeft() * 2, area.size() * 2).toAlignedRect() & image.rect();
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left(); x <= box.right(); ++x) {
            const QColor c = QColor::fromRgba(image.pixel(x, y));
            if (c.alpha() > 96 && std::abs(c.red() - colour.red()) < 40 && std::abs(c.green() - colour.green()) < 40 &&
                std::abs(c.blue() - colour.blue()) < 40)
                ++count;
        }
    }
    return count;
}

TEST_F(CardRender, DirectionAlertAndDockPreviewShowInTheirColours) {
    for (bool dark : {false, true}) {
        const auto render = [&](const std::function<void(StockCardView&)>& apply) {
            reset();
            setDark(dark);
            apply(*owner);
            return samples::renderWidget(*panel, 2);
        };
        const CardLayout l = owner->layout();
        const QColor up = Theme::up().resolve(dark), down = Theme::down().resolve(dark);
        const QColor alert = Theme::alert().resolve(dark), accent = Theme::accent().resolve(dark);
        const QImage rising = render([](StockCardView&) {});
        const QImage falling = render([](StockCardView& card) { card.setEntry(samples::cardEntry(false)); });
        const QImage alerted = render([](StockCardView& card) {
            card.setAlertActive(true);
            card.setAlertMessage("贵州茅台 5分钟内快速拉升 2.35%");
        });
        const QImage docked = render([](StockCardView& card) { card.setDockPreviewSide(DockSide::right); });
        const QRectF ring(l.glow.left(), l.card.center().y() - 20, 2, 40);
        const QRectF bar = l.dockPreviewBar(DockSide::right);
        EXPECT_GT(pixelsLike(rising, l.headerArea(), up), 500) << "the last price and change of a rising stock";
        EXPECT_EQ(pixelsLike(rising, l.headerArea(), down), 0);
        EXPECT_GT(pixelsLike(falling, l.headerArea(), down), 500);
        EXPECT_EQ(pixelsLike(falling, l.headerArea(), up), 0);
        EXPECT_GT(pixelsLike(alerted, l.banner(), alert), 4 * pixelsLike(rising, l.banner(), alert)) << "the banner";
        EXPECT_GT(pixelsLike(alerted, ring, alert), 100) << "the glow ring";
        EXPECT_EQ(pixelsLike(rising, ring, alert), 0);
        EXPECT_GT(pixelsLike(docked, bar, accent), 1000) << "the dock preview bar";
        EXPECT_EQ(pixelsLike(rising, bar, accent), 0);
    }
}

TEST_F(CardRender, HoldingsStripTakesTheHeaderLineWhenWideTheFooterWhenSmallAndNeverTheChart) {
    const struct {
        QSize size;
        HoldingStrip::Slot slot;
    } cases[] = {
        {QSize(panelWidth, panelHeight), HoldingStrip::Slot::header},
        {QSize(int(CardLayout::minimumPanelWidth), int(CardLayout::minimumPanelHeight)), HoldingStrip::Slot::footer},
    };
    for (const auto& c : cases) {
        for (bool dark : {false, true}) {
            reset();
            panel->setFrame({100, 100, double(c.size.width()), double(c.size.height())});
            panel->layout()->activate();
            ASSERT_EQ(owner->size(), c.size);
            setDark(dark);
            const QImage without = samples::renderWidget(*owner, 1);
            owner->setEntry(samples::heldEntry(true));
            const QImage with = samples::renderWidget(*owner, 1);

            const CardLayout layout(QSizeF(c.size));
            const auto strip = CardPainter::holdingsStrip(layout, *owner->entry(), 5, false, &with);
            ASSERT_TRUE(strip);
            EXPECT_EQ(strip->slot, c.slot) << c.size.width();

            const QRect changed = testing::differingPixels(without, with);
            ASSERT_FALSE(changed.isEmpty()) << "the strip is drawn";
            EXPECT_FALSE(changed.intersects(layout.charts.toAlignedRect()))
                << "chart untouched at " << c.size.width() << ": " << changed.x() << "," << changed.y() << " "
                << changed.width() << "x" << changed.height();
            if (c.slot == HoldingStrip::Slot::header) {
                // The second header line, between the change line and the time.
                EXPECT_GE(changed.top(), layout.card.top() + 26);
                EXPECT_LE(changed.bottom(), layout.headerArea().bottom());
                EXPECT_LT(changed.right(), layout.card.right() - 60) << "clear of the time";
            } else {
                EXPECT_GE(changed.top(), layout.footerArea().top());
                EXPECT_LT(changed.right(), layout.dot(0, 5).left() - 4) << "clear of the dots";
            }
        }
    }
}

TEST_F(CardRender, PrivacyModeDrawsNoAmountButKeepsThePercent) {
    owner->setEntry(samples::heldEntry(true));
    const QString shown = testing::TextRecorder::textsOf(*owner).join(QLatin1Char('|'));
    EXPECT_TRUE(shown.contains(QStringLiteral("+2,451.00"))) << shown.toStdString();

    owner->setPrivacyMode(true);
    const QStringList texts = testing::TextRecorder::textsOf(*owner);
    const QString masked = texts.join(QLatin1Char('|'));
    EXPECT_FALSE(masked.contains(QStringLiteral("2,451"))) << masked.toStdString();
    EXPECT_FALSE(masked.contains(QStringLiteral("万"))) << masked.toStdString();
    EXPECT_EQ(masked.count(QStringLiteral("****")), 2) << masked.toStdString();
    EXPECT_TRUE(masked.contains(QStringLiteral("+20.22%"))) << masked.toStdString();
    EXPECT_TRUE(masked.contains(QStringLiteral("1683.67"))) << "prices stay";
}

} // namespace
} // namespace glimmer
