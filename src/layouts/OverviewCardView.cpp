#include "layouts/OverviewCardView.h"

#include "card/CardButton.h"
#include "card/CardFades.h"
#include "card/CardText.h"
#include "card/ChartKit.h"
#include "card/HoldingStrip.h"
#include "card/MinimalSlider.h"
#include "card/Theme.h"
#include "card/charts/ChartFactory.h"
#include "card/charts/ChartWidget.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWheelEvent>

#include <algorithm>

namespace glimmer {

namespace {

CardButton* makeButton(QWidget* parent, Icons::Icon icon, const QString& accessible, const QString& tip) {
    auto* button = new CardButton(icon, parent);
    button->setAccessibleName(accessible);
    button->setToolTip(tip);
    return button;
}

/// The colour at `alpha`, whatever alpha it had.
QColor atAlpha(QColor colour, double alpha) {
    colour.setAlphaF(float(alpha));
    return colour;
}

} // namespace

OverviewCardView::OverviewCardView(Style style, QWidget* parent)
    : QWidget(parent), cardStyle(style),
      eye(makeButton(this, Icons::Icon::eye, QStringLiteral("隐藏"), QStringLiteral("隐藏这只股票（设置里可恢复）"))) {
    setAttribute(Qt::WA_TranslucentBackground);
    setMouseTracking(true);
    for (const ChartView view : ChartViews::order)
        charts[std::size_t(ChartViews::stored(view))] = makeChart(view, this);
    eye->onClick = [this] {
        if (currentEntry && onHideItem) onHideItem(currentEntry->item.code);
    };
    if (cardStyle == Style::header) {
        closer = makeButton(this, Icons::Icon::xmark, QStringLiteral("关闭"), QStringLiteral("收起到菜单栏"));
        expander = makeButton(this, Icons::Icon::split1x2, QStringLiteral("展开副图"),
                              CardText::withKeys("展开所有副图", HotKeyKeys::expandKeys));
        overviewer = makeButton(this, Icons::Icon::split2x2, QStringLiteral("收起全览"),
                                CardText::withKeys("收起全览", HotKeyKeys::overviewKeys));
        closer->onClick = [this] {
            if (onClose) onClose();
        };
        expander->onClick = [this] {
            if (onToggleExpand) onToggleExpand();
        };
        overviewer->onClick = [this] {
            if (onToggleOverview) onToggleOverview();
        };
        slider = new MinimalSlider(this);
        slider->setMinValue(0.25);
        slider->setMaxValue(1.0);
        slider->setValue(0.55);
        slider->setToolTip(QStringLiteral("浮窗透明度"));
        slider->onChange = [this](double value) {
            if (onOpacityChange) onOpacityChange(value);
        };
    }
    fade.setDuration(hoverFadeMs);
    fade.setEasingCurve(CardFades::easeInEaseOut());
    connect(&fade, &QVariantAnimation::valueChanged, this,
            [this](const QVariant& value) { setControlsAlpha(value.toDouble()); });
    setControlsAlpha(0);
    showChart();
    layoutChildren();
}

OverviewCardView::~OverviewCardView() = default;

QRectF OverviewCardView::bodyRect(Style style, QSizeF size) {
    if (style == Style::plain) return {0, 0, size.width(), size.height()};
    return {leftGutter, topStrip, std::max(size.width() - leftGutter, 10.0), std::max(size.height() - topStrip, 10.0)};
}

QMarginsF OverviewCardView::bodyInsets() const {
    if (cardStyle == Style::plain) return {};
    return {leftGutter, topStrip, 0, 0};
}

QRectF OverviewCardView::chartRect(const QRectF& body) {
    return {body.left() + 8, body.top() + headerHeight, std::max(body.width() - 16, 10.0),
            std::max(body.height() - headerHeight - footerHeight, 10.0)};
}

QString OverviewCardView::priceText(const Quote& quote) {
    return CardText::price(quote);
}

QString OverviewCardView::changeText(const Quote& quote) {
    return CardText::changeLine(quote, ChartKit::priceDecimals(quote.price));
}

QString OverviewCardView::positionText(int index, int total) {
    if (total <= 0) return {};
    return QString::number(index + 1) + QStringLiteral("/") + QString::number(total);
}

void OverviewCardView::setEntry(std::optional<MarketEntry> entry) {
    if (entry == currentEntry) return;
    currentEntry = std::move(entry);
    syncCharts();
    update();
}

void OverviewCardView::setView(ChartView view) {
    currentView = view;
    showChart();
    syncCharts();
    update();
}

void OverviewCardView::setPosition(int index, int total) {
    if (index == currentIndex && total == currentTotal) return;
    currentIndex = index;
    currentTotal = total;
    update();
}

void OverviewCardView::setOverviewActive(bool active) {
    isOverviewActive = active;
    if (overviewer != nullptr) overviewer->setTint(active ? Theme::accent().resolve(false) : QColor(Qt::white));
}

void OverviewCardView::setOpacityValue(double value) {
    if (slider != nullptr) slider->setValue(value);
}

void OverviewCardView::setPrivacyMode(bool on) {
    if (on == isPrivacyMode) return;
    isPrivacyMode = on;
    update();
}

void OverviewCardView::prepareForPreview(double opacity) {
    fade.stop();
    setOpacityValue(opacity);
    setControlsAlpha(1);
}

void OverviewCardView::showChart() {
    for (ChartWidget* each : charts) each->setVisible(each->view() == currentView);
}

void OverviewCardView::syncCharts() {
    if (!currentEntry) return;
    for (ChartWidget* each : charts) each->setEntry(*currentEntry);
    chart(currentView)->update();
}

void OverviewCardView::layoutChildren() {
    const QRectF body = bodyRect(cardStyle, size());
    const QRect chart = chartRect(body).toRect();
    for (ChartWidget* each : charts) each->setGeometry(chart);
    eye->setGeometry(QRectF(body.right() - 24, body.top() + 5, 16, 16).toRect());
    if (cardStyle != Style::header) return;
    const double mid = body.center().x();
    closer->setGeometry(QRectF(mid - 9, 4, 18, 18).toRect());
    expander->setGeometry(QRectF(mid - 33, 4, 18, 18).toRect());
    overviewer->setGeometry(QRectF(mid - 57, 4, 18, 18).toRect());
    // As wide as the main card's slider: narrower would clip its knob to a sliver.
    slider->setGeometry(QRectF(9, body.top() + 12, MinimalSlider::width, std::max(body.height() - 24, 40.0)).toRect());
}

void OverviewCardView::setControlsAlpha(double alpha) {
    controls = alpha;
    for (CardButton* button : {eye, closer, expander, overviewer}) {
        if (button != nullptr) button->setAlpha(alpha);
    }
    if (slider != nullptr) {
        slider->setAlpha(alpha);
        // A faint slider must not swallow clicks meant for the card.
        slider->setAttribute(Qt::WA_TransparentForMouseEvents, alpha < CardButton::clickableAlpha);
    }
}

void OverviewCardView::fadeControls(double target) {
    fade.stop();
    fade.setStartValue(controls);
    fade.setEndValue(target);
    fade.start();
}

void OverviewCardView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutChildren();
}

