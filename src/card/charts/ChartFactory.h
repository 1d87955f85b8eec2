#pragma once

#include "model/ChartView.h"

class QWidget;

namespace glimmer {

class ChartWidget;

/// A new chart widget for `view`, owned by `parent`.
ChartWidget* makeChart(ChartView view, QWidget* parent);

} // namespace glimmer
