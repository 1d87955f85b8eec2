#pragma once

#include "card/charts/ChartWidget.h"
#include "card/charts/FlowGeometry.h"

#include <optional>
#include <vector>

namespace glimmer {

/// Cumulative main-force and retail net inflow of the day and the gap between them.
class FlowView : public ChartWidget {
    Q_OBJECT

public:
    static constexpr double axisWidth = FlowGeometry::axisWidth;
    static constexpr double bottomInset = FlowGeometry::bottomInset;

    explicit FlowView(QWidget* parent = nullptr);

    void setEntry(const MarketEntry& entry) override;
    bool hasData() const override;

    SharedSeries<FlowPoint> flow;

protected:
    void paintData(QPainter& painter, QSizeF size, bool isDark) const override;
};

} // namespace glimmer
