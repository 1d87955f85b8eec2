#pragma once

#include "model/ChartView.h"
#include "model/MarketEntry.h"

#include <QString>
#include <QWidget>

class QPainter;

namespace glimmer {

/// What the five charts share: each takes its series from a security's entry, says whether they
/// suffice to draw, and paints itself or onto a painter its owner hands it (the card cross-fades).
class ChartWidget : public QWidget {
    Q_OBJECT

public:
    ChartView view() const { return chartView; }

    /// Copies the series this chart draws from `entry`.
    virtual void setEntry(const MarketEntry& entry) = 0;
    /// Whether the series suffice to draw the chart; without them it shows its empty-state text.
    virtual bool hasData() const = 0;

    /// Draws the chart, or its empty state, onto a transparent surface of `size` logical pixels.
    void paintChart(QPainter& painter, QSizeF size, bool isDark) const;

protected:
    ChartWidget(ChartView view, QString emptyText, QWidget* parent);

    /// Draws the series; called only when `hasData()`.
    virtual void paintData(QPainter& painter, QSizeF size, bool isDark) const = 0;
    void paintEvent(QPaintEvent* event) override;

private:
    ChartView chartView;
    QString emptyText;
};

} // namespace glimmer
