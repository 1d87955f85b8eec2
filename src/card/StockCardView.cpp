#include "card/StockCardView.h"

#include "card/CardButton.h"
#include "card/CardPainter.h"
#include "card/CardText.h"
#include "card/ChartKit.h"
#include "card/FloatingPanel.h"
#include "card/MinimalSlider.h"
#include "card/ScreenSpace.h"
#include "card/Theme.h"
#include "card/charts/ChartFactory.h"
#include "card/charts/ChartWidget.h"

#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <QWheelEvent>

#include <cmath>

namespace glimmer {

namespace {

QString expandTip() {
    return CardText::withKeys("展开所有副图", HotKeyKeys::expandKeys);
}
QString collapseTip() {
    return CardText::withKeys("收起副图", HotKeyKeys::expandKeys);
}
QString overviewTip() {
    return CardText::withKeys("全览所有股票", HotKeyKeys::overviewKeys);
}
QString closeOverviewTip() {
    return CardText::withKeys("收起全览", HotKeyKeys::overviewKeys);
}

CardButton* makeButton(QWidget* parent, Icons::Icon icon, const QString& accessible, const QString& tip) {
    auto* button = new CardButton(icon, parent);
    button->setAccessibleName(accessible);
    button->setToolTip(tip);
    return button;
}

} // namespace

StockCardView::StockCardView(QWidget* parent, const Clock& clock, const ScreenSource& screens)
    : QWidget(parent), screenSource(screens),
      closer(makeButton(this, Icons::Icon::xmark, QStringLiteral("关闭"), QStringLiteral("收起到菜单栏"))),
      expander(makeButton(this, Icons::Icon::split1x2, QStringLiteral("展开副图"), expandTip())),
      overviewer(makeButton(this, Icons::Icon::split2x2, QStringLiteral("全览所有股票"), overviewTip())),
      slider(new MinimalSlider(this)), animations(this), machine(*this, *this, clock) {
    setAttribute(Qt::WA_TranslucentBackground);
    setMouseTracking(true);
    // The charts keep the data; the card paints them itself so one frame can cross-fade them.
    for (const ChartView view : ChartViews::order) {
        ChartWidget* made = makeChart(view, this);
        made->hide();
        charts[std::size_t(ChartViews::stored(view))] = made;
    }

    closer->onClick = [this] { notify(onClose); };
    expander->onClick = [this] { notify(onToggleExpand); };
    overviewer->onClick = [this] { notify(onToggleOverview); };

    slider->setMinValue(0.25);
    slider->setMaxValue(1.0);
    slider->setValue(0.55);
    slider->setToolTip(QStringLiteral("浮窗透明度"));
    slider->onChange = [this](double value) { notify(onOpacityChange, value); };
    slider->onCommit = [this] { notify(onOpacityCommit); };

    singleClickTimer.setSingleShot(true);
    singleClickTimer.setTimerType(Qt::PreciseTimer);
    connect(&singleClickTimer, &QTimer::timeout, this, [this] { machine.runDueSingleClick(); });

    animations.onChartsChanged = [this] { update(layout().charts.toAlignedRect()); };
    animations.onControlsChanged = [this] { applyControlAlphas(); };
    animations.onGlowChanged = [this] {
        if (isAlertActive) update(glowRing());
    };
    applyControlAlphas();
    updateButtonLooks();
}

StockCardView::~StockCardView() = default;

void StockCardView::setEntry(std::optional<MarketEntry> entry) {
    // A pass that changed nothing for this security repaints nothing.
    if (entry == currentEntry) return;
    currentEntry = std::move(entry);
    syncCharts();
    update();
}

void StockCardView::setView(ChartView view) {
    if (view == currentView) return;
    currentView = view;
    update();
    syncCharts();
    applyView(true);
}

void StockCardView::setIndex(int index) {
    if (index == currentIndex) return;
    currentIndex = index;
    update();
}

void StockCardView::setTotal(int total) {
    if (total == currentTotal) return;
    currentTotal = total;
    update();
}

void StockCardView::setAlertActive(bool active) {
    if (active == isAlertActive) return;
    isAlertActive = active;
    updateGlow();
    update();
}

void StockCardView::setAlertMessage(std::optional<std::string> message) {
    if (message == currentAlertMessage) return;
    currentAlertMessage = std::move(message);
    update();
}

void StockCardView::setDockPreviewSide(std::optional<DockSide> side) {
    if (side == previewSide) return;
    previewSide = side;
    update();
}

void StockCardView::setPinPaused(bool paused) {
    if (paused == isPinPaused) return;
    isPinPaused = paused;
    update();
}

void StockCardView::setLockedView(std::optional<ChartView> view) {
    if (view == currentLockedView) return;
    currentLockedView = view;
    update();
}

void StockCardView::setOpacitySliderEnabled(bool enabled) {
    if (enabled == isSliderEnabled) return;
    isSliderEnabled = enabled;
    // Under the pointer the slider follows the switch at once, like the other hover controls.
    if (hovering) animations.fadeControls(1, enabled ? 1 : 0);
    update();
}

void StockCardView::setPlaceholderText(std::optional<std::string> text) {
    if (text == currentPlaceholder) return;
    currentPlaceholder = std::move(text);
    update();
}

void StockCardView::setExpandMode(bool on) {
    if (on == inExpandMode) return;
    inExpandMode = on;
    updateButtonLooks();
    update();
}

void StockCardView::setOverviewMode(bool on) {
    if (on == inOverviewMode) return;
    inOverviewMode = on;
    updateButtonLooks();
    update();
}

void StockCardView::setPrivacyMode(bool on) {
    if (on == isPrivacyMode) return;
    isPrivacyMode = on;
    update();
}

void StockCardView::setEnabledViews(std::vector<ChartView> views) {
    currentEnabledViews = views.empty() ? std::vector<ChartView>{ChartView::intraday} : std::move(views);
    update();
}

void StockCardView::syncCharts() {
    if (!currentEntry) return;
    for (ChartWidget* chart : charts) chart->setEntry(*currentEntry);
    update(layout().charts.toAlignedRect());
}

void StockCardView::applyView(bool animated) {
    // Off screen there is nothing to animate: the new chart simply shows.
    if (animated && isVisible()) {
        animations.crossFadeTo(currentView);
    } else {
        animations.showOnly(currentView);
    }
}

void StockCardView::updateGlow() {
    if (!isAlertActive) {
        animations.stopBreathing();
    } else {
        animations.startBreathing();
        if (!isVisible()) animations.settle(); // starts breathing when shown
    }
    update();
}

QRegion StockCardView::glowRing() const {
    const QRect outer = layout().glow.toAlignedRect();
    QRegion ring = QRegion(outer).subtracted(QRegion(outer.adjusted(4, 4, -4, -4)));
    // The rounded border bends up to about 6 px in at the corners; the pin starts 8.5 px in, so a
    // breath never has to redraw it.
    constexpr int corner = 8;
    for (const QPoint& at : {outer.topLeft(), QPoint(outer.right() - corner + 1, outer.top()),
                             QPoint(outer.left(), outer.bottom() - corner + 1),
                             QPoint(outer.right() - corner + 1, outer.bottom() - corner + 1)}) {
        ring += QRect(at, QSize(corner, corner));
    }
    return ring;
}

void StockCardView::pulseCharts() {
    if (isVisible()) animations.pulse();
}

std::vector<ChartView> StockCardView::enabledSequence() const {
    return ViewSequence::enabledSequence(currentEnabledViews);
}

ChartView StockCardView::nextView() const {
    return ViewSequence::nextView(currentView, enabledSequence());
}

std::optional<ChartView> StockCardView::viewAfterCurrent() const {
    return ViewSequence::viewAfter(currentView, enabledSequence());
}

void StockCardView::prepareForPreview(double opacity) {
    applyView(false);
    slider->setValue(opacity);
    animations.setControls(1, isSliderEnabled ? 1 : 0);
}

void StockCardView::applyControlAlphas() {
    const double buttons = animations.buttonsAlpha();
    for (CardButton* button : {closer, expander, overviewer}) button->setAlpha(buttons);
    const double sliderAlpha = animations.sliderAlpha();
    slider->setAlpha(sliderAlpha);
    // A faint control must not swallow clicks meant for the card under it.
    slider->setAttribute(Qt::WA_TransparentForMouseEvents, sliderAlpha < CardButton::clickableAlpha);
}

void StockCardView::updateButtonLooks() {
    const QColor accent = Theme::accent().resolve(false);
    expander->setTint(inExpandMode ? accent : QColor(Qt::white));
    expander->setToolTip(inExpandMode ? collapseTip() : expandTip());
    overviewer->setTint(inOverviewMode ? accent : QColor(Qt::white));
    overviewer->setToolTip(inOverviewMode ? closeOverviewTip() : overviewTip());
}

void StockCardView::paintEvent(QPaintEvent* event) {
    ++paints;
    QPainter painter(this);
    ChartKit::prepare(painter);
    const bool dark = Theme::isDark(this);
    const CardLayout l = layout();
    const QRegion& dirty = event->region();
    frames.paintBody(painter, l, dirty, dark);
    paintContent(painter, l, dirty, isAlertActive && dirty.subtracted(glowRing()).isEmpty(), dark);
    if (previewSide) CardPainter::dockPreview(painter, l, *previewSide);
    if (isAlertActive) frames.paintGlow(painter, l, dirty, animations.glowAlpha(), dark);
}

void StockCardView::paintContent(QPainter& painter, const CardLayout& l, const QRegion& dirty, bool breathOnly,
                                 bool dark) const {
    // Cross-fades repaint only the charts: parts they miss are skipped rather than drawn and
    // clipped away, since text shaping is most of a frame's cost. A breath of the glow repaints its
    // ring several times a second; only the footer's dots reach into it.
    const auto touches = [&](const QRectF& area) { return dirty.intersects(area.toAlignedRect()); };
    if (!currentEntry) {
        if (!breathOnly) CardPainter::placeholder(painter, l, currentPlaceholder, dark);
        return;
    }
    const std::vector<ChartView> sequence = enabledSequence();
    if (!inExpandMode && touches(l.footerArea())) {
        CardPainter::dots(painter, l, sequence, currentView, currentLockedView, dark);
        if (!breathOnly) CardPainter::counter(painter, l, currentIndex, currentTotal, dark);
    }
    if (breathOnly) return;
    if (touches(l.headerArea())) {
        CardPainter::header(painter, l, *currentEntry, currentLockedView, isPinPaused, dark);
    }
    paintHoldings(painter, l, sequence.size(), dirty, dark);
    if (touches(l.charts)) paintCharts(painter, l, dark);
    // Over the chart, so the message stays readable.
    if (currentAlertMessage && !currentAlertMessage->empty() && touches(l.banner().adjusted(-1, -1, 1, 1))) {
        CardPainter::banner(painter, l, *currentAlertMessage, dark);
    }
}

void StockCardView::paintHoldings(QPainter& painter, const CardLayout& l, std::size_t dotCount, const QRegion& dirty,
                                  bool isDark) const {
    // Measuring the strip costs more than skipping it on the repaints of a chart fade.
    const auto touches = [&](const QRectF& area) { return dirty.intersects(area.toAlignedRect()); };
    if (!touches(l.headerArea()) && !touches(l.footerArea())) return;
    const std::optional<HoldingStrip::Placed> strip =
        CardPainter::holdingsStrip(l, *currentEntry, dotCount, isPrivacyMode, painter.device());
    if (!strip) return;
    if (touches(strip->slot == HoldingStrip::Slot::header ? l.headerArea() : l.footerArea())) {
        HoldingStrip::paint(painter, *strip, isDark);
    }
}

void StockCardView::paintCharts(QPainter& painter, const CardLayout& l, bool isDark) const {
    for (const ChartWidget* chart : charts) {
        const double alpha = animations.chartAlpha(chart->view());
        if (!animations.isChartShown(chart->view()) || alpha <= 0) continue;
        painter.save();
        painter.setOpacity(alpha);
        painter.translate(l.charts.topLeft());
        painter.setClipRect(QRectF(QPointF(0, 0), l.charts.size()), Qt::IntersectClip);
        chart->paintChart(painter, l.charts.size(), isDark);
        painter.restore();
    }
}

void StockCardView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const CardLayout l = layout();
    closer->setGeometry(l.closeButton.toRect());
    expander->setGeometry(l.expandButton.toRect());
    overviewer->setGeometry(l.overviewButton.toRect());
    slider->setGeometry(l.slider.toRect());
    applyView(false);
}

