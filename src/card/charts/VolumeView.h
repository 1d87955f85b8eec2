#pragma once

#include "card/charts/ChartWidget.h"
#include "card/charts/VolumeGeometry.h"

#include <optional>
#include <vector>

namespace glimmer {

/// Minute volume bars with a 5-minute average line.
class VolumeView : public ChartWidget {
    Q_OBJECT

public:
    static constexpr double axisWidth = VolumeGeometry::axisWidth;
    static constexpr double bottomInset = VolumeGeometry::bottomInset;
    static constexpr double topInset = VolumeGeometry::topInset;

    /// Lots in Chinese units: "1.23亿手", "1.2万手", "999手".
    static QString format(double lots);

    explicit VolumeView(QWidget* parent = nullptr);

    void setEntry(const MarketEntry& entry) override;
    bool hasData() const override;

    std::optional<Quote> quote;
    SharedSeries<MinuteBar> minutes;

protected:
    void paintData(QPainter& painter, QSizeF size, bool isDark) const override;
};

} // namespace glimmer
