#include "card/charts/ChartFactory.h"

#include "card/charts/FlowView.h"
#include "card/charts/IntradayView.h"
#include "card/charts/KLineView.h"
#include "card/charts/MACDView.h"
#include "card/charts/VolumeView.h"

namespace glimmer {

ChartWidget* makeChart(ChartView view, QWidget* parent) {
    switch (view) {
    case ChartView::intraday:
        return new IntradayView(parent);
    case ChartView::macd:
        return new MACDView(parent);
    case ChartView::fundFlow:
        return new FlowView(parent);
    case ChartView::dailyCandles:
        return new KLineView(parent);
    case ChartView::volume:
        return new VolumeView(parent);
    }
    return new IntradayView(parent);
}

} // namespace glimmer