Point StockCardView::screenPoint(QPointF global) const {
    const Rect r = ScreenSpace::of(screenSource).fromGlobal(QRectF(global, QSizeF(0, 0)));
    return {r.x, r.y};
}

void StockCardView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        notify(onContextMenu, *event);
        return;
    }
    if (event->button() != Qt::LeftButton) return;
    machine.press(event->position(), screenPoint(event->globalPosition()), 1);
}

void StockCardView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        mousePressEvent(event);
        return;
    }
    machine.press(event->position(), screenPoint(event->globalPosition()), 2);
}

void StockCardView::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton) {
        machine.drag(screenPoint(event->globalPosition()));
    } else {
        updateCursor(event->position());
    }
}

void StockCardView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    machine.release(event->position());
}

void StockCardView::wheelEvent(QWheelEvent* event) {
    const QPointF delta = event->pixelDelta().isNull() ? QPointF(event->angleDelta()) / 120.0 * pointsPerWheelNotch
                                                       : QPointF(event->pixelDelta());
    if (machine.scroll(delta.x(), delta.y())) {
        event->accept();
    } else {
        event->ignore();
    }
}

void StockCardView::updateCursor(QPointF p) {
    const ResizeEdge edge = layout().resizeEdge(p);
    Qt::CursorShape shape = Qt::ArrowCursor;
    if (edge.isCorner()) {
        shape = Qt::CrossCursor;
    } else if (edge.contains(ResizeEdge::left) || edge.contains(ResizeEdge::right)) {
        shape = Qt::SizeHorCursor;
    } else if (!edge.isEmpty()) {
        shape = Qt::SizeVerCursor;
    }
    if (shape == cursorShape) return;
    cursorShape = shape;
    setCursor(shape);
}

