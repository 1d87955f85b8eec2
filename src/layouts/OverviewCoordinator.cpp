#include "layouts/OverviewCoordinator.h"

#include "card/CardFades.h"
#include "card/CardText.h"
#include "card/DockGeometry.h"
#include "card/FloatingPanel.h"
#include "card/ScreenSpace.h"
#include "card/Theme.h"
#include "card/WindowAnimation.h"
#include "card/WindowAnimator.h"
#include "layouts/OverviewCardView.h"
#include "model/AppLog.h"

#include <QTimer>

#include <algorithm>
#include <cmath>
#include <utility>

namespace glimmer {

namespace {

void later(QObject* context, double seconds, std::function<void()> step) {
    QTimer::singleShot(std::max(0, int(std::lround(seconds * 1000))), Qt::PreciseTimer, context, std::move(step));
}

double easeOut(double t) {
    static const QEasingCurve curve = CardFades::easeOut();
    return curve.valueForProgress(t);
}

} // namespace

OverviewCoordinator::OverviewCoordinator(const ScreenSource& screens, const Clock& clock)
    : screens(screens), clock(clock) {
}

OverviewCoordinator::~OverviewCoordinator() {
    delete header.data();
    for (const QPointer<FloatingPanel>& panel : panelsOfList) delete panel.data();
}

Rect OverviewCoordinator::visibleFrameFor(const FloatingPanel* mainPanel) const {
    const std::vector<Screen> displays = currentScreens(screens);
    if (displays.empty()) return DockGeometry::fallbackVisibleFrame;
    if (mainPanel == nullptr) return displays[0].visibleFrame;
    return DockGeometry::visibleFrame(mainPanel->frame(), displays);
}

FloatingPanel* OverviewCoordinator::headerPanel() const {
    return header.data();
}

OverviewCardView* OverviewCoordinator::headerCard() const {
    return headerView.data();
}

bool OverviewCoordinator::isVisible() const {
    return active && !header.isNull() && header->isVisible();
}

bool OverviewCoordinator::isHoveringAnyCard() const {
    if (!headerView.isNull() && headerView->isHovering()) return true;
    return std::any_of(cardsOfList.begin(), cardsOfList.end(),
                       [](const QPointer<OverviewCardView>& card) { return !card.isNull() && card->isHovering(); });
}

void OverviewCoordinator::show(std::vector<MarketEntry> entries, ChartView chartView, double width, double height,
                               double opacity, bool topmost, const Rect& screen) {
    hide();
    if (entries.empty()) return;
    active = true;
    animating = true;
    currentView = chartView;
    cardWidth = width;
    cardHeight = height;
    alpha = opacity;
    onTop = topmost;
    screenFrame = screen;
    offset = 0;
    shown = std::move(entries);
    buildPanels(true);
}

void OverviewCoordinator::toggle() {
    if (active) hide();
}

OverviewCardView* OverviewCoordinator::makeCard(bool isHeader, const MarketEntry& entry, int index) {
    auto* card = new OverviewCardView(isHeader ? OverviewCardView::Style::header : OverviewCardView::Style::plain);
    card->setView(currentView);
    card->setEntry(entry);
    card->setPosition(index, int(shown.size()));
    card->setPrivacyMode(isPrivacyMode);
    if (isHeader) {
        card->setOverviewActive(true);
        card->setOpacityValue(alpha);
    }
    wireCallbacks(*card);
    return card;
}

FloatingPanel* OverviewCoordinator::makePanel(const Rect& frame, const MarketEntry& entry, OverviewCardView* card) {
    auto* panel = new FloatingPanel(frame, screens);
    // The list scrolls past the screen's edges.
    panel->setAllowsOffscreenFrame(true);
    panel->setFrame(frame);
    panel->setAlwaysOnTop(onTop);
    panel->setAlphaValue(0);
    panel->setWindowTitle(QStringLiteral("Glimmerbox-全览-") + QString::fromStdString(entry.item.code));
    if (theme) Theme::applyMode(panel, *theme);
    panel->setContentView(card);
    return panel;
}

void OverviewCoordinator::wireCallbacks(OverviewCardView& card) {
    card.onScroll = [this](double delta) { scroll(delta); };
    card.onHover = [this](bool) {
        if (onHoverChanged) onHoverChanged();
    };
    card.onHideItem = [this](const std::string& code) { hideItem(code); };
    card.onToggleOverview = [this] {
        if (onToggleOverview) onToggleOverview();
    };
    card.onToggleExpand = [this] {
        if (onToggleExpand) onToggleExpand();
    };
    card.onClose = [this] {
        if (onClose) onClose();
    };
    card.onOpacityChange = [this](double value) {
        if (onOpacityChange) onOpacityChange(value);
    };
    card.onFocusRequest = [this] {
        if (onFocusRequest) onFocusRequest();
    };
}

void OverviewCoordinator::buildPanels(bool animated) {
    const int current = ++generation;
    // A build without animation also ends a build-up still running (its timers are now stale).
    animating = animated;
    slides.clear();
    const int n = int(shown.size());
    plan = layout(n, cardWidth, cardHeight, screenFrame);
    listCount = std::max(n - 1, 0);
    if (n == 0) return;

    headerView = makeCard(true, shown[0], 0);
    header = makePanel(plan.headerFrame, shown[0], headerView);
    for (int i = 1; i < n; ++i) {
        OverviewCardView* card = makeCard(false, shown[std::size_t(i)], i);
        cardsOfList.emplace_back(card);
        panelsOfList.emplace_back(makePanel(plan.listFrames[std::size_t(i - 1)], shown[std::size_t(i)], card));
    }

    reveal(header, plan.headerFrame, animated, current);
    const double step = animated ? revealStepMs / 1000.0 : 0;
    for (std::size_t j = 0; j < panelsOfList.size(); ++j) {
        FloatingPanel* panel = panelsOfList[j];
        const Rect frame = plan.listFrames[j];
        if (!animated) {
            reveal(panel, frame, false, current);
            continue;
        }
        later(&timers, step * double(j + 1), [this, panel = QPointer<FloatingPanel>(panel), current] {
            // The list may have scrolled or lost a card since: the frame is the one of now.
            const auto at = std::find(panelsOfList.begin(), panelsOfList.end(), panel);
            if (panel.isNull() || at == panelsOfList.end()) return;
            reveal(panel, plan.scrolledListFrame(std::size_t(at - panelsOfList.begin()), offset), true, current);
        });
    }
    if (!animated) return;
    later(&timers, step * double(std::max(listCount, 1)) + slideMs / 1000.0, [this, current] { endBuildUp(current); });
}

void OverviewCoordinator::endBuildUp(int current) {
    if (current != generation) return;
    // On a busy machine the last slide can still be moving when its time is up: wait for it.
    const bool moving =
        std::any_of(slides.begin(), slides.end(), [](const auto& slide) { return slide && slide->isRunning(); });
    if (moving) {
        later(&timers, WindowAnimation::tickMilliseconds / 1000.0, [this, current] { endBuildUp(current); });
        return;
    }
    slides.clear();
    animating = false;
}

void OverviewCoordinator::reveal(FloatingPanel* panel, const Rect& frame, bool animated, int current) {
    if (!active || current != generation || panel == nullptr) return;
    if (!animated) {
        panel->setFrame(frame);
        panel->setAlphaValue(alpha);
        panel->orderFront();
    } else {
        const Point start{frame.minX(), frame.maxY() + dropDistance};
        panel->setFrameOrigin(start);
        panel->orderFront();
        const double target = alpha;
        slides.emplace_back(WindowAnimator::step(
            slideMs / 1000.0, easeOut,
            [panel, start, frame, target](double e) {
                panel->setAlphaValue(target * e);
                panel->setFrameOrigin({frame.minX(), start.y + (frame.minY() - start.y) * e});
            },
            {}, clock, panel));
    }
    // Scrolled list cards pass under the pinned header.
    if (panel != header.data() && !header.isNull() && header->isVisible()) header->raise();
}

void OverviewCoordinator::dropPanels() {
    auto drop = [](FloatingPanel* panel) {
        if (panel != nullptr) panel->retire();
    };
    drop(header.data());
    for (const QPointer<FloatingPanel>& panel : panelsOfList) drop(panel.data());
    header.clear();
    headerView.clear();
    panelsOfList.clear();
    cardsOfList.clear();
}

void OverviewCoordinator::hide() {
    active = false;
    hiddenByOwner = false;
    animating = false;
    ++generation;
    dropPanels();
    shown.clear();
    listCount = 0;
}

void OverviewCoordinator::setVisible(bool visible) {
    if (!active) return;
    hiddenByOwner = !visible;
    auto apply = [visible](FloatingPanel* panel) {
        if (panel == nullptr) return;
        if (visible) {
            panel->orderFront();
        } else {
            panel->orderOut();
        }
    };
    for (const QPointer<FloatingPanel>& panel : panelsOfList) apply(panel.data());
    apply(header.data()); // last, so it stays above the list
}

void OverviewCoordinator::update(const std::vector<MarketEntry>& entries) {
    if (!active) return;
    if (entries.size() != shown.size()) {
        rebuild(entries);
        return;
    }
    shown = entries;
    if (!headerView.isNull() && !shown.empty()) headerView->setEntry(shown[0]);
    for (std::size_t i = 0; i < cardsOfList.size() && i + 1 < shown.size(); ++i) {
        if (!cardsOfList[i].isNull()) cardsOfList[i]->setEntry(shown[i + 1]);
    }
}

void OverviewCoordinator::rebuild(const std::vector<MarketEntry>& entries) {
    if (!active) return;
    dropPanels();
    if (entries.empty()) {
        hide();
        return;
    }
    shown = entries;
    buildPanels(false);
    offset = plan.clampedScroll(offset);
    placeList();
}

void OverviewCoordinator::placeList() {
    for (std::size_t i = 0; i < panelsOfList.size(); ++i) {
        if (!panelsOfList[i].isNull()) panelsOfList[i]->setFrameOrigin(plan.scrolledListFrame(i, offset).origin());
    }
}

void OverviewCoordinator::scroll(double delta) {
    if (!active || !(plan.maxScroll > 0) || !std::isfinite(delta)) return;
    const double next = plan.clampedScroll(offset - delta);
    if (next == offset) return;
    offset = next;
    placeList();
}

void OverviewCoordinator::hideItem(const std::string& code) {
    const auto found =
        std::find_if(shown.begin(), shown.end(), [&code](const MarketEntry& entry) { return entry.item.code == code; });
    if (found == shown.end()) return;
    const std::size_t position = std::size_t(found - shown.begin());
    const std::string name = CardText::name(*found).toStdString();
    shown.erase(found);

    if (position == 0) {
        dropPanels();
        if (shown.empty()) {
            // Reported while still active, so the owner's "leave overview mode" (which acts only on an
            // active overview) runs and brings the main card back; then nothing is left to show.
            if (onEmpty) onEmpty();
            if (active) hide();
        } else {
            buildPanels(false);
            offset = plan.clampedScroll(offset);
            placeList();
        }
    } else {
        const std::size_t i = position - 1;
        if (i < panelsOfList.size()) {
            if (FloatingPanel* panel = panelsOfList[i].data()) panel->retire();
            panelsOfList.erase(panelsOfList.begin() + std::ptrdiff_t(i));
            cardsOfList.erase(cardsOfList.begin() + std::ptrdiff_t(i));
        }
        plan = layout(int(shown.size()), cardWidth, cardHeight, screenFrame);
        listCount = std::max(int(shown.size()) - 1, 0);
        offset = plan.clampedScroll(offset);
        const int total = int(shown.size());
        if (!headerView.isNull()) headerView->setPosition(0, total);
        for (std::size_t j = 0; j < panelsOfList.size(); ++j) {
            if (!cardsOfList[j].isNull()) cardsOfList[j]->setPosition(int(j) + 1, total);
            if (!panelsOfList[j].isNull()) {
                WindowAnimator::move(*panelsOfList[j], plan.scrolledListFrame(j, offset).origin(), closeGapMs / 1000.0,
                                     {}, clock);
            }
        }
    }
    if (onHideItem) onHideItem(code);
    AppLog::write("INFO", "全览：隐藏 " + name + "（" + code + "），剩 " + std::to_string(shown.size()) + " 只");
}

void OverviewCoordinator::setView(ChartView chartView) {
    currentView = chartView;
    if (!headerView.isNull()) headerView->setView(chartView);
    for (const QPointer<OverviewCardView>& card : cardsOfList) {
        if (!card.isNull()) card->setView(chartView);
    }
}

void OverviewCoordinator::setOpacity(double opacity) {
    alpha = opacity;
    if (!header.isNull()) header->setAlphaValue(opacity);
    for (const QPointer<FloatingPanel>& panel : panelsOfList) {
        if (!panel.isNull()) panel->setAlphaValue(opacity);
    }
    if (!headerView.isNull()) headerView->setOpacityValue(opacity);
}

void OverviewCoordinator::applyTopmost(bool topmost) {
    onTop = topmost;
    if (!header.isNull()) header->setAlwaysOnTop(topmost);
    for (const QPointer<FloatingPanel>& panel : panelsOfList) {
        if (!panel.isNull()) panel->setAlwaysOnTop(topmost);
    }
}

void OverviewCoordinator::applyAppearance(ThemeMode mode) {
    theme = mode;
    auto apply = [mode](FloatingPanel* panel) {
        if (panel == nullptr) return;
        Theme::applyMode(panel, mode);
        if (QWidget* content = panel->contentView()) content->update();
    };
    apply(header.data());
    for (const QPointer<FloatingPanel>& panel : panelsOfList) apply(panel.data());
}

void OverviewCoordinator::setPrivacyMode(bool on) {
    isPrivacyMode = on;
    if (!headerView.isNull()) headerView->setPrivacyMode(on);
    for (const QPointer<OverviewCardView>& card : cardsOfList) {
        if (!card.isNull()) card->setPrivacyMode(on);
    }
}

void OverviewCoordinator::setCardSize(double width, double height) {
    cardWidth = width;
    cardHeight = height;
    if (active) rebuild(std::vector<MarketEntry>(shown));
}

std::vector<Rect> OverviewCoordinator::panelFrames() const {
    std::vector<Rect> frames;
    if (!header.isNull()) frames.push_back(header->frame());
    for (const QPointer<FloatingPanel>& panel : panelsOfList) {
        if (!panel.isNull()) frames.push_back(panel->frame());
    }
    return frames;
}

std::vector<std::string> OverviewCoordinator::entryCodes() const {
    std::vector<std::string> codes;
    codes.reserve(shown.size());
    for (const MarketEntry& entry : shown) codes.push_back(entry.item.code);
    return codes;
}

std::vector<FloatingPanel*> OverviewCoordinator::listPanels() const {
    std::vector<FloatingPanel*> result;
    for (const QPointer<FloatingPanel>& panel : panelsOfList) result.push_back(panel.data());
    return result;
}

std::vector<OverviewCardView*> OverviewCoordinator::listCards() const {
    std::vector<OverviewCardView*> result;
    for (const QPointer<OverviewCardView>& card : cardsOfList) result.push_back(card.data());
    return result;
}

} // namespace glimmer
