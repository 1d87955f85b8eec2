#include "card/charts/ChartFeed.h"

#include "card/charts/FlowView.h"
#include "card/charts/IntradayView.h"
#include "card/charts/KLineView.h"
#include "card/charts/MACDView.h"
#include "card/charts/VolumeView.h"

namespace glimmer {

void feedCharts(const MarketEntry& entry, IntradayView& intraday, MACDView& macd, FlowView& flow, KLineView& kline,
                VolumeView& volume) {
    intraday.quote = entry.quote;
    intraday.minutes = entry.minutes;
    macd.minutes = entry.minutes;
    flow.flow = entry.flow;
    flow.minutes = entry.minutes;
    kline.bars = entry.daily;
    volume.quote = entry.quote;
    volume.minutes = entry.minutes;
}

} // namespace glimmer
