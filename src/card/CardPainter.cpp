#include "card/CardPainter.h"

#include "card/CardText.h"
#include "card/ChartKit.h"
#include "card/Icons.h"
#include "card/Theme.h"

#include <QPainter>
#include <QPainterPath>

namespace glimmer::CardPainter {

namespace {

QColor withAlpha(QColor colour, double alpha) {
    colour.setAlphaF(float(colour.alphaF() * alpha));
    return colour;
}

QFont changeLineFont(const QPaintDevice* device) {
    return ChartKit::digitsFont(12, QFont::Medium, device);
}

QFont timeFont(const QPaintDevice* device) {
    return ChartKit::digitsFont(9, QFont::Medium, device);
}

constexpr double changeLineTop = 28;
constexpr double timeTop = 30;
constexpr double stripGap = 9;

double nameLeft(const CardLayout& layout) {
    return layout.pin.right() + 4;
}

} // namespace

void body(QPainter& painter, const CardLayout& layout, bool isDark) {
    const QRectF rect = layout.card.adjusted(0.75, 0.75, -0.75, -0.75);
    QPainterPath path;
    path.addRoundedRect(rect, CardLayout::cornerRadius, CardLayout::cornerRadius);
    painter.fillPath(path, Theme::cardBackground().resolve(isDark));
    painter.strokePath(path, QPen(Theme::cardBorder().resolve(isDark), 1.0));
}

void placeholder(QPainter& painter, const CardLayout& layout, const std::optional<std::string>& text, bool isDark) {
    const QFont font = ChartKit::systemFont(12, QFont::Normal, painter.device());
    ChartKit::draw(painter, CardText::placeholder(text), {layout.card.center().x(), layout.card.center().y()}, font,
                   Theme::textTertiary().resolve(isDark), ChartKit::Align::center);
}

void header(QPainter& painter, const CardLayout& layout, const MarketEntry& entry, std::optional<ChartView> lockedView,
            bool pinPaused, bool isDark) {
    const QPaintDevice* device = painter.device();
    const QRectF& card = layout.card;
    const double top = card.top();
    const double right = card.right() - 12;

    painter.save();
    painter.setOpacity(painter.opacity() * (pinPaused ? 0.95 : 0.72));
    Icons::paint(painter, pinPaused ? Icons::Icon::lockClosed : Icons::Icon::lockOpen, layout.pin,
                 Theme::textPrimary().resolve(isDark));
    painter.restore();

    const double nameX = nameLeft(layout);
    const QSizeF nameSize = ChartKit::draw(painter, CardText::name(entry), {nameX, top + 7},
                                           ChartKit::systemFont(15, QFont::DemiBold, device),
                                           Theme::textPrimary().resolve(isDark), ChartKit::Align::left);
    const double codeX = nameX + nameSize.width() + 6;
    const QSizeF codeSize = ChartKit::draw(painter, QString::fromStdString(entry.item.code), {codeX, top + 10.5},
                                           ChartKit::digitsFont(9, QFont::Medium, device),
                                           Theme::textTertiary().resolve(isDark), ChartKit::Align::left);
    if (lockedView) {
        ChartKit::draw(painter, CardText::lockLabel(lockedView), {codeX + codeSize.width() + 8, top + 10.5},
                       ChartKit::systemFont(9, QFont::Normal, device), withAlpha(Theme::accent().resolve(isDark), 0.85),
                       ChartKit::Align::left);
    }

    if (!entry.quote) {
        ChartKit::draw(painter, QString::fromUtf8(CardText::loading), {right, top + 12},
                       ChartKit::systemFont(11, QFont::Normal, device), Theme::textTertiary().resolve(isDark),
                       ChartKit::Align::right);
        return;
    }
    const Quote& quote = *entry.quote;
    const int decimals = ChartKit::priceDecimals(quote.price);
    const double change = quote.price - quote.prevClose;
    const DynamicColor& tone = change > 0 ? Theme::up() : (change < 0 ? Theme::down() : Theme::flat());
    const QColor colour = tone.resolve(isDark);

    ChartKit::draw(painter, CardText::price(quote), {right, top + 4}, ChartKit::digitsFont(20, QFont::Bold, device),
                   colour, ChartKit::Align::right);
    ChartKit::draw(painter, CardText::changeLine(quote, decimals), {nameX, top + changeLineTop}, changeLineFont(device),
                   colour, ChartKit::Align::left);
    const QString time = CardText::timeText(entry);
    if (!time.isEmpty()) {
        ChartKit::draw(painter, time, {right, top + timeTop}, timeFont(device), Theme::textTertiary().resolve(isDark),
                       ChartKit::Align::right);
    }
    ChartKit::horizontalLine(painter, card.left() + 10, card.right() - 10, top + CardLayout::headerHeight - 3,
                             Theme::divider().resolve(isDark), 0.6);
}

std::optional<HoldingStrip::Placed> holdingsStrip(const CardLayout& layout, const MarketEntry& entry,
                                                  std::size_t dotCount, bool privacy, const QPaintDevice* device) {
    const std::optional<HoldingFigures> figures = Holdings::figures(entry);
    if (!figures) return std::nullopt;
    const QRectF& card = layout.card;
    const Quote& quote = *entry.quote;
    const QString change = CardText::changeLine(quote, ChartKit::priceDecimals(quote.price));
    const QString time = CardText::timeText(entry);
    HoldingStrip::Stretch header;
    header.left = nameLeft(layout) + ChartKit::measure(change, changeLineFont(device), device).width() + stripGap;
    header.right =
        card.right() - 12 - (time.isEmpty() ? 0 : ChartKit::measure(time, timeFont(device), device).width() + stripGap);
    header.top = card.top() + timeTop - 0.5;
    HoldingStrip::Stretch footer;
    footer.left = card.left() + 10;
    footer.right = layout.firstDotX(dotCount) - 8;
    footer.top = card.bottom() - 14.5;
    return HoldingStrip::arrange(*figures, privacy, header, footer, device);
}

void dots(QPainter& painter, const CardLayout& layout, const std::vector<ChartView>& views, ChartView current,
          std::optional<ChartView> lockedView, bool isDark) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor ring = Theme::textSecondary().resolve(isDark);
    for (std::size_t k = 0; k < views.size(); ++k) {
        const QRectF dot = layout.dot(k, views.size());
        if (lockedView && *lockedView == views[k]) {
            painter.setPen(QPen(ring, 1.0));
            painter.setBrush(Qt::NoBrush);
            painter.drawEllipse(dot.adjusted(-3.2, -3.2, 3.2, 3.2));
        }
        painter.setPen(Qt::NoPen);
        painter.setBrush(views[k] == current ? Theme::textPrimary().resolve(isDark)
                                             : Theme::textTertiary().resolve(isDark));
        painter.drawEllipse(dot);
    }
    painter.restore();
}

