#pragma once

#include "card/charts/ChartWidget.h"
#include "card/charts/IntradayGeometry.h"

#include <optional>
#include <vector>

namespace glimmer {

/// Minute price line and average-price line over the previous-close baseline.
class IntradayView : public ChartWidget {
    Q_OBJECT

public:
    static constexpr double axisWidth = IntradayGeometry::axisWidth;
    static constexpr double bottomInset = IntradayGeometry::bottomInset;

    explicit IntradayView(QWidget* parent = nullptr);

    void setEntry(const MarketEntry& entry) override;
    bool hasData() const override;

    std::optional<Quote> quote;
    SharedSeries<MinuteBar> minutes;

protected:
    void paintData(QPainter& painter, QSizeF size, bool isDark) const override;
};

} // namespace glimmer
