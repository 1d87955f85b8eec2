#pragma once

#include "card/CardCallbacks.h"
#include "card/CardFades.h"
#include "card/CardInteraction.h"
#include "card/CardLayout.h"
#include "card/ScreenSource.h"
#include "card/ViewSequence.h"
#include "model/Clock.h"
#include "model/MarketEntry.h"

#include <QTimer>
#include <QWidget>

#include <optional>
#include <string>
#include <vector>

namespace glimmer {

class CardButton;
class FlowView;
class IntradayView;
class KLineView;
class MACDView;
class MinimalSlider;
class VolumeView;

/// The content of the main floating panel: one security with its header, one of five charts, the
/// view dots and counter, hover controls, the alert glow and banner, and the dock preview. Mouse
/// input becomes the callbacks of `CardCallbacks`; the owner decides what comes next and writes the
/// fields back. Its window, when it is a `FloatingPanel`, is moved and resized by the card itself.
class StockCardView : public QWidget, public CardCallbacks, private CardInteraction::Host {
    Q_OBJECT
public:
    static constexpr auto viewOrder = ViewSequence::viewOrder;
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
    int mode() const { return currentMode; }
    void setMode(int mode);
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
    std::optional<int> lockedView() const { return currentLockedView; }
    void setLockedView(std::optional<int> view);
    bool opacitySliderEnabled() const { return isSliderEnabled; }
    void setOpacitySliderEnabled(bool enabled);
    const std::optional<std::string>& placeholderText() const { return currentPlaceholder; }
    void setPlaceholderText(std::optional<std::string> text);
    bool expandMode() const { return inExpandMode; }
    void setExpandMode(bool on);
    bool overviewMode() const { return inOverviewMode; }
    void setOverviewMode(bool on);
    const std::vector<int>& enabledViews() const { return currentEnabledViews; }
    /// An empty list is stored as [0].
    void setEnabledViews(std::vector<int> views);

    /// Copies the entry into the charts and redraws the chart in view.
    void syncCharts();
    void applyMode(bool animated);
    void updateGlow();
    /// Fades the visible chart in; the presenter calls it after switching security.
    void pulseCharts();

    std::vector<int> enabledViewIndices() const;
    int nextEnabledMode() const override;
    std::optional<int> modeAfterCurrent() const;
    static std::optional<int> stepMode(int current, const std::vector<int>& indices, int delta);

    /// For off-screen renders: the chart of `mode` alone and the hover controls fully shown.
    void prepareForPreview(double opacity);

    bool isHovering() const { return hovering; }
    CardLayout layout() const { return CardLayout(size()); }

    IntradayView* intradayView() const { return intraday; }
    MACDView* macdView() const { return macd; }
    FlowView* flowView() const { return flow; }
    KLineView* klineView() const { return kline; }
    VolumeView* volumeView() const { return volume; }
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
    std::vector<int> dotViews() const override;
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
    void paintCharts(QPainter& painter, const CardLayout& layout, bool isDark) const;

    const ScreenSource& screenSource;
    std::optional<MarketEntry> currentEntry;
    int currentMode = 0;
    int currentIndex = 0;
    int currentTotal = 0;
    bool isAlertActive = false;
    std::optional<std::string> currentAlertMessage;
    std::optional<DockSide> previewSide;
    bool isPinPaused = false;
    std::optional<int> currentLockedView;
    bool isSliderEnabled = true;
    std::optional<std::string> currentPlaceholder;
    bool inExpandMode = false;
    bool inOverviewMode = false;
    std::vector<int> currentEnabledViews{viewOrder.begin(), viewOrder.end()};

    IntradayView* intraday;
    MACDView* macd;
    FlowView* flow;
    KLineView* kline;
    VolumeView* volume;
    CardButton* closer;
    CardButton* expander;
    CardButton* overviewer;
    MinimalSlider* slider;

    CardFades animations;
    CardInteraction machine;
    QTimer singleClickTimer;
    bool hovering = false;
    Qt::CursorShape cursorShape = Qt::ArrowCursor;
    long paints = 0;
};

} // namespace glimmer