void counter(QPainter& painter, const CardLayout& layout, int index, int total, bool isDark) {
    const QString text = CardText::counter(index, total);
    if (text.isEmpty()) return;
    ChartKit::draw(painter, text, layout.counterAnchor(), ChartKit::digitsFont(8, QFont::Medium, painter.device()),
                   Theme::textTertiary().resolve(isDark), ChartKit::Align::right);
}

void banner(QPainter& painter, const CardLayout& layout, const std::string& message, bool isDark) {
    const QColor alert = Theme::alert().resolve(isDark);
    QPainterPath shape;
    shape.addRoundedRect(layout.banner(), 5, 5);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    // On the card's own colour first, so chart lines under the banner do not cross its text.
    painter.fillPath(shape, Theme::cardBackground().resolve(isDark));
    painter.fillPath(shape, withAlpha(alert, 0.16));
    painter.strokePath(shape, QPen(withAlpha(alert, 0.45), 0.7));
    painter.restore();
    const QFont font = ChartKit::digitsFont(9, QFont::Medium, painter.device());
    const QPaintDevice* device = painter.device();
    const QString text = CardText::banner(message, layout.bannerTextWidth(), [&](const QString& candidate) {
        return ChartKit::measure(candidate, font, device).width();
    });
    ChartKit::draw(painter, text, layout.bannerTextOrigin(), font, alert, ChartKit::Align::left);
}

void dockPreview(QPainter& painter, const CardLayout& layout, DockSide side) {
    const QColor accent = Theme::accent().resolve(false);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(withAlpha(accent, 0.22));
    painter.drawRoundedRect(layout.dockPreviewHalo(side), 3, 3);
    painter.setBrush(withAlpha(accent, 0.9));
    painter.drawRoundedRect(layout.dockPreviewBar(side), 1.5, 1.5);
    painter.restore();
}

void glow(QPainter& painter, const CardLayout& layout, double alpha, bool isDark) {
    constexpr double width = 2.5;
    // The border lies inside the glow frame, like a layer border.
    const QRectF rect = layout.glow.adjusted(width / 2, width / 2, -width / 2, -width / 2);
    const double radius = CardLayout::cornerRadius - width / 2;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(withAlpha(Theme::alert().resolve(isDark), alpha), width));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(rect, radius, radius);
    painter.restore();
}

} // namespace glimmer::CardPainter
