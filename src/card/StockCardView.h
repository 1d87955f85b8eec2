#pragma once

#include "card/CardCallbacks.h"
#include "card/CardFades.h"
#include "card/CardFrameCache.h"
#include "card/CardInteraction.h"
#include "card/CardLayout.h"
#include "card/ScreenSource.h"
#include "card/ShadowCaster.h"
#include "card/ViewSequence.h"
#include "model/Clock.h"
#include "model/MarketEntry.h"

#include <QTimer>
#include <QWidget>

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace glimmer {

class CardButton;
class ChartWidget;
class MinimalSlider;

/// The content of the main floating panel: one security with its header, one of five charts, the
/// view dots and counter, hover controls, the alert glow and banner, and the dock preview. Mouse
/// input becomes the callbacks of `CardCallbacks`; the owner decides what comes next and writes the
/// fields back. Its window, when it is a `FloatingPanel`, is moved and resized by the card itself.
class StockCardView : public QWidget, public CardCallbacks, public ShadowCaster, private CardInteraction::Host {
    Q_OBJECT
public:
    static constexpr double leftGutter = CardLayout::leftGutter;
    static constexpr double topStrip = CardLayout::topStrip;
    static constexpr double headerHeight = CardLayout::headerHeight;
    static constexpr double footerHeight = CardLayout::footerHeight;
    static constexpr double dotSize = CardLayout::dotSize;
    static constexpr double dotStep = CardLayout::dotStep;
    /// Wheels without pixel deltas report angles; one notch (15°, 120 units) counts as 20 points,
    /// so two notches of a tilt wheel switch the security like a 40-point trackpad swipe.
    static constexpr double pointsPerWheelNotch = 20;

    explicit StockCardView(QWidget* parent = nullptr, const Clock& clock = Clock::system(),
                           const ScreenSource& screens = ScreenSource::system());
    ~StockCardView() override;

    const std::optional<MarketEntry>& entry() const { return currentEntry; }
    void setEntry(std::optional<MarketEntry> entry);
    ChartView view() const { return currentView; }
    void setView(ChartView view);
    int index() const { return currentIndex; }
    void setIndex(int index);
    int total() const { return currentTotal; }
    void setTotal(int total);
    bool alertActive() const { return isAlertActive; }
    void setAlertActive(bool active);
    const std::optional<std::string>& alertMessage() const { return currentAlertMessage; }
    void setAlertMessage(std::optional<std::string> message);
    std::optional<DockSide> dockPreviewSide() const override { return previewSide; }
    void setDockPreviewSide(std::optional<DockSide> side) override;
    bool pinPaused() const { return isPinPaused; }
    void setPinPaused(bool paused);
    std::optional<ChartView> lockedView() const { return currentLockedView; }
    void setLockedView(std::optional<ChartView> view);
    bool opacitySliderEnabled() const { return isSliderEnabled; }
    void setOpacitySliderEnabled(bool enabled);
    const std::optional<std::string>& placeholderText() const { return currentPlaceholder; }
    void setPlaceholderText(std::optional<std::string> text);
    bool expandMode() const { return inExpandMode; }
    void setExpandMode(bool on);
    bool overviewMode() const { return inOverviewMode; }
    void setOverviewMode(bool on);
    /// Amounts of the holdings strip read "****".
    bool privacyMode() const { return isPrivacyMode; }
    void setPrivacyMode(bool on);
    const std::vector<ChartView>& enabledViews() const { return currentEnabledViews; }
    /// An empty list is stored as the intraday chart alone.
    void setEnabledViews(std::vector<ChartView> views);

    /// Copies the entry into the charts and redraws the chart in view.
    void syncCharts();
    void applyView(bool animated);
    void updateGlow();
    /// The band the alert glow's border covers: all a breath of it repaints.
    QRegion glowRing() const;
    /// Fades the visible chart in; the presenter calls it after switching security.
    void pulseCharts();

    /// The enabled views in dot order.
    std::vector<ChartView> enabledSequence() const;
    ChartView nextView() const override;
    std::optional<ChartView> viewAfterCurrent() const;

    /// For off-screen renders: the current chart alone and the hover controls fully shown.
    void prepareForPreview(double opacity);

    bool isHovering() const { return hovering; }
    CardLayout layout() const { return CardLayout(size()); }

    // ShadowCaster: the card body, right of the gutter and below the strip.
    QMarginsF bodyInsets() const override { return {leftGutter, topStrip, 0, 0}; }
    double bodyCornerRadius() const override { return CardLayout::cornerRadius; }

    ChartWidget* chart(ChartView view) const { return charts[std::size_t(ChartViews::stored(view))]; }
    CardButton* closeButton() const { return closer; }
    CardButton* expandButton() const { return expander; }
    CardButton* overviewButton() const { return overviewer; }
    MinimalSlider* opacitySlider() const { return slider; }
    const CardFades& fades() const { return animations; }
    CardInteraction& interaction() { return machine; }
    /// Paint passes so far; an idle card adds none.
    long paintCount() const { return paints; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // CardInteraction::Host
    CardLayout cardLayout() const override { return layout(); }
    std::vector<ChartView> dotViews() const override;
    bool isExpandMode() const override { return inExpandMode; }
    std::optional<Rect> windowFrame() const override;
    void setWindowFrame(const Rect& frame) override;
    std::vector<Screen> screens() const override;
    void armSingleClickTimer(double seconds) override;
    void cancelSingleClickTimer() override;

    Point screenPoint(QPointF global) const;
    void applyControlAlphas();
    void updateButtonLooks();
    void updateCursor(QPointF p);
    void paintContent(QPainter& painter, const CardLayout& layout, const QRegion& dirty, bool breathOnly,
                      bool isDark) const;
    void paintCharts(QPainter& painter, const CardLayout& layout, bool isDark) const;
    void paintHoldings(QPainter& painter, const CardLayout& layout, std::size_t dotCount, const QRegion& dirty,
                       bool isDark) const;

    const ScreenSource& screenSource;
    std::optional<MarketEntry> currentEntry;
    ChartView currentView = ChartView::intraday;
    int currentIndex = 0;
    int currentTotal = 0;
    bool isAlertActive = false;
    std::optional<std::string> currentAlertMessage;
    std::optional<DockSide> previewSide;
    bool isPinPaused = false;
    std::optional<ChartView> currentLockedView;
    bool isSliderEnabled = true;
    std::optional<std::string> currentPlaceholder;
    bool inExpandMode = false;
    bool inOverviewMode = false;
    bool isPrivacyMode = false;
    std::vector<ChartView> currentEnabledViews{ChartViews::order.begin(), ChartViews::order.end()};

    // Indexed by the views' stored numbers.
    std::array<ChartWidget*, ChartViews::count> charts{};
    CardButton* closer;
    CardButton* expander;
    CardButton* overviewer;
    MinimalSlider* slider;

    CardFades animations;
    CardFrameCache frames;
    CardInteraction machine;
    QTimer singleClickTimer;
    bool hovering = false;
    Qt::CursorShape cursorShape = Qt::ArrowCursor;
    long paints = 0;
};

} // namespace glimmer
