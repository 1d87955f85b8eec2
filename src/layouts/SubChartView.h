#pragma once

#include "card/ShadowCaster.h"
#include "model/ChartView.h"
#include "model/MarketEntry.h"

#include <QWidget>

#include <optional>

namespace glimmer {

class ChartWidget;

/// The content of one sub-chart panel in expand mode: a titled card around one chart.
class SubChartView : public QWidget, public ShadowCaster {
    Q_OBJECT
public:
    static constexpr double headerHeight = 18;
    static constexpr double cornerRadius = 12;

    explicit SubChartView(ChartView view, QWidget* parent = nullptr);

    ChartView view() const;
    const std::optional<MarketEntry>& entry() const { return currentEntry; }
    void setEntry(std::optional<MarketEntry> entry) { currentEntry = std::move(entry); }
    /// Hands the entry to the chart and redraws.
    void push();

    ChartWidget* chart() const { return chartWidget; }
    // ShadowCaster: the card fills the view.
    QMarginsF bodyInsets() const override { return {}; }
    double bodyCornerRadius() const override { return cornerRadius; }
    /// The chart's frame in a view of `size`.
    static QRectF chartFrame(QSizeF size);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    std::optional<MarketEntry> currentEntry;
    ChartWidget* chartWidget;
};

} // namespace glimmer
