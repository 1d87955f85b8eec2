#pragma once

#include "card/charts/ChartWidget.h"
#include "card/charts/KLineGeometry.h"

#include <optional>
#include <vector>

namespace glimmer {

/// Recent daily candles with moving-average lines and a two-row legend of their latest values.
class KLineView : public ChartWidget {
    Q_OBJECT

public:
    static constexpr double legendHeight = KLineGeometry::legendHeight;

    explicit KLineView(QWidget* parent = nullptr);

    void setEntry(const MarketEntry& entry) override;
    bool hasData() const override;

    SharedSeries<DailyBar> bars;
    std::vector<int> periods = defaultMovingAveragePeriods();

protected:
    void paintData(QPainter& painter, QSizeF size, bool isDark) const override;
};

} // namespace glimmer