void OverviewCardView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    if (onFocusRequest) onFocusRequest();
}

void OverviewCardView::wheelEvent(QWheelEvent* event) {
    const double delta = event->pixelDelta().isNull() ? event->angleDelta().y() / 120.0 * pointsPerWheelNotch
                                                      : double(event->pixelDelta().y());
    if (delta == 0) {
        event->ignore();
        return;
    }
    if (onScroll) onScroll(delta);
    event->accept();
}

void OverviewCardView::enterEvent(QEnterEvent* event) {
    QWidget::enterEvent(event);
    hovering = true;
    update();
    fadeControls(1);
    if (onHover) onHover(true);
}

void OverviewCardView::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    fadeControls(0);
    hovering = false;
    update();
    if (onHover) onHover(false);
}

void OverviewCardView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    ChartKit::prepare(painter);
    const QPaintDevice* device = painter.device();
    const bool dark = Theme::isDark(this);
    const QRectF body = bodyRect(cardStyle, size());

    QPainterPath path;
    path.addRoundedRect(body.adjusted(0.75, 0.75, -0.75, -0.75), cornerRadius, cornerRadius);
    painter.fillPath(path, Theme::cardBackground().resolve(dark));
    const QColor border = Theme::cardBorder().resolve(dark);
    // Hovering strengthens the outline: the border colour at 30 % alpha, up from its own 14 % or 10 %.
    painter.strokePath(path, QPen(hovering ? atAlpha(border, 0.3) : border, 1.0));

    if (!currentEntry) {
        ChartKit::draw(painter, QString::fromUtf8(CardText::loading), {width() / 2.0, height() / 2.0 - 7},
                       ChartKit::systemFont(11, QFont::Normal, device), Theme::textTertiary().resolve(dark),
                       ChartKit::Align::center);
        return;
    }
    const MarketEntry& e = *currentEntry;
    const QSizeF nameSize = ChartKit::draw(painter, CardText::name(e), {body.left() + 10, body.top() + 5},
                                           ChartKit::systemFont(13, QFont::DemiBold, device),
                                           Theme::textPrimary().resolve(dark), ChartKit::Align::left);
    ChartKit::draw(
        painter, QString::fromStdString(e.item.code), {body.left() + 10 + nameSize.width() + 5, body.top() + 8},
        ChartKit::digitsFont(8.5, QFont::Medium, device), Theme::textTertiary().resolve(dark), ChartKit::Align::left);

    double changeWidth = 0;
    if (e.quote) {
        const Quote& quote = *e.quote;
        const double change = quote.price - quote.prevClose;
        const DynamicColor& tone = change > 0 ? Theme::up() : (change < 0 ? Theme::down() : Theme::flat());
        const QColor colour = tone.resolve(dark);
        ChartKit::draw(painter, priceText(quote), {body.right() - 28, body.top() + 3},
                       ChartKit::digitsFont(15, QFont::Bold, device), colour, ChartKit::Align::right);
        changeWidth = ChartKit::draw(painter, changeText(quote), {body.left() + 10, body.top() + 22},
                                     ChartKit::digitsFont(11, QFont::Normal, device), colour, ChartKit::Align::left)
                          .width();
        ChartKit::horizontalLine(painter, body.left() + 10, body.right() - 10, body.top() + 37,
                                 Theme::divider().resolve(dark), 0.6);
    } else {
        ChartKit::draw(painter, QStringLiteral("—"), {body.right() - 28, body.top() + 5},
                       ChartKit::digitsFont(15, QFont::Bold, device), Theme::textTertiary().resolve(dark),
                       ChartKit::Align::right);
    }

    const double nameWidth =
        ChartKit::draw(painter, QString::fromUtf8(ChartViews::label(currentView)),
                       {body.left() + 10, body.bottom() - 14}, ChartKit::systemFont(8.5, QFont::Medium, device),
                       Theme::textSecondary().resolve(dark), ChartKit::Align::left)
            .width();
    const QString position = positionText(currentIndex, currentTotal);
    double positionWidth = 0;
    if (!position.isEmpty()) {
        positionWidth = ChartKit::draw(painter, position, {body.right() - 10, body.bottom() - 14},
                                       ChartKit::digitsFont(8, QFont::Medium, device),
                                       Theme::textTertiary().resolve(dark), ChartKit::Align::right)
                            .width();
    }
    paintHoldings(painter, body, changeWidth, nameWidth, positionWidth, dark);
}

void OverviewCardView::paintHoldings(QPainter& painter, const QRectF& body, double changeWidth, double nameWidth,
                                     double positionWidth, bool isDark) const {
    const std::optional<HoldingFigures> figures = Holdings::figures(*currentEntry);
    if (!figures) return;
    constexpr double gap = 9;
    HoldingStrip::Stretch header{body.left() + 10 + changeWidth + gap, body.right() - 10, body.top() + 23, true};
    HoldingStrip::Stretch footer{body.left() + 10 + nameWidth + gap,
                                 body.right() - 10 - (positionWidth > 0 ? positionWidth + gap : 0),
                                 body.bottom() - 14.5, false};
    const auto strip = HoldingStrip::arrange(*figures, isPrivacyMode, header, footer, painter.device());
    if (strip) HoldingStrip::paint(painter, *strip, isDark);
}

} // namespace glimmer
