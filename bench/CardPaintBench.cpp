// Full repaints of the stock card at the default panel size with a full trading day, one per view,
// the same card inside its floating panel (everything the window draws), the holdings line on its
// own, and the repaints an idle card makes while nothing changes.
#include "../tests/ui/CardSamples.h"
#include "card/CardPainter.h"
#include "card/FloatingPanel.h"
#include "card/PanelShadow.h"
#include "card/StockCardView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QLayout>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace glimmer {
namespace {

void ensureCardApplication() {
    if (QCoreApplication::instance()) return;
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "glimmer_ui_bench";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv); // lives for the whole run
}

/// Full repaints of `widget` and its children into one reused image.
void repaintEach(benchmark::State& state, QWidget& widget, double pixelRatio) {
    QImage image(widget.size() * pixelRatio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(pixelRatio);
    for (auto _ : state) {
        image.fill(Qt::transparent);
        widget.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        benchmark::DoNotOptimize(image.constBits());
    }
}

void repaintCard(benchmark::State& state, double pixelRatio, bool held = false) {
    ensureCardApplication();
    StockCardView card;
    card.resize(samples::panelWidth, samples::panelHeight);
    card.setEntry(held ? samples::heldEntry(true) : samples::cardEntry(true));
    card.setTotal(6);
    card.setView(ChartViews::byNumber.at(std::size_t(state.range(0))));
    card.applyView(false);
    repaintEach(state, card, pixelRatio);
    state.SetLabel(std::string("view ") + std::to_string(state.range(0)));
}

void BM_CardFullRepaint(benchmark::State& state) {
    repaintCard(state, 1);
}
BENCHMARK(BM_CardFullRepaint)->DenseRange(0, 4)->Unit(benchmark::kMicrosecond);

// The same card on a 2x (Retina-class) display.
void BM_CardFullRepaint2x(benchmark::State& state) {
    repaintCard(state, 2);
}
BENCHMARK(BM_CardFullRepaint2x)->DenseRange(0, 4)->Unit(benchmark::kMicrosecond);

// The whole panel window: the card and whatever the panel itself paints around it.
void BM_PanelFullRepaint(benchmark::State& state) {
    ensureCardApplication();
    const double pixelRatio = double(state.range(0));
    FloatingPanel panel({100, 100, samples::panelWidth, samples::panelHeight});
    auto* card = new StockCardView;
    card->resize(samples::panelWidth, samples::panelHeight);
    card->setEntry(samples::cardEntry(true));
    card->setTotal(6);
    card->applyView(false);
    panel.setContentView(card);
    panel.layout()->activate();
    repaintEach(state, panel, pixelRatio);
    state.SetLabel(std::to_string(state.range(0)) + "x");
}
BENCHMARK(BM_PanelFullRepaint)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// The panel's shadow alone around a default card body, after its tile is made once.
void BM_PanelShadowPaint(benchmark::State& state) {
    ensureCardApplication();
    const double pixelRatio = double(state.range(0));
    const QMargins margins = PanelShadow::margins({});
    const QRectF body(margins.left(), margins.top(), 350, 216);
    QImage image(
        (QSizeF(350 + margins.left() + margins.right(), 216 + margins.top() + margins.bottom()) * pixelRatio).toSize(),
        QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(pixelRatio);
    PanelShadow shadow;
    for (auto _ : state) {
        image.fill(Qt::transparent);
        QPainter painter(&image);
        shadow.paint(painter, body, 13, false);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetLabel(std::to_string(state.range(0)) + "x");
}
BENCHMARK(BM_PanelShadowPaint)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// The intraday card of a held stock: the same repaint plus the holdings line.
void BM_CardFullRepaintHeld(benchmark::State& state) {
    repaintCard(state, 1, true);
}
BENCHMARK(BM_CardFullRepaintHeld)->Arg(0)->Unit(benchmark::kMicrosecond);

// The holdings line alone at the default size (header line) and the minimum size (footer):
// measuring its forms, choosing one and drawing it.
void BM_HoldingStripPaint(benchmark::State& state) {
    ensureCardApplication();
    const QSize size = state.range(0) == 0
                           ? QSize(samples::panelWidth, samples::panelHeight)
                           : QSize(int(CardLayout::minimumPanelWidth), int(CardLayout::minimumPanelHeight));
    const CardLayout layout{QSizeF(size)};
    const MarketEntry entry = samples::heldEntry(true);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    for (auto _ : state) {
        const auto strip = CardPainter::holdingsStrip(layout, entry, 5, false, &image);
        if (strip) HoldingStrip::paint(painter, *strip, false);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetLabel(state.range(0) == 0 ? "default size, header line" : "minimum size, footer");
}
BENCHMARK(BM_HoldingStripPaint)->DenseRange(0, 1)->Unit(benchmark::kMicrosecond);

// A shown card with data, pointer outside, nothing changing: counts its paint passes over a few
// seconds of a running event loop and reports them per minute.
void BM_CardIdleRepaints(benchmark::State& state) {
    ensureCardApplication();
    StockCardView card;
    card.resize(samples::panelWidth, samples::panelHeight);
    card.setEntry(samples::cardEntry(true));
    card.setTotal(6);
    card.show();
    QElapsedTimer warmUp;
    warmUp.start();
    while (warmUp.elapsed() < 300) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    double seconds = 0;
    long paints = 0;
    for (auto _ : state) {
        const long before = card.paintCount();
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 3000) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        paints += card.paintCount() - before;
        seconds += double(timer.elapsed()) / 1000;
    }
    state.counters["repaints_per_minute"] = seconds > 0 ? double(paints) / seconds * 60 : 0;
}
BENCHMARK(BM_CardIdleRepaints)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace glimmer
