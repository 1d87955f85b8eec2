#pragma once

#include "card/charts/FlowGeometry.h"

#include <QWidget>

#include <optional>
#include <vector>

class QPainter;

namespace glimmer {

/// Cumulative main-force and retail net inflow of the day and the gap between them.
class FlowView : public QWidget {
    Q_OBJECT

public:
    static constexpr double axisWidth = FlowGeometry::axisWidth;
    static constexpr double bottomInset = FlowGeometry::bottomInset;

    explicit FlowView(QWidget* parent = nullptr);

    /// Draws the chart from the fields alone onto a transparent surface of `size` logical pixels.
    void paintChart(QPainter& painter, QSizeF size, bool isDark) const;

    std::vector<FlowPoint> flow;
    /// Kept for owners that hand over the whole entry; not drawn.
    std::vector<MinuteBar> minutes;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace glimmer
