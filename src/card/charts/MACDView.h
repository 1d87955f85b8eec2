#pragma once

#include "card/charts/ChartWidget.h"
#include "card/charts/MACDGeometry.h"

#include <optional>
#include <vector>

namespace glimmer {

/// MACD of the minute prices: histogram around the zero line with DIF and DEA.
class MACDView : public ChartWidget {
    Q_OBJECT

public:
    static constexpr double axisWidth = MACDGeometry::axisWidth;
    static constexpr double bottomInset = MACDGeometry::bottomInset;

    explicit MACDView(QWidget* parent = nullptr);

    void setEntry(const MarketEntry& entry) override;
    bool hasData() const override;

    SharedSeries<MinuteBar> minutes;

protected:
    void paintData(QPainter& painter, QSizeF size, bool isDark) const override;
};

} // namespace glimmer
