#pragma once

#include "card/ScreenRect.h"
#include "card/ScreenSource.h"
#include "layouts/OverviewLayout.h"
#include "model/AppConfig.h"
#include "model/Clock.h"
#include "model/MarketEntry.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace glimmer {

class FloatingPanel;
class WindowAnimation;
class OverviewCardView;

/// Overview mode: one card per visible security, a header card pinned at the top centre of the
/// screen for the first one and below it a column of list cards that scrolls under the wheel while
/// the header stays. Only the list cards that reach the screen, and one card's height beyond it
/// above and below, have windows: a window scrolled away is reused for the card coming in, so a
/// long watch list costs no more windows or work per wheel notch than a short one. Owns the windows
/// and their geometry; cards report input through the callbacks.
class OverviewCoordinator {
public:
    using Layout = OverviewLayout;

    static constexpr int revealStepMs = 40;
    static constexpr int slideMs = 180;
    static constexpr int closeGapMs = 200;
    /// Animated windows start this far above their frames.
    static constexpr double dropDistance = 14;

    /// `pace` stretches the delays between the steps (0: each step as soon as the event loop
    /// runs); the slides themselves run on `clock`.
    explicit OverviewCoordinator(const ScreenSource& screens = ScreenSource::system(),
                                 const Clock& clock = Clock::system(), double pace = 1);
    virtual ~OverviewCoordinator();
    OverviewCoordinator(const OverviewCoordinator&) = delete;
    OverviewCoordinator& operator=(const OverviewCoordinator&) = delete;

    static Layout layout(int count, double cardWidth, double cardHeight, const Rect& screen) {
        return OverviewLayout::make(count, cardWidth, cardHeight, screen);
    }

    virtual bool isActive() const { return active; }
    bool isAnimating() const { return animating; }
    /// Active and its windows on screen (not hidden by the user).
    virtual bool isVisible() const;
    /// Whether the pointer is over the header card or any list card.
    virtual bool isHoveringAnyCard() const;
    /// The header panel, made key in overview mode; none while inactive.
    virtual FloatingPanel* headerPanel() const;

    /// Builds the windows for `entries` (the first one is the header) with the build-up animation.
    /// An empty list only hides.
    void show(std::vector<MarketEntry> entries, ChartView chartView, double cardWidth, double cardHeight,
              double opacity, bool topmost, const Rect& screen);
    /// The visible frame of the screen that holds most of `mainPanel` (the main screen's without one).
    Rect visibleFrameFor(const FloatingPanel* mainPanel) const;
    /// Leaves overview mode when it is on; entering takes `show`.
    virtual void toggle();
    virtual void hide();
    /// Orders the windows out or in; the overview stays active either way.
    virtual void setVisible(bool visible);
    /// Whether setVisible(false) hid the windows since they were shown.
    virtual bool isHiddenByOwner() const { return hiddenByOwner; }
    /// Fresh data; a different number of entries rebuilds the windows.
    virtual void update(const std::vector<MarketEntry>& entries);
    /// Builds the windows again without animation, keeping the scroll offset where it still fits.
    virtual void rebuild(const std::vector<MarketEntry>& entries);
    /// The eye button: removes the security's card; the next security becomes the header when the
    /// header's is hidden. Reports through `onHideItem`, and `onEmpty` when none is left.
    /// Takes the code by value: the card that asks may show another security before the report.
    void hideItem(std::string code);
    /// Moves the list by a wheel delta (negative moves it up), within 0 … maxScroll.
    void scroll(double delta);
    /// The chart every card shows.
    virtual void setView(ChartView chartView);
    virtual void setOpacity(double opacity);
    virtual void applyTopmost(bool topmost);
    virtual void applyAppearance(ThemeMode mode);
    /// Every card masks its amounts; cards built later too.
    void setPrivacyMode(bool on);
    bool privacyMode() const { return isPrivacyMode; }
    /// A resized card: the windows are rebuilt at the new size.
    virtual void setCardSize(double width, double height);

    /// Current frames: the header first, then the list cards that have windows, top to bottom.
    std::vector<Rect> panelFrames() const;
    std::vector<std::string> entryCodes() const;
    const std::vector<MarketEntry>& entries() const { return shown; }
    const Layout& layoutPlan() const { return plan; }
    double scrollOffset() const { return offset; }
    int scrollItemCount() const { return listCount; }
    ChartView view() const { return currentView; }
    double opacity() const { return alpha; }
    bool topmost() const { return onTop; }
    OverviewCardView* headerCard() const;
    /// The list cards that have windows, top to bottom, and their positions in the list.
    std::vector<FloatingPanel*> listPanels() const;
    std::vector<OverviewCardView*> listCards() const;
    std::vector<std::size_t> windowedListIndices() const;

    /// Called when the pointer enters or leaves a card.
    std::function<void()> onHoverChanged;
    std::function<void(const std::string& code)> onHideItem;
    std::function<void()> onToggleOverview;
    std::function<void()> onToggleExpand;
    std::function<void()> onClose;
    std::function<void(double opacity)> onOpacityChange;
    std::function<void()> onEmpty;
    std::function<void()> onFocusRequest;

private:
    /// A list window and the list card it shows now; a spare one shows none and is ordered out.
    struct ListWindow {
        QPointer<FloatingPanel> panel;
        QPointer<OverviewCardView> card;
        std::optional<std::size_t> index;
    };

    FloatingPanel* makePanel(const Rect& frame, const MarketEntry& entry, OverviewCardView* card);
    OverviewCardView* makeCard(bool isHeader, const MarketEntry& entry, int index);
    void wireCallbacks(OverviewCardView& card);
    void buildPanels(bool animated);
    void reveal(FloatingPanel* panel, const Rect& frame, bool animated, int generation);
    void endBuildUp(int generation);
    void dropPanels();
    void placeList();
    /// Gives every list card in reach of the screen a window, taking spare ones first; returns the
    /// positions in `windows` of those that got a card just now.
    std::vector<std::size_t> assignWindows();
    void showCard(ListWindow& window, std::size_t index);
    /// Brings windows that just got a card on screen where they are not yet.
    void revealEntering(const std::vector<std::size_t>& entering);
    std::vector<const ListWindow*> inUse() const;
    /// Runs `step` after `seconds` times the pace, unless `context` is gone by then.
    void later(QObject* context, double seconds, std::function<void()> step) const;

    const ScreenSource& screens;
    const Clock& clock;
    const double pace;
    bool active = false;
    bool animating = false;
    ChartView currentView = ChartView::intraday;
    bool hiddenByOwner = false;
    int listCount = 0;
    QPointer<FloatingPanel> header;
    QPointer<OverviewCardView> headerView;
    std::vector<ListWindow> windows;
    std::vector<MarketEntry> shown;
    Layout plan;
    double offset = 0;
    double alpha = 1.0;
    bool onTop = true;
    bool isPrivacyMode = false;
    std::optional<ThemeMode> theme;
    double cardWidth = 350;
    double cardHeight = 216;
    Rect screenFrame;
    /// Counts builds, so reveals of windows already dropped do nothing.
    int generation = 0;
    /// The slides of the current build-up; a retired window takes its slide with it.
    std::vector<QPointer<WindowAnimation>> slides;
    QObject timers;
};

} // namespace glimmer
