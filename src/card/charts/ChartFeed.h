#pragma once

#include "model/MarketEntry.h"

namespace glimmer {

class FlowView;
class IntradayView;
class KLineView;
class MACDView;
class VolumeView;

/// Hands one security's series to the five chart views of a card (each keeps its own copy).
void feedCharts(const MarketEntry& entry, IntradayView& intraday, MACDView& macd, FlowView& flow, KLineView& kline,
                VolumeView& volume);

} // namespace glimmer
