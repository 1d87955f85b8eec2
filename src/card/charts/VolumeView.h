#pragma once

#include "card/charts/VolumeGeometry.h"

#include <QWidget>

#include <optional>
#include <vector>

class QPainter;

namespace glimmer {

/// Minute volume bars with a 5-minute average line.
class VolumeView : public QWidget {
    Q_OBJECT

public:
    static constexpr double axisWidth = VolumeGeometry::axisWidth;
    static constexpr double bottomInset = VolumeGeometry::bottomInset;
    static constexpr double topInset = VolumeGeometry::topInset;

    /// Lots in Chinese units: "1.23亿手", "1.2万手", "999手".
    static QString format(double lots);

    explicit VolumeView(QWidget* parent = nullptr);

    /// Draws the chart from the fields alone onto a transparent surface of `size` logical pixels.
    void paintChart(QPainter& painter, QSizeF size, bool isDark) const;

    std::optional<Quote> quote;
    std::vector<MinuteBar> minutes;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace glimmer
