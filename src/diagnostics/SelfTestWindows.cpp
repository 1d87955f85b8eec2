#include "diagnostics/SelfTestWindows.h"

#include "card/DockGeometry.h"
#include "card/FloatingPanel.h"
#include "card/ScreenSpace.h"
#include "diagnostics/SelfTestReport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEnterEvent>
#include <QEventLoop>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>

#include <cmath>

namespace glimmer::SelfTestWindows {

bool waitUntil(const std::function<bool()>& done, double seconds) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > static_cast<qint64>(seconds * 1000)) return false;
        // Sleeps until the next event or 10 ms, rather than spinning on processEvents.
        QEventLoop loop;
        QTimer::singleShot(10, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

void click(QWidget* root, const QPoint& point) {
    QWidget* target = root->childAt(point);
    if (!target) target = root;
    const QPointF local = target->mapFrom(root, QPointF(point));
    const QPointF global = root->mapToGlobal(QPointF(point));
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &release);
}

void hover(QWidget* view) {
    const QPointF centre(view->width() / 2.0, view->height() / 2.0);
    QEnterEvent enter(centre, centre, view->mapToGlobal(centre));
    QApplication::sendEvent(view, &enter);
}

int visiblePanelCount() {
    int count = 0;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (qobject_cast<FloatingPanel*>(widget) && widget->isVisible()) ++count;
    }
    return count;
}

Rect mainVisibleFrame() {
    const std::vector<Screen> screens = currentScreens();
    return screens.empty() ? DockGeometry::fallbackVisibleFrame : screens.front().visibleFrame;
}

std::vector<MarketEntry> sampleEntries(std::size_t count) {
    static const char* const names[][2] = {
        {"600519", "贵州茅台"}, {"300750", "宁德时代"}, {"510300", "沪深300ETF"}, {"002003", "伟星股份"},
        {"000001", "平安银行"}, {"601318", "中国平安"}, {"600036", "招商银行"}, {"000858", "五粮液"},
        {"002594", "比亚迪"},   {"601012", "隆基绿能"}, {"159915", "创业板ETF"}, {"600900", "长江电力"},
        {"000333", "美的集团"}, {"601888", "中国中免"}, {"688981", "中芯国际"}, {"300059", "东方财富"},
    };
    std::vector<MarketEntry> entries;
    for (std::size_t i = 0; i < count; ++i) {
        const auto& pair = names[i % std::size(names)];
        // Past the table the codes stay distinct.
        const std::string code = i < std::size(names) ? pair[0] : SelfTestReport::format("%06d", 600000 + int(i));
        const bool fund = code[0] == '5' || code[0] == '1';
        MarketEntry entry(WatchItem{code, pair[1], fund ? InstrumentKind::etf : InstrumentKind::stock});
        Quote quote;
        quote.code = code;
        quote.name = pair[1];
        quote.prevClose = 10.0 + static_cast<double>(i);
        for (int m = 0; m < 60; ++m) {
            const double price = quote.prevClose * (1 + 0.01 * std::sin((m + static_cast<int>(i)) / 7.0));
            const int minute = 9 * 60 + 30 + m;
            entry.minutes.push_back({SelfTestReport::format("%02d:%02d", minute / 60, minute % 60), price,
                                     quote.prevClose, 1000.0 + m, price * 100'000});
        }
        quote.price = entry.minutes.back().price;
        quote.open = entry.minutes.front().price;
        quote.high = quote.prevClose * 1.01;
        quote.low = quote.prevClose * 0.99;
        quote.tradeDate = "2024-11-08";
        quote.quoteTime = "2024-11-08 10:29:00";
        entry.quote = quote;
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::string originText(const Rect& frame) {
    return SelfTestReport::format("origin=(%.0f, %.0f)", frame.x, frame.y);
}

} // namespace glimmer::SelfTestWindows
