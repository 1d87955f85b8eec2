// Painting cost of each chart with a full trading day, into an image of the card's chart area.
#include "../tests/ui/ChartSamples.h"
#include "card/charts/FlowView.h"
#include "card/charts/IntradayView.h"
#include "card/charts/KLineView.h"
#include "card/charts/MACDView.h"
#include "card/charts/VolumeView.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>

namespace glimmer {
namespace {

const QSizeF chartArea{336, 149};

void ensureApplication() {
    if (QCoreApplication::instance()) return;
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "glimmer_ui_bench";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv); // lives for the whole run
}

template <typename View> void paintLoop(benchmark::State& state, const View& view) {
    const double ratio = double(state.range(0));
    QImage image((chartArea * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    for (auto _ : state) {
        // Transparent premultiplied pixels are all zero; memset keeps Qt's threaded fill out of the timing.
        std::memset(image.bits(), 0, std::size_t(image.sizeInBytes()));
        QPainter painter(&image);
        view.paintChart(painter, chartArea, false);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_IntradayPaint(benchmark::State& state) {
    ensureApplication();
    const auto day = samples::stockDay(true);
    IntradayView view;
    view.quote = day.quote;
    view.minutes = day.minutes;
    paintLoop(state, view);
}

void BM_VolumePaint(benchmark::State& state) {
    ensureApplication();
    const auto day = samples::stockDay(true);
    VolumeView view;
    view.quote = day.quote;
    view.minutes = day.minutes;
    paintLoop(state, view);
}

void BM_MACDPaint(benchmark::State& state) {
    ensureApplication();
    MACDView view;
    view.minutes = samples::stockDay(false).minutes;
    paintLoop(state, view);
}

void BM_FlowPaint(benchmark::State& state) {
    ensureApplication();
    FlowView view;
    view.flow = samples::stockDay(true).flow;
    paintLoop(state, view);
}

void BM_KLinePaint(benchmark::State& state) {
    ensureApplication();
    KLineView view;
    view.bars = samples::dailyBars(500); // two years of candles, seven averages
    paintLoop(state, view);
}

BENCHMARK(BM_IntradayPaint)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_VolumePaint)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MACDPaint)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FlowPaint)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KLinePaint)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace glimmer
