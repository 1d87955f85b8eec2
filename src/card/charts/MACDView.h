#pragma once

#include "card/charts/MACDGeometry.h"

#include <QWidget>

#include <optional>
#include <vector>

class QPainter;

namespace glimmer {

/// MACD of the minute prices: histogram around the zero line with DIF and DEA.
class MACDView : public QWidget {
    Q_OBJECT

public:
    static constexpr double axisWidth = MACDGeometry::axisWidth;
    static constexpr double bottomInset = MACDGeometry::bottomInset;

    explicit MACDView(QWidget* parent = nullptr);

    /// Draws the chart from the fields alone onto a transparent surface of `size` logical pixels.
    void paintChart(QPainter& painter, QSizeF size, bool isDark) const;

    std::vector<MinuteBar> minutes;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace glimmer
