#include "card/CardButton.h"
#include "card/FloatingPanel.h"
#include "diagnostics/SelfTest.h"
#include "diagnostics/SelfTestGui.h"
#include "diagnostics/SelfTestReport.h"
#include "diagnostics/SelfTestWindows.h"
#include "layouts/OverviewCardView.h"
#include "layouts/OverviewCoordinator.h"

#include <QApplication>
#include <QCursor>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <map>

namespace glimmer::SelfTest {

namespace {

using SelfTestReport::format;
using SelfTestWindows::originText;
using SelfTestWindows::waitUntil;

bool near(double a, double b) {
    return std::fabs(a - b) < 0.51;
}

/// The frames of the list cards that have windows, by their position in the list.
std::map<std::size_t, Rect> listFrames(const OverviewCoordinator& overview) {
    std::map<std::size_t, Rect> frames;
    const std::vector<FloatingPanel*> panels = overview.listPanels();
    const std::vector<std::size_t> at = overview.windowedListIndices();
    for (std::size_t k = 0; k < panels.size(); ++k) frames[at[k]] = panels[k]->frame();
    return frames;
}

bool showsCode(const OverviewCoordinator& overview, const std::string& code) {
    const std::vector<OverviewCardView*> cards = overview.listCards();
    return std::any_of(cards.begin(), cards.end(),
                       [&code](OverviewCardView* card) { return card->entry() && card->entry()->item.code == code; });
}

QPoint centreIn(QWidget* card, QWidget* control) {
    return control->mapTo(card, control->rect().center());
}

/// Hovers a card and waits for its controls to become clickable.
void reveal(OverviewCardView* card) {
    SelfTestWindows::hover(card);
    waitUntil([card] { return card->controlsAlpha() >= 0.99; }, 1);
}

/// The first list card away from the pointer: the one under it shows its controls through a real
/// hover (a window mapped under a resting pointer is entered), so its eye is rightly clickable.
OverviewCardView* cardAwayFromPointer(const OverviewCoordinator& overview) {
    const QPoint pointer = QCursor::pos();
    for (OverviewCardView* card : overview.listCards()) {
        if (!card->isHovering() && !card->window()->geometry().contains(pointer)) return card;
    }
    return nullptr;
}

void wheel(QWidget* view, double pixels) {
    const QPointF centre(view->width() / 2.0, view->height() / 2.0);
    QWheelEvent event(centre, view->mapToGlobal(centre), QPoint(0, static_cast<int>(pixels)),
                      QPoint(0, static_cast<int>(pixels / 200 * 120)), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                      false);
    QApplication::sendEvent(view, &event);
}

} // namespace

void testOverviewWithWindows() {
    SelfTestGui::application();
    CheckTally tally;
    const AppConfig defaults;
    const Rect screen = SelfTestWindows::mainVisibleFrame();

    OverviewCoordinator overview;
    int toggles = 0;
    int focusRequests = 0;
    std::vector<std::string> hidden;
    overview.onToggleOverview = [&toggles] { ++toggles; };
    overview.onFocusRequest = [&focusRequests] { ++focusRequests; };
    overview.onHideItem = [&hidden](const std::string& code) { hidden.push_back(code); };

    constexpr int securities = 200;
    overview.show(SelfTestWindows::sampleEntries(securities), ChartView::intraday, defaults.width, defaults.height, 1.0,
                  true, screen);
    waitUntil([&overview] { return !overview.isAnimating(); }, 3);
    SelfTestGui::settle(0.25);
    // Windows only for the cards in reach: the screen and one card above and below it.
    const double pitch = defaults.height + OverviewLayout::gap;
    const int bound = 1 + int(screen.height / pitch) + 4;
    const int built = SelfTestWindows::visiblePanelCount();
    tally.check(built == 1 + int(overview.listPanels().size()) && built <= bound,
                format("%d 只股票只建屏幕可见范围的窗口", securities), format("count=%d bound=%d", built, bound));

    const Rect header = overview.headerPanel() ? overview.headerPanel()->frame() : Rect{};
    tally.check(near(header.maxY(), screen.maxY() - OverviewLayout::topInset) &&
                    near(header.width, defaults.width + OverviewLayout::leftGutter) &&
                    near(header.height, defaults.height + OverviewLayout::topStrip),
                "顶卡在屏幕顶部并带透明条",
                originText(header) + format(" size=%.0fx%.0f", header.width, header.height));

    // A wheel turn over a list card moves the list, never the header.
    const std::map<std::size_t, Rect> before = listFrames(overview);
    wheel(overview.listCards().front(), -200);
    SelfTestGui::settle(0.1);
    const std::map<std::size_t, Rect> after = listFrames(overview);
    bool moved = !after.empty();
    for (const auto& [index, frame] : after) {
        if (before.count(index)) moved = moved && near(frame.y - before.at(index).y, 200);
    }
    const Rect headerAfter = overview.headerPanel()->frame();
    tally.check(moved && headerAfter == header, "滚轮 200：列表上移 200，顶卡不动",
                format("offset=%.0f", overview.scrollOffset()));

    overview.scroll(5000);
    SelfTestGui::settle(0.1);
    const Rect top = overview.listPanels().front()->frame();
    tally.check(overview.scrollOffset() == 0 && near(top.y, overview.layoutPlan().listFrames.front().y),
                "滚到顶部夹在 0", format("offset=%.0f", overview.scrollOffset()));
    for (int notch = 0; notch < 2000 && overview.scrollOffset() < overview.layoutPlan().maxScroll; ++notch) {
        wheel(overview.listCards().back(), -OverviewCardView::pointsPerWheelNotch);
    }
    SelfTestGui::settle(0.1);
    const Rect bottom = overview.listPanels().back()->frame();
    const OverviewCardView* last = overview.listCards().back();
    const std::string lastCode = overview.entryCodes().back();
    const int atBottom = SelfTestWindows::visiblePanelCount();
    tally.check(near(overview.scrollOffset(), overview.layoutPlan().maxScroll) &&
                    near(bottom.minY(), screen.minY() + OverviewLayout::bottomInset) && last->entry() &&
                    last->entry()->item.code == lastCode && last->index() == securities - 1 && atBottom <= bound,
                "滚到底部夹在 maxScroll，末卡落在列底且是最后一只",
                format("offset=%.0f minY=%.0f code=%s count=%d", overview.scrollOffset(), bottom.minY(),
                       lastCode.c_str(), atBottom));

    // A card far from the screen has no window; hiding it still takes it off the list.
    const std::string far = overview.entryCodes().at(securities / 2);
    overview.hideItem(far);
    SelfTestGui::settle(0.3);
    const std::vector<std::string> left = overview.entryCodes();
    tally.check(std::find(left.begin(), left.end(), far) == left.end() && int(left.size()) == securities - 1 &&
                    SelfTestWindows::visiblePanelCount() <= bound &&
                    overview.listCards().back()->entry()->item.code == left.back(),
                "隐藏没有窗口的股票：列表少这一只，末卡仍对", format("left=%zu", left.size()));
    hidden.clear();
    overview.scroll(1e7);
    SelfTestGui::settle(0.1);

    // The header's buttons.
    OverviewCardView* headerCard = overview.headerCard();
    reveal(headerCard);
    SelfTestWindows::click(headerCard, centreIn(headerCard, headerCard->overviewButton()));
    tally.check(toggles == 1, "顶卡全览按钮回调", format("count=%d", toggles));
    const QRect grid = headerCard->overviewButton()->geometry();
    const QRect expander = headerCard->expandButton()->geometry();
    tally.check(grid.right() < expander.left() && grid.size() == expander.size(), "网格按钮在展开按钮左侧且同尺寸",
                format("minX=%d/%d size=%dx%d", grid.left(), expander.left(), grid.width(), grid.height()));

    // A faded eye lets the click through to the card, which asks for focus.
    if (OverviewCardView* quiet = cardAwayFromPointer(overview)) {
        SelfTestWindows::click(quiet, centreIn(quiet, quiet->eyeButton()));
    }
    tally.check(hidden.empty() && focusRequests == 1, "隐藏的按钮不吞卡片点击",
                format("focus=%d hidden=%zu", focusRequests, hidden.size()));

    // The eye of a list card hides its security.
    OverviewCardView* third = overview.listCards().at(2);
    const std::string thirdCode = third->entry() ? third->entry()->item.code : std::string();
    const std::size_t shownBefore = overview.entryCodes().size();
    reveal(third);
    SelfTestWindows::click(third, centreIn(third, third->eyeButton()));
    waitUntil([&overview, shownBefore] { return overview.entryCodes().size() < shownBefore; }, 2);
    SelfTestGui::settle(0.3);
    const std::vector<std::string> codes = overview.entryCodes();
    const bool gone = std::find(codes.begin(), codes.end(), thirdCode) == codes.end() && !showsCode(overview, thirdCode);
    tally.check(hidden == std::vector<std::string>{thirdCode} && gone && codes.size() == shownBefore - 1 &&
                    SelfTestWindows::visiblePanelCount() == built,
                "眼睛按钮隐藏该股票：列表少这一只，窗口交给下一张卡",
                format("count=%d", SelfTestWindows::visiblePanelCount()));

    // Hiding the header's own security: the next one takes the header.
    const std::string headerCode = overview.entryCodes().front();
    reveal(overview.headerCard());
    SelfTestWindows::click(overview.headerCard(), centreIn(overview.headerCard(), overview.headerCard()->eyeButton()));
    waitUntil([&overview, &headerCode] { return overview.entryCodes().front() != headerCode; }, 2);
    SelfTestGui::settle(0.2);
    const bool headerKept = overview.headerPanel() && overview.headerPanel()->isVisible() &&
                            !overview.entryCodes().empty() && overview.entryCodes().front() != headerCode;
    tally.check(headerKept && SelfTestWindows::visiblePanelCount() == built, "隐藏顶卡自己的股票后顶卡仍在",
                format("count=%d", SelfTestWindows::visiblePanelCount()));

    // The view reaches the cards without windows too: they show it once scrolled into view.
    overview.setView(ChartView::dailyCandles);
    overview.scroll(-1e7);
    SelfTestGui::settle(0.1);
    bool same = overview.headerCard() && overview.headerCard()->view() == ChartView::dailyCandles;
    for (OverviewCardView* card : overview.listCards()) same = same && card->view() == ChartView::dailyCandles;
    tally.check(same, "同步视图后每张卡视图一致（含滚动后才有窗口的卡）", "view=3");

    overview.hide();
    waitUntil([] { return SelfTestWindows::visiblePanelCount() == 0; }, 2);
    tally.check(!overview.isActive() && overview.panelFrames().empty() && SelfTestWindows::visiblePanelCount() == 0,
                "关闭后不留窗口", format("count=%d", SelfTestWindows::visiblePanelCount()));

    tally.printVerdict("真窗口全览自测：");
}

} // namespace glimmer::SelfTest