void StockCardView::enterEvent(QEnterEvent* event) {
    QWidget::enterEvent(event);
    hovering = true;
    notify(onHoverChange, true);
    animations.fadeControls(1, isSliderEnabled ? 1 : animations.sliderAlpha());
}

void StockCardView::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    hovering = false;
    notify(onHoverChange, false);
    animations.fadeControls(0, 0);
}

void StockCardView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    animations.resumeBreathing();
}

void StockCardView::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    animations.settle();
}

std::vector<ChartView> StockCardView::dotViews() const {
    // In expand mode no dots are drawn, yet double clicks on their squares keep their meaning.
    return enabledSequence();
}

std::optional<Rect> StockCardView::windowFrame() const {
    QWidget* top = window();
    if (auto* panel = qobject_cast<FloatingPanel*>(top)) return panel->frame();
    return ScreenSpace::of(screenSource).fromGlobal(top->geometry());
}

void StockCardView::setWindowFrame(const Rect& frame) {
    QWidget* top = window();
    if (auto* panel = qobject_cast<FloatingPanel*>(top)) {
        panel->setFrame(frame);
    } else {
        top->setGeometry(ScreenSpace::of(screenSource).toGlobal(frame));
    }
}

std::vector<Screen> StockCardView::screens() const {
    return currentScreens(screenSource);
}

void StockCardView::armSingleClickTimer(double seconds) {
    singleClickTimer.start(std::max(0, int(std::ceil(seconds * 1000))));
}

void StockCardView::cancelSingleClickTimer() {
    singleClickTimer.stop();
}

} // namespace glimmer
