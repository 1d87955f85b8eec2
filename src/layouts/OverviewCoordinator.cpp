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


#include <algorithm>
#include <cmath>
#include <utility>

namespace glimmer {

namespace {

double easeOut(double t) {
    static const QEasingCurve curve = CardFades::easeOut();
    return curve.valueForProgress(t);
}

} // namespace

OverviewCoordinator::OverviewCoordinator(const ScreenSource& screens, const Clock& clock, double pace)
    : screens(screens), clock(clock), pace(pace) {
}

void OverviewCoordinator::later(QObject* context, double seconds, std::function<void()> step) const {
    WindowAnimator::after(context, seconds * pace, std::move(step));
}

OverviewCoordinator::~OverviewCoordinator() {
    delete header.data();
    for (const ListWindow& window : windows) delete window.panel.data();
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
    return std::any_of(windows.begin(), windows.end(),
                       [](const ListWindow& window) { return !window.card.isNull() && window.card->isHovering(); });
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
    const std::vector<std::size_t> built = assignWindows();

    reveal(header, plan.headerFrame, animated, current);
    const double step = animated ? revealStepMs / 1000.0 : 0;
    for (std::size_t j = 0; j < built.size(); ++j) {
        const ListWindow& window = windows[built[j]];
        if (!animated) {
            reveal(window.panel, plan.scrolledListFrame(*window.index, offset), false, current);
            continue;
        }
        later(&timers, step * double(j + 1), [this, panel = window.panel, current] {
            // The list may have scrolled or lost a card since: the card and frame are the ones of now.
            const auto at = std::find_if(windows.begin(), windows.end(),
                                         [&panel](const ListWindow& each) { return each.panel == panel; });
            if (panel.isNull() || at == windows.end() || !at->index) return;
            reveal(panel, plan.scrolledListFrame(*at->index, offset), true, current);
        });
    }
    if (!animated) return;
    later(&timers, step * double(std::max(int(built.size()), 1)) + slideMs / 1000.0,
          [this, current] { endBuildUp(current); });
}

std::vector<std::size_t> OverviewCoordinator::assignWindows() {
    // In reach: the cards that meet the screen, widened by one card above and one below.
    const double pitch = plan.listFrames.empty() ? 0 : plan.listFrames.front().height + OverviewLayout::gap;
    const double top = screenFrame.maxY() + pitch;
    const double bottom = screenFrame.minY() - pitch;
    const auto& frames = plan.listFrames;
    const auto from = std::partition_point(frames.begin(), frames.end(),
                                           [&](const Rect& frame) { return frame.minY() + offset >= top; });
    const auto to = std::partition_point(from, frames.end(),
                                         [&](const Rect& frame) { return frame.maxY() + offset > bottom; });
    const std::size_t first = std::size_t(from - frames.begin());
    const std::size_t last = std::size_t(to - frames.begin());

    std::vector<bool> covered(last - first, false);
    for (ListWindow& window : windows) {
        if (window.index && *window.index >= first && *window.index < last) {
            covered[*window.index - first] = true;
        } else {
            window.index.reset();
        }
    }
    std::vector<std::size_t> assigned;
    std::size_t spare = 0;
    for (std::size_t i = first; i < last; ++i) {
        if (covered[i - first]) continue;
        while (spare < windows.size() && windows[spare].index) ++spare;
        if (spare == windows.size()) {
            OverviewCardView* card = makeCard(false, shown[i + 1], int(i + 1));
            windows.push_back({nullptr, card, std::nullopt});
            windows.back().panel = makePanel(plan.scrolledListFrame(i, offset), shown[i + 1], card);
        }
        showCard(windows[spare], i);
        assigned.push_back(spare);
    }
    for (ListWindow& window : windows) {
        if (!window.index && !window.panel.isNull() && window.panel->isVisible()) window.panel->orderOut();
    }
    return assigned;
}

void OverviewCoordinator::showCard(ListWindow& window, std::size_t index) {
    window.index = index;
    const MarketEntry& entry = shown[index + 1];
    if (!window.card.isNull()) {
        window.card->setEntry(entry);
        window.card->setPosition(int(index + 1), int(shown.size()));
    }
    if (window.panel.isNull()) return;
    // A slide from an earlier card would carry this one to that card's place.
    for (WindowAnimation* animation : window.panel->findChildren<WindowAnimation*>()) animation->cancel();
    window.panel->setWindowTitle(QStringLiteral("Glimmerbox-全览-") + QString::fromStdString(entry.item.code));
    window.panel->setFrameOrigin(plan.scrolledListFrame(index, offset).origin());
}

std::vector<const OverviewCoordinator::ListWindow*> OverviewCoordinator::inUse() const {
    std::vector<const ListWindow*> result;
    for (const ListWindow& window : windows) {
        if (window.index && !window.panel.isNull()) result.push_back(&window);
    }
    std::sort(result.begin(), result.end(), [](const ListWindow* a, const ListWindow* b) { return *a->index < *b->index; });
    return result;
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
    if (hiddenByOwner) {
        // Rebuilt while the card is hidden: the window takes its place and shows with the card.
        panel->setFrame(frame);
        panel->setAlphaValue(alpha);
        return;
    }
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
    for (const ListWindow& window : windows) drop(window.panel.data());
    header.clear();
    headerView.clear();
    windows.clear();
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
    for (const ListWindow* window : inUse()) apply(window->panel.data());
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
    // Cards without a window take their entry when they scroll into view.
    for (const ListWindow& window : windows) {
        if (window.index && !window.card.isNull()) window.card->setEntry(shown[*window.index + 1]);
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
    const std::vector<std::size_t> entering = assignWindows();
    for (const ListWindow& window : windows) {
        if (window.index && !window.panel.isNull())
            window.panel->setFrameOrigin(plan.scrolledListFrame(*window.index, offset).origin());
    }
    revealEntering(entering);
}

void OverviewCoordinator::revealEntering(const std::vector<std::size_t>& entering) {
    if (hiddenByOwner) return;
    for (const std::size_t at : entering) {
        const ListWindow& window = windows[at];
        if (!window.panel.isNull() && !window.panel->isVisible())
            reveal(window.panel, plan.scrolledListFrame(*window.index, offset), false, generation);
    }
}

void OverviewCoordinator::scroll(double delta) {
    if (!active || !(plan.maxScroll > 0) || !std::isfinite(delta)) return;
    const double next = plan.clampedScroll(offset - delta);
    if (next == offset) return;
    offset = next;
    placeList();
}

void OverviewCoordinator::hideItem(std::string code) {
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
        for (ListWindow& window : windows) {
            if (!window.index) continue;
            if (*window.index == i) {
                window.index.reset(); // a spare now, maybe for the card coming in at the bottom
            } else if (*window.index > i) {
                --*window.index;
            }
        }
        plan = layout(int(shown.size()), cardWidth, cardHeight, screenFrame);
        listCount = std::max(int(shown.size()) - 1, 0);
        offset = plan.clampedScroll(offset);
        const int total = int(shown.size());
        if (!headerView.isNull()) headerView->setPosition(0, total);
        // The cards below close the gap; one coming into reach appears in its place.
        for (const ListWindow& window : windows) {
            if (!window.index || window.panel.isNull()) continue;
            if (!window.card.isNull()) window.card->setPosition(int(*window.index) + 1, total);
            WindowAnimator::move(*window.panel, plan.scrolledListFrame(*window.index, offset).origin(),
                                 closeGapMs / 1000.0, {}, clock);
        }
        revealEntering(assignWindows());
    }
    if (onHideItem) onHideItem(code);
    AppLog::write("INFO", "全览：隐藏 " + name + "（" + code + "），剩 " + std::to_string(shown.size()) + " 只");
}

void OverviewCoordinator::setView(ChartView chartView) {
    currentView = chartView;
    if (!headerView.isNull()) headerView->setView(chartView);
    for (const ListWindow& window : windows) {
        if (!window.card.isNull()) window.card->setView(chartView);
    }
}

void OverviewCoordinator::setOpacity(double opacity) {
    alpha = opacity;
    if (!header.isNull()) header->setAlphaValue(opacity);
    for (const ListWindow& window : windows) {
        if (!window.panel.isNull()) window.panel->setAlphaValue(opacity);
    }
    if (!headerView.isNull()) headerView->setOpacityValue(opacity);
}

void OverviewCoordinator::applyTopmost(bool topmost) {
    onTop = topmost;
    if (!header.isNull()) header->setAlwaysOnTop(topmost);
    for (const ListWindow& window : windows) {
        if (!window.panel.isNull()) window.panel->setAlwaysOnTop(topmost);
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
    for (const ListWindow& window : windows) apply(window.panel.data());
}

void OverviewCoordinator::setPrivacyMode(bool on) {
    isPrivacyMode = on;
    if (!headerView.isNull()) headerView->setPrivacyMode(on);
    for (const ListWindow& window : windows) {
        if (!window.card.isNull()) window.card->setPrivacyMode(on);
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
    for (const ListWindow* window : inUse()) frames.push_back(window->panel->frame());
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
    for (const ListWindow* window : inUse()) result.push_back(window->panel.data());
    return result;
}

std::vector<OverviewCardView*> OverviewCoordinator::listCards() const {
    std::vector<OverviewCardView*> result;
    for (const ListWindow* window : inUse()) result.push_back(window->card.data());
    return result;
}

std::vector<std::size_t> OverviewCoordinator::windowedListIndices() const {
    std::vector<std::size_t> result;
    for (const ListWindow* window : inUse()) result.push_back(*window->index);
    return result;
}

} // namespace glimmer
