#pragma once

#include "model/MarketEntry.h"

#include <QWidget>

#include <optional>

namespace glimmer {

/// The content of one sub-chart panel in expand mode: a titled card around one chart.
class SubChartView : public QWidget {
    Q_OBJECT
public:
    static constexpr double headerHeight = 18;
    static constexpr double cornerRadius = 12;

    /// `viewIndex` picks the chart: 4 volume, 2 fund flow, 1 MACD, anything else daily candles.
    explicit SubChartView(int viewIndex, QWidget* parent = nullptr);

    int viewIndex() const { return index; }
    const std::optional<MarketEntry>& entry() const { return currentEntry; }
    void setEntry(std::optional<MarketEntry> entry) { currentEntry = std::move(entry); }
    /// Hands the entry to the chart and redraws.
    void push();

    QWidget* chart() const { return chartView; }
    /// The view's title: "MACD", "资金流", "量能" or "日K".
    static QString title(int viewIndex);
    /// The chart's frame in a view of `size`.
    static QRectF chartFrame(QSizeF size);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    int index;
    std::optional<MarketEntry> currentEntry;
    QWidget* chartView;
};

} // namespace glimmer
