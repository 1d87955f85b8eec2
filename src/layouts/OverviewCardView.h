#pragma once

#include "card/ShadowCaster.h"
#include "model/ChartView.h"
#include "model/MarketEntry.h"

#include <QVariantAnimation>
#include <QWidget>

#include <array>
#include <functional>
#include <optional>
#include <string>

class QPainter;

namespace glimmer {

class CardButton;
class ChartWidget;
class MinimalSlider;

/// One security in overview mode: name, code, price and change, one of the five charts and a
/// footer with the chart's name and the card's position. The header style adds a transparent strip
/// above the body with the overview's buttons and a gutter on its left with the opacity slider.
/// It keeps no state beyond what its owner sets; all input leaves through the callbacks.
class OverviewCardView : public QWidget, public ShadowCaster {
    Q_OBJECT
public:
    enum class Style { plain, header };

    static constexpr double leftGutter = 26;
    static constexpr double topStrip = 26;
    static constexpr double headerHeight = 38;
    static constexpr double footerHeight = 18;
    static constexpr double cornerRadius = 11;
    static constexpr int hoverFadeMs = 150;
    /// Wheels without pixel deltas report angles; one notch (120 units) scrolls this many points.
    static constexpr double pointsPerWheelNotch = 40;

    explicit OverviewCardView(Style style, QWidget* parent = nullptr);
    ~OverviewCardView() override;

    Style style() const { return cardStyle; }
    const std::optional<MarketEntry>& entry() const { return currentEntry; }
    /// Pushes the data to the charts and redraws.
    void setEntry(std::optional<MarketEntry> entry);
    ChartView view() const { return currentView; }
    /// Shows the chart of `view` alone and pushes the data.
    void setView(ChartView view);
    int index() const { return currentIndex; }
    int total() const { return currentTotal; }
    void setPosition(int index, int total);
    bool overviewActive() const { return isOverviewActive; }
    /// Tints the overview button with the accent colour while overview mode is on.
    void setOverviewActive(bool active);
    void setOpacityValue(double value);
    /// Amounts of the holdings strip read "****".
    bool privacyMode() const { return isPrivacyMode; }
    void setPrivacyMode(bool on);
    bool isHovering() const { return hovering; }
    /// Every control shown at full alpha, for off-screen renders.
    void prepareForPreview(double opacity);

    /// The card body inside a view of `size`.
    static QRectF bodyRect(Style style, QSizeF size);
    QMarginsF bodyInsets() const override;
    double bodyCornerRadius() const override { return cornerRadius; }
    /// The chart frame shared by the five charts.
    static QRectF chartRect(const QRectF& body);
    /// The price as drawn: three decimals for 1 ≤ price < 1000 with a third decimal, else two.
    static QString priceText(const Quote& quote);
    /// "+0.12  +1.05%" in the price's decimals.
    static QString changeText(const Quote& quote);
    /// "3/13" for index 2 of 13; empty when the total is 0.
    static QString positionText(int index, int total);

    CardButton* eyeButton() const { return eye; }
    CardButton* closeButton() const { return closer; }
    CardButton* expandButton() const { return expander; }
    CardButton* overviewButton() const { return overviewer; }
    MinimalSlider* opacitySlider() const { return slider; }
    ChartWidget* chart(ChartView view) const { return charts[std::size_t(ChartViews::stored(view))]; }
    double controlsAlpha() const { return controls; }

    std::function<void(double delta)> onScroll;
    std::function<void(bool inside)> onHover;
    std::function<void()> onFocusRequest;
    std::function<void(const std::string& code)> onHideItem;
    std::function<void()> onToggleOverview;
    std::function<void()> onToggleExpand;
    std::function<void()> onClose;
    std::function<void(double value)> onOpacityChange;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void layoutChildren();
    void syncCharts();
    void showChart();
    void setControlsAlpha(double alpha);
    void fadeControls(double target);
    /// The holdings strip right of the change line, or in the footer between the chart's name and
    /// the position.
    void paintHoldings(QPainter& painter, const QRectF& body, double changeWidth, double nameWidth,
                       double positionWidth, bool isDark) const;

    Style cardStyle;
    std::optional<MarketEntry> currentEntry;
    ChartView currentView = ChartView::intraday;
    int currentIndex = 0;
    int currentTotal = 0;
    bool isOverviewActive = false;
    bool isPrivacyMode = false;
    bool hovering = false;
    double controls = 0;

    // Indexed by the views' stored numbers.
    std::array<ChartWidget*, ChartViews::count> charts{};
    CardButton* eye;
    CardButton* closer = nullptr;
    CardButton* expander = nullptr;
    CardButton* overviewer = nullptr;
    MinimalSlider* slider = nullptr;
    QVariantAnimation fade;
};

} // namespace glimmer
