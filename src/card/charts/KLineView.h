#pragma once

#include "card/charts/KLineGeometry.h"

#include <QWidget>

#include <optional>
#include <vector>

class QPainter;

namespace glimmer {

/// Recent daily candles with moving-average lines and a two-row legend of their latest values.
class KLineView : public QWidget {
    Q_OBJECT

public:
    static constexpr double legendHeight = KLineGeometry::legendHeight;

    explicit KLineView(QWidget* parent = nullptr);

    /// Draws the chart from the fields alone onto a transparent surface of `size` logical pixels.
    void paintChart(QPainter& painter, QSizeF size, bool isDark) const;

    std::vector<DailyBar> bars;
    std::vector<int> periods = defaultMovingAveragePeriods();

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace glimmer
