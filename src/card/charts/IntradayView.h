#pragma once

#include "card/charts/IntradayGeometry.h"

#include <QWidget>

#include <optional>
#include <vector>

class QPainter;

namespace glimmer {

/// Minute price line and average-price line over the previous-close baseline.
class IntradayView : public QWidget {
    Q_OBJECT

public:
    static constexpr double axisWidth = IntradayGeometry::axisWidth;
    static constexpr double bottomInset = IntradayGeometry::bottomInset;

    explicit IntradayView(QWidget* parent = nullptr);

    /// Draws the chart from the fields alone onto a transparent surface of `size` logical pixels.
    void paintChart(QPainter& painter, QSizeF size, bool isDark) const;

    std::optional<Quote> quote;
    std::vector<MinuteBar> minutes;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace glimmer
